#include "engine/loading/LoadFailure.h"
#include "core/AppError.h"
#include "core/RegularFile.h"
#include "core/modFileSystem.h"
#include "engine/loading/LoadRoutes.h"
#include "platform/imagebox/ImageFileCheck.h"

#include <FreeImage.h>
#include <QFile>
#include <QLoggingCategory>
#include <new>

namespace picbasket {

namespace {

Q_LOGGING_CATEGORY(decoderLog, "picbasket.decoder")

QString damagedReason(const QString& path, int32_t content) {
    if (!imagebox::hasImageCheck(content))
        return {};
    QFile file(path);
    QString why;
    if (!openRegularFile(file, &why))
        return why;
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

// A decoder that found damage says so in its library's own words ("TIFFReadRawStrip:
// Read error at scanline ..."), which tell a user nothing: the reason says what it
// means, and the library's words go to the log beside the error reports.
QString plainDecoderWords(const QString& path, const QString& words) {
    if (!words.contains(QStringLiteral("damaged"), Qt::CaseInsensitive))
        return words;
    qCWarning(decoderLog).noquote() << path << ":" << words;
    return QStringLiteral("The file is damaged: its image data is cut short or garbled.");
}

} // namespace

QString fncLoadFailureReason(const QString& path, const QString& fallback) {
    QFile file(path);
    QString why;
    if (!openRegularFile(file, &why))
        return why;
    const qint64 size = file.size();
    file.close();
    if (size == 0)
        return QStringLiteral("The file is empty.");
    const int32_t content = fncContentFormatOfFile(path);
    if (chooseLoadRoute(content, fncGetFileExtension(path).toLower()) == LoadRoute::Nothing)
        return QStringLiteral("Its content is no image format this program reads.");
    const QString damaged = damagedReason(path, content);
    if (!damaged.isEmpty())
        return damaged;
    if (!fallback.trimmed().isEmpty())
        return plainDecoderWords(path, fallback.trimmed());
    return QStringLiteral("No decoder could read it: the file is damaged or of a kind this "
                          "program does not read.");
}

} // namespace picbasket
