#include "engine/loading/LoadFailure.h"
#include "core/AppError.h"
#include "core/modFileSystem.h"
#include "engine/loading/LoadRoutes.h"
#include "platform/imagebox/ImageFileCheck.h"

#include <FreeImage.h>
#include <QFile>
#include <QFileInfo>
#include <new>

namespace picbasket {

namespace {

QString damagedReason(const QString& path, int32_t content) {
    if (!imagebox::hasImageCheck(content))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    try {
        imagebox::checkImageBytes(file.readAll(), content);
        return {};
    } catch (const AppError& error) {
        // The check's own words mostly say "damaged" already.
        const QString words = error.description().trimmed();
        if (words.contains(QStringLiteral("damaged"), Qt::CaseInsensitive))
            return words;
        return QStringLiteral("The file is damaged: ") + words;
    } catch (const std::bad_alloc&) {
        return QStringLiteral("The file is too large to be read.");
    }
}

} // namespace

QString fncLoadFailureReason(const QString& path, const QString& fallback) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("The file does not exist.");
    if (info.isDir())
        return QStringLiteral("It is a folder.");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("It cannot be opened: ") + file.errorString();
    file.close();
    if (info.size() == 0)
        return QStringLiteral("The file is empty.");
    const int32_t content = FreeImage_GetFileType(QFile::encodeName(path).constData(), 0);
    if (chooseLoadRoute(content, fncGetFileExtension(path).toLower()) == LoadRoute::Nothing)
        return QStringLiteral("Its content is no image format this program reads.");
    const QString damaged = damagedReason(path, content);
    if (!damaged.isEmpty())
        return damaged;
    if (!fallback.trimmed().isEmpty())
        return fallback.trimmed();
    return QStringLiteral("No decoder could read it: the file is damaged or of a kind this "
                          "program does not read.");
}

} // namespace picbasket
