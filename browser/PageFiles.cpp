#include "browser/PageFiles.h"

#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/WholeFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

namespace picbasket {

namespace {

// 9,999 names per page; a folder that full is no state to wait out.
constexpr int MaxDraws = 100000;

} // namespace

PageFiles::PageFiles(QString folder)
    : random([] { return QRandomGenerator::global()->generateDouble(); }),
      folder_(std::move(folder)) {}

QString PageFiles::nameFor(const QString& fileName, int page, double draw) {
    const auto part = static_cast<int>(std::floor(9999 * std::clamp(draw, 0.0, 0.9999999)));
    return QStringLiteral("%1%2_%3.tif").arg(fileName).arg(page).arg(part);
}

QString PageFiles::write(ImageBox& box, const QString& fileName, int page) const {
    return writeNew(fileName, page, [&](const QString& path) { return box.SaveExactTiff(path); });
}

QString PageFiles::write(const QByteArray& tiff, const QString& fileName, int page,
                         const std::function<void(const QString&)>& beforeCommit) const {
    return writeNew(fileName, page, [&](const QString& path) {
        try {
            return imagebox::writeNewFile(path, tiff, beforeCommit);
        } catch (const AppError& error) {
            raiseError(err::Unexpected, error.description());
        }
    });
}

QString PageFiles::writeNew(const QString& fileName, int page,
                            const std::function<bool(const QString& path)>& create) const {
    const QDir dir(folder_);
    for (int draw = 0; draw < MaxDraws; ++draw) {
        const QString path = dir.filePath(nameFor(fileName, page, random()));
        if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
            continue;
        if (create(path))
            return path;
    }
    raiseError(err::Unexpected, QStringLiteral("There is no free name for page %1 of %2 in %3")
                                    .arg(page)
                                    .arg(fileName, folder_));
}

} // namespace picbasket
