#include "browser/BasketAdder.h"

#include "core/AppError.h"
#include "core/fileinfo/clsFileInfo.h"
#include "core/modFileSystem.h"
#include "engine/batch/BasketRows.h"
#include "engine/loading/LoadFailure.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/gdiplus/modGDIPlus.h"
#include "platform/imagebox/ImageBox.h"

#include <QFile>
#include <algorithm>

namespace picbasket {

namespace {

constexpr uint32_t White = 0xFFFFFF;

// Folder-row sub-items: 1 resolution, 2 size, 3 pages, 4 type.
const QString& resolutionOf(const FolderRow& row) {
    return row.subItems[0];
}

int pagesOf(const FolderRow& row) {
    bool ok = false;
    const int pages = row.subItems[2].trimmed().toInt(&ok);
    return ok ? pages : 1;
}

QString sizeText(int width, int height) {
    return QStringLiteral("%1 X %2").arg(width).arg(height);
}

// A row's name: the file name without its extension, except in a reopened basket,
// whose rows keep the whole file name ("a.jpg", pages "scan.tif1").
QString displayName(const QString& fileName, BasketAdder::Mode mode) {
    return mode == BasketAdder::Mode::BasketFile ? fileName : fncStripFileExtension(fileName);
}

// Clears the running flag on every way out of an add.
struct RunningScope {
    explicit RunningScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningScope() { flag_ = false; }
    bool& flag_;
};

} // namespace

BasketAdder::BasketAdder() : pages_(std::make_unique<ImageBox>()) {}

BasketAdder::~BasketAdder() = default;

int BasketAdder::pageCountOf(const QString& path) const {
    return pages_->PageCountOfFile(path);
}

void BasketAdder::report(int maximum, int value) const {
    if (progress)
        progress(maximum, value);
}

bool BasketAdder::add(const std::vector<BasketSource>& sources, int listRows, Mode mode) {
    if (running_)
        return false;
    RunningScope scope(running_);
    const int count = static_cast<int>(sources.size());
    for (int i = 0; i < count; ++i) {
        const BasketSource& source = sources[static_cast<size_t>(i)];
        if (pumpEvents)
            pumpEvents();
        const int shown = mode == Mode::Command ? source.position : i + 1;
        const int maximum = mode == Mode::Command ? listRows : count;
        if (mode != Mode::BasketFile && inBasket && inBasket(source.row.tag)) {
            report(maximum, shown);
            continue;
        }
        const int pages = pagesOf(source.row);
        if (mode == Mode::Command && status)
            status(QStringLiteral("Adding file to basket - '%1'").arg(source.row.text));
        addFile(source, pages, mode);
        if (mode != Mode::BasketFile)
            report(maximum, shown);
    }
    return true;
}

// A file that fails part way keeps the pages it gave; the rest of it is named with the
// decoder's words.
void BasketAdder::addFile(const BasketSource& source, int pages, Mode mode) {
    try {
        if (pages > 1)
            split(source, pages, mode);
        else
            addSingle(source, mode);
    } catch (const AppError& error) {
        if (!notAdded)
            throw;
        notAdded(source.row.tag, fncLoadFailureReason(source.row.tag, error.description()));
    }
}

// The folder thumbnail is scaled when the folder list has one; otherwise the file is
// loaded at the basket box, which also measures it.
void BasketAdder::addSingle(const BasketSource& source, Mode mode) {
    const FolderRow& folderRow = source.row;
    int32_t width = 0;
    int32_t height = 0;
    QImage thumbnail;
    if (!folderRow.thumbnail.isNull())
        thumbnail = fncResizePictureGDIPlus(
            folderRow.thumbnail, folderRow.thumbnail.width(), folderRow.thumbnail.height(),
            picturetype::Bitmap, thumbnailWidth, thumbnailHeight, sizemode::Box, White, true);
    else
        thumbnail = LoadPic(folderRow.tag, sizemode::Box, thumbnailWidth, thumbnailHeight, White,
                            width, height);
    if (thumbnail.isNull()) {
        if (notAdded)
            notAdded(folderRow.tag, fncLoadFailureReason(folderRow.tag));
        return;
    }
    QString resolution = resolutionOf(folderRow);
    if (resolution.trimmed().isEmpty() && width > 0 && height > 0) {
        resolution = sizeText(width, height);
        if (mode != Mode::BasketFile && fillResolution)
            fillResolution(folderRow.tag, resolution);
    }
    BasketRow row;
    row.Text = displayName(folderRow.text, mode);
    row.Tag = folderRow.tag;
    row.SubItems = {resolution, folderRow.subItems[1], folderRow.subItems[3], folderRow.tag};
    const int added = addRow(row, thumbnail);
    if (mode == Mode::Drop && fileAdded)
        fileAdded(added);
}

void BasketAdder::split(const BasketSource& source, int pages, Mode mode) {
    const bool shown = mode != Mode::BasketFile;
    if (shown)
        report(pages, 0);
    int last = 0;
    for (int page = 1; page <= pages; ++page) {
        if (pumpEvents)
            pumpEvents();
        if (shown && status)
            status(QStringLiteral("Please wait... extracting multipage %1 - '%2' Pages %3 of %4")
                       .arg(mode == Mode::Command ? QStringLiteral("file")
                                                  : QStringLiteral("document"))
                       .arg(source.row.text)
                       .arg(page)
                       .arg(pages));
        if (const int added = addPage(source, page, mode))
            last = added;
        if (shown)
            report(pages, page);
    }
    if (mode == Mode::Drop && last && fileAdded)
        fileAdded(last);
}

// One page: decoded once into the working box, written once as an exact TIFF. The
// command takes the thumbnail from the decoded page and skips a page without one
// before writing; the drop measures the written file and deletes it when it gives
// no thumbnail. Returns the added row, 0 for a skipped page.
// A page many times the size of the box (a scanned A4 page is 200 times a 40-pixel box)
// is first averaged down to four times the box: the bicubic redraw then gives nearly
// the same thumbnail at a small part of its cost.
QImage BasketAdder::reducedForThumbnail(const QImage& page) const {
    const int w = 4 * std::max(1, thumbnailWidth);
    const int h = 4 * std::max(1, thumbnailHeight);
    if (page.width() <= 2 * w && page.height() <= 2 * h)
        return page;
    return page.scaled(w, h, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

int BasketAdder::addPage(const BasketSource& source, int page, Mode mode) {
    ImageBox& box = *pages_;
    box.setPageIndex(page);
    box.LoadFromFile(source.row.tag);
    QImage thumbnail;
    QString resolution;
    QString path;
    if (mode != Mode::Drop) {
        const QImage picture = reducedForThumbnail(box.Picture());
        thumbnail =
            fncResizePictureGDIPlus(picture, picture.width(), picture.height(), picturetype::Bitmap,
                                    thumbnailWidth, thumbnailHeight, sizemode::Box, White, true);
        if (thumbnail.isNull())
            return 0;
        path = pageFiles.write(box, source.row.text, page);
        resolution = sizeText(box.ImageWidth(), box.ImageHeight());
    } else {
        path = pageFiles.write(box, source.row.text, page);
        int32_t width = 0;
        int32_t height = 0;
        thumbnail =
            LoadPic(path, sizemode::Box, thumbnailWidth, thumbnailHeight, White, width, height);
        if (thumbnail.isNull()) {
            QFile::remove(path);
            return 0;
        }
        resolution = sizeText(width, height);
    }
    clsFileInfo& info = FileInfo();
    info.setFilePath(path);
    BasketRow row;
    const QString name = displayName(source.row.text, mode);
    row.Text = mode != Mode::Drop ? name + QString::number(page)
                                  : QStringLiteral("%1(%2)").arg(name).arg(page);
    row.Tag = path;
    row.SubItems = {resolution, info.fSizeFormated(0), info.fType(), source.row.tag};
    return addRow(row, thumbnail);
}

} // namespace picbasket
