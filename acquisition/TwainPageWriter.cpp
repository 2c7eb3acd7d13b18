#include "acquisition/TwainPageWriter.h"

#include "core/AppError.h"
#include "platform/imagebox/ColorFormatCopy.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/TiffCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace picbasket {

namespace {

// Enough draws to find a free name among 9999 unless the folder is nearly full.
constexpr int MaxDraws = 1000;

void makeFolder(const QString& folder) {
    if (!QDir().mkpath(folder))
        raiseError(err::PathNotFound, QStringLiteral("The folder %1 cannot be created").arg(folder));
}

} // namespace

TwainPageWriter::TwainPageWriter()
    : random([] { return QRandomGenerator::global()->generateDouble(); }) {}

void TwainPageWriter::begin(const TwainDiskTarget& target) {
    target_ = target;
    target_.folder = target.folder.trimmed();
    lastNumber_ = 0;
    multipageFile_.clear();
}

QString TwainPageWriter::folderPath(const QString& name) const {
    return QDir(target_.folder).filePath(name);
}

QString TwainPageWriter::singlePagePath(int pageNumber) {
    const auto path = [&](int n) {
        return folderPath(target_.genericName + QString::number(n) + target_.extension);
    };
    if (target_.overwrite)
        return path(pageNumber);
    int n = std::max(pageNumber, lastNumber_ + 1);
    while (QFileInfo::exists(path(n)))
        ++n;
    lastNumber_ = n;
    return path(n);
}

QString TwainPageWriter::multipagePath() const {
    const QString first = folderPath(target_.genericName + target_.extension);
    if (target_.overwrite || !QFileInfo::exists(first))
        return first;
    for (int n = 2;; ++n) {
        const QString path =
            folderPath(target_.genericName + QStringLiteral("_%1").arg(n) + target_.extension);
        if (!QFileInfo::exists(path))
            return path;
    }
}

QString TwainPageWriter::writeToDisk(ImageBox& box, int pageNumber) {
    makeFolder(target_.folder);
    box.setTiffCompression(box.ColorFormat() == imagebox::Mono1 ? imagebox::TiffGroup4
                                                                : imagebox::TiffNone);
    if (!target_.multipage) {
        const QString path = singlePagePath(pageNumber);
        box.SaveToFile(path);
        return path;
    }
    if (pageNumber == 1) {
        multipageFile_ = multipagePath();
        box.SaveToFile(multipageFile_);
        return multipageFile_;
    }
    if (multipageFile_.isEmpty())
        raiseError(err::Unexpected, QStringLiteral("The multipage file was never started"));
    if (target_.extension.compare(QLatin1String(".pdf"), Qt::CaseInsensitive) == 0)
        box.AppendPagePdf(multipageFile_);
    else
        box.AppendPageTiff(multipageFile_);
    return multipageFile_;
}

QString TwainPageWriter::writeToBasket(ImageBox& box, int pageNumber, const QString& folder) {
    makeFolder(folder);
    for (int i = 0; i < MaxDraws; ++i) {
        const int draw = int(random() * 9999);
        const QString path =
            QDir(folder).filePath(QStringLiteral("%1_%2.tif").arg(pageNumber).arg(draw));
        if (!QFileInfo::exists(path) && box.SaveExactTiff(path))
            return path;
    }
    raiseError(err::Unexpected, QStringLiteral("No free name for a page file in %1").arg(folder));
}

} // namespace picbasket
