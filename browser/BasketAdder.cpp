#include "browser/BasketAdder.h"

#include "core/AppError.h"
#include "core/Globals.h"
#include "core/fileinfo/clsFileInfo.h"
#include "core/modFileSystem.h"
#include "engine/batch/BasketRows.h"
#include "engine/batch/ProgressIndicator.h"
#include "engine/loading/LoadFailure.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/gdiplus/modGDIPlus.h"
#include "platform/imagebox/FreeImageCodec.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/TiffCodec.h"
#include "platform/imagebox/TiffPageCopy.h"
#include "platform/imagebox/WholeFileWriter.h"

#include <FreeImage.h>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

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

// A file larger than this is not split.
constexpr qint64 MaxSplitBytes = qint64(1) << 30;

// A thumbnail from a picture many times the size of the box is first averaged
// down to four times the box: the bicubic redraw then gives nearly the same
// thumbnail at a small part of its cost.
QImage reducedForThumbnail(const QImage& page, int boxWidth, int boxHeight) {
    const int w = 4 * std::max(1, boxWidth);
    const int h = 4 * std::max(1, boxHeight);
    if (page.width() <= 2 * w && page.height() <= 2 * h)
        return page;
    return page.scaled(w, h, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// One page of a TIFF, made off the window thread.
struct MadePage {
    QByteArray file;  // the page file's bytes
    QImage thumbnail; // null: no thumbnail could be made
    QSize size;
    std::exception_ptr error;
    bool done = false;
};

// The page file is the page as stored (`copied`, made by the split's one walk over
// the pages); a page laid out in a way that cannot be copied undecoded (`copied`
// empty) is decoded and written as the exact TIFF a box writes. The thumbnail
// comes from a decode straight into a small picture where the layout allows, else
// from the whole page.
MadePage makePage(const QByteArray& copied, const QByteArray& tiff, int page, int boxWidth,
                  int boxHeight) {
    MadePage made;
    QImage whole;
    made.file = copied;
    if (made.file.isEmpty()) {
        whole = imagebox::decodeWithFreeImage(tiff, FIF_TIFF, page - 1);
        made.file = imagebox::encodeTiff(whole, imagebox::TiffNone, true);
    }
    made.size = whole.isNull() ? imagebox::tiffPageSize(made.file, 0) : whole.size();
    QImage picture = imagebox::reducedTiffPage(made.file, 0, 4 * std::max(1, boxWidth),
                                               4 * std::max(1, boxHeight));
    if (picture.isNull()) {
        if (whole.isNull())
            whole = imagebox::decodeWithFreeImage(made.file, FIF_TIFF, 0);
        picture = reducedForThumbnail(whole, boxWidth, boxHeight);
    }
    made.thumbnail =
        fncResizePictureGDIPlus(picture, picture.width(), picture.height(), picturetype::Bitmap,
                                boxWidth, boxHeight, sizemode::Box, White, true);
    return made;
}

// Makes the pages of one file on several threads, a bounded number ahead of the
// page the window thread takes next, so a long file never piles up in memory. The
// pages are copied out of the file in page order by one walk over its
// directories (a short step, taken in turn); the thumbnails are made in parallel.
class PageMaker {
public:
    PageMaker(const QByteArray& tiff, int pages, int boxWidth, int boxHeight)
        : tiff_(tiff), walk_(tiff), pages_(size_t(pages)), boxWidth_(boxWidth),
          boxHeight_(boxHeight) {
        const int threads = std::clamp(QThread::idealThreadCount(), 1, pages);
        ahead_ = 2 * threads;
        for (int i = 0; i < threads; ++i)
            threads_.emplace_back([this] { work(); });
    }
    ~PageMaker() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }
    PageMaker(const PageMaker&) = delete;
    PageMaker& operator=(const PageMaker&) = delete;

    // Page `page` (1-based), waiting for it while `pump` lets events run; a
    // failure of that page is raised here.
    MadePage take(int page, const std::function<void()>& pump) {
        std::unique_lock lock(mutex_);
        MadePage& slot = pages_[size_t(page - 1)];
        while (!slot.done) {
            if (pump) {
                lock.unlock();
                pump();
                lock.lock();
                done_.wait_for(lock, std::chrono::milliseconds(10), [&] { return slot.done; });
            } else {
                done_.wait(lock, [&] { return slot.done; });
            }
        }
        MadePage made = std::move(slot);
        slot = MadePage();
        taken_ = page;
        wake_.notify_all();
        if (made.error)
            std::rethrow_exception(made.error);
        return made;
    }

private:
    void work() {
        for (;;) {
            int page = 0;
            std::unique_lock copying(copyMutex_, std::defer_lock);
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] {
                    return stop_ || next_ > int(pages_.size()) || next_ <= taken_ + ahead_;
                });
                if (stop_ || next_ > int(pages_.size()))
                    return;
                page = next_++;
                // Taken before the next page is handed out: the copies go in order.
                copying.lock();
            }
            MadePage made;
            try {
                QByteArray copied = walk_.copy(page - 1);
                copying.unlock();
                made = makePage(copied, tiff_, page, boxWidth_, boxHeight_);
            } catch (...) {
                if (copying.owns_lock())
                    copying.unlock();
                made = MadePage();
                made.error = std::current_exception();
            }
            made.done = true;
            std::lock_guard lock(mutex_);
            pages_[size_t(page - 1)] = std::move(made);
            done_.notify_all();
        }
    }

    const QByteArray tiff_;
    imagebox::TiffPageWalk walk_;
    std::mutex copyMutex_;
    std::vector<MadePage> pages_;
    const int boxWidth_, boxHeight_;
    int ahead_ = 1;
    int next_ = 1;
    int taken_ = 0;
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
};

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

bool BasketAdder::cancelRequested() {
    if (CancelOperation)
        cancelled_ = true;
    return cancelled_;
}

// A split of many pages shows the wait dialog, whose Cancel stops the add after
// the page it is on; the pages added so far stay.
BasketAdder::SplitWait::SplitWait(BasketAdder& adder, int pages, Mode mode) {
    if (mode == Mode::BasketFile || pages < WaitDialogPages || !adder.waitDialog)
        return;
    wait_ = adder.waitDialog();
    if (wait_) {
        wait_->showWaiting();
        wait_->progress().setMaximum(pages);
        wait_->progress().setValue(0);
        wait_->progress().setVisible(true);
    }
}

BasketAdder::SplitWait::~SplitWait() {
    if (wait_)
        wait_->closeWaiting();
}

void BasketAdder::SplitWait::page(int page) {
    if (wait_)
        wait_->progress().setValue(page);
}

bool BasketAdder::add(const std::vector<BasketSource>& sources, int listRows, Mode mode) {
    if (running_)
        return false;
    RunningScope scope(running_);
    cancelled_ = false;
    const int count = static_cast<int>(sources.size());
    for (int i = 0; i < count; ++i) {
        const BasketSource& source = sources[static_cast<size_t>(i)];
        if (pumpEvents)
            pumpEvents();
        if (cancelRequested())
            break;
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
    if (cancelled_)
        CancelOperation = false;
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

void BasketAdder::splitStatus(const BasketSource& source, int page, int pages, Mode mode) const {
    if (mode != Mode::BasketFile && status)
        status(QStringLiteral("Please wait... extracting multipage %1 - '%2' Pages %3 of %4")
                   .arg(mode == Mode::Command ? QStringLiteral("file") : QStringLiteral("document"))
                   .arg(source.row.text)
                   .arg(page)
                   .arg(pages));
}

void BasketAdder::split(const BasketSource& source, int pages, Mode mode) {
    const QByteArray bytes = imagebox::readWholeFile(source.row.tag, MaxSplitBytes);
    if (imagebox::freeImageFormatOf(bytes) == FIF_TIFF) {
        // The same structure check a TIFF load makes, once for every page.
        imagebox::checkTiffBytes(bytes);
        return splitTiff(source, bytes, std::min(pages, imagebox::tiffPageCount(bytes)), mode);
    }
    const bool shown = mode != Mode::BasketFile;
    if (shown)
        report(pages, 0);
    SplitWait wait(*this, pages, mode);
    int last = 0;
    for (int page = 1; page <= pages; ++page) {
        if (pumpEvents)
            pumpEvents();
        if (cancelRequested())
            break;
        splitStatus(source, page, pages, mode);
        if (const int added = addPage(source, page, mode))
            last = added;
        if (shown)
            report(pages, page);
        wait.page(page);
    }
    if (mode == Mode::Drop && last && fileAdded)
        fileAdded(last);
}

// The pages of a TIFF, made ahead on other threads and added here in page order.
// A page without a thumbnail gets no row (and no file); the source's EXIF and IPTC
// go into every page file, as a box that loaded the page would write them.
void BasketAdder::splitTiff(const BasketSource& source, const QByteArray& tiff, int pages,
                            Mode mode) {
    const bool shown = mode != Mode::BasketFile;
    if (shown)
        report(pages, 0);
    ImageMetadata metadata;
    metadata.readFrom(source.row.tag);
    const auto withMetadata = [&](const QString& finished) {
        if (!metadata.isEmpty())
            metadata.writeInto(finished);
    };
    SplitWait wait(*this, pages, mode);
    PageMaker maker(tiff, pages, thumbnailWidth, thumbnailHeight);
    const QString name = displayName(source.row.text, mode);
    int last = 0;
    for (int page = 1; page <= pages; ++page) {
        if (pumpEvents)
            pumpEvents();
        if (cancelRequested())
            break;
        splitStatus(source, page, pages, mode);
        const MadePage made = maker.take(page, pumpEvents);
        if (!made.thumbnail.isNull()) {
            const QString path = pageFiles.write(made.file, source.row.text, page, withMetadata);
            clsFileInfo& info = FileInfo();
            info.setFilePath(path);
            BasketRow row;
            row.Text = mode != Mode::Drop ? name + QString::number(page)
                                          : QStringLiteral("%1(%2)").arg(name).arg(page);
            row.Tag = path;
            row.SubItems = {sizeText(made.size.width(), made.size.height()), info.fSizeFormated(0),
                            info.fType(), source.row.tag};
            last = addRow(row, made.thumbnail);
        }
        if (shown)
            report(pages, page);
        wait.page(page);
    }
    if (mode == Mode::Drop && last && fileAdded)
        fileAdded(last);
}

// One page of a file that is not a TIFF: decoded once into the working box,
// written once as an exact TIFF. The command takes the thumbnail from the decoded
// page and skips a page without one before writing; the drop measures the written
// file and deletes it when it gives no thumbnail. Returns the added row, 0 for a
// skipped page.
int BasketAdder::addPage(const BasketSource& source, int page, Mode mode) {
    ImageBox& box = *pages_;
    box.setPageIndex(page);
    box.LoadFromFile(source.row.tag);
    QImage thumbnail;
    QString resolution;
    QString path;
    if (mode != Mode::Drop) {
        const QImage picture = reducedForThumbnail(box.Picture(), thumbnailWidth, thumbnailHeight);
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
