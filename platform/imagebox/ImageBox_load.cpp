// Loading for a view: the reduced picture shown at once, the full decode on the
// box's load thread, taken by the first member that needs the pixels.
#include "platform/imagebox/ImageBox.h"

#include "core/AppError.h"
#include "platform/imagebox/ExifOrientation.h"
#include "platform/imagebox/FreeImageCodec.h"
#include "platform/imagebox/JpegDecode.h"
#include "platform/imagebox/WholeFileWriter.h"

#include <FreeImage.h>
#include <QRunnable>
#include <QThreadPool>
#include <condition_variable>
#include <exception>
#include <mutex>

namespace picbasket {

using namespace imagebox;

namespace {

constexpr qint64 MaxFileBytes = qint64(1) << 30;

// A reduced decode only pays when the file is this many times the view (each
// way); below it the full decode is taken at once.
constexpr int ReduceFactor = 2;

// One thread for every box: a click on another row discards the load before, so
// at most one decode that is still wanted waits for it.
QThreadPool& loadThread() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(1);
        p->setExpiryTimeout(-1);
        return p;
    }();
    return *pool;
}

} // namespace

// Shared by the box and the decode task. `claimed` is set by whoever decodes:
// the load thread, or the box itself when it needs the image before the thread
// got to it. `discarded` tells the thread to leave the box alone: set when the box
// drops the load and when it has taken the result (the box may be gone by the time
// the thread looks again).
struct ImageBox::PendingLoad {
    QString path;
    QByteArray bytes;
    int orientation = 1;
    QImage reduced;
    QSize fullSize;
    std::mutex mutex;
    std::condition_variable done;
    bool claimed = false;
    bool finished = false;
    bool discarded = false;
    QImage full;
    std::exception_ptr error;

    void decode() {
        QImage image;
        std::exception_ptr failure;
        try {
            image = decodeColourJpeg(bytes);
            if (image.isNull())
                image = decodeWithFreeImage(bytes, FIF_JPEG, 0);
            image = orientUpright(image, orientation);
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(mutex);
        full = image;
        error = failure;
        finished = true;
        bytes.clear();
        done.notify_all();
    }
};

void ImageBox::LoadFromFileForView(const QString& path, int fitWidth, int fitHeight) {
    QSize fullSize;
    QImage reduced;
    QByteArray bytes;
    try {
        if (pageIndex_ != 1 || fitWidth < 1 || fitHeight < 1)
            return LoadFromFile(path);
        bytes = readWholeFile(path, MaxFileBytes);
        if (freeImageFormatOf(bytes) != FIF_JPEG)
            return LoadFromFile(path);
        reduced = decodeReducedJpeg(bytes, ReduceFactor * std::max(fitWidth, fitHeight), fullSize);
    } catch (const AppError&) {
        loadedFlag_ = true;
        throw;
    } catch (const std::bad_alloc&) {
        loadedFlag_ = true;
        raiseError(err::Unexpected, "Not enough memory for the image");
    }
    // The reduced picture, the full decode and the full size are all turned upright
    // by the photo's EXIF Orientation, so the view, the full image and every size agree.
    const int orientation = storedOrientation(bytes);
    reduced = orientUpright(reduced, orientation);
    if (orientationSwapsSides(orientation))
        fullSize.transpose();
    if (reduced.size() == fullSize) {
        loadedFlag_ = false;
        replaceImage(reduced);
        readMetadataFrom(path);
        return;
    }
    discardPending();
    auto pending = std::make_shared<PendingLoad>();
    pending->path = path;
    pending->bytes = bytes;
    pending->orientation = orientation;
    pending->reduced = reduced;
    pending->fullSize = fullSize;
    image_ = QImage();
    reducedView_ = reduced;
    reducedViewOf_ = 0;
    pending_ = pending;
    loadedFlag_ = false;
    loadThread().start(QRunnable::create([pending, this] {
        {
            std::lock_guard lock(pending->mutex);
            if (pending->claimed || pending->discarded)
                return;
            pending->claimed = true;
        }
        pending->decode();
        // Under the lock a box that discarded the load is never touched; one that
        // did not is still alive, since its destructor discards first.
        std::lock_guard lock(pending->mutex);
        if (!pending->discarded)
            QMetaObject::invokeMethod(
                this,
                [this, pending] {
                    if (pending_ == pending) {
                        settle();
                        tellSettled();
                    }
                },
                Qt::QueuedConnection);
    }));
    emit displayChanged();
    readMetadataFrom(path);
}

void ImageBox::settle() const {
    const std::shared_ptr<PendingLoad> pending = pending_;
    if (!pending)
        return;
    bool decodeHere = false;
    {
        std::lock_guard lock(pending->mutex);
        if (!pending->claimed)
            decodeHere = pending->claimed = true;
    }
    if (decodeHere)
        pending->decode();
    std::unique_lock lock(pending->mutex);
    pending->done.wait(lock, [&] { return pending->finished; });
    // The thread looks at the flag once more, after the decode, before it posts to
    // the box: the result is taken, and the box may be deleted right after.
    pending->discarded = true;
    auto* self = const_cast<ImageBox*>(this);
    self->pending_.reset();
    self->settledFile_ = pending->path;
    self->settledImage_ = pending->error ? QImage() : pending->full;
    self->settledUntold_ = true;
    const qint64 before = image_.cacheKey();
    self->image_ = pending->error ? QImage() : pending->full;
    self->loadedFlag_ = bool(pending->error);
    if (pending->error)
        self->reducedView_ = QImage();
    self->reducedViewOf_ = image_.cacheKey();
    // Figures drawn while the load ran stay on the image it brought.
    if (overlayImageKey_ == before)
        self->overlayImageKey_ = image_.cacheKey();
    lock.unlock();
    // Members that settle are getters and paint too: the views and listeners hear
    // of it from the event loop (or from WaitForLoad, should it come first), and
    // only while nothing has taken this load's place.
    const quint64 serial = self->loadSerial_;
    QMetaObject::invokeMethod(
        self,
        [self, serial] {
            if (self->loadSerial_ == serial)
                self->tellSettled();
        },
        Qt::QueuedConnection);
}

void ImageBox::WaitForLoad() {
    settle();
    tellSettled();
}

void ImageBox::tellSettled() {
    if (!settledUntold_)
        return;
    settledUntold_ = false;
    emit displayChanged();
    emit loadSettled();
    // The image as loaded is kept for the notice only: an edit since then must not
    // make the box hold two copies.
    settledImage_ = QImage();
}

void ImageBox::discardPending() {
    if (pending_) {
        std::lock_guard lock(pending_->mutex);
        pending_->discarded = true;
    }
    ++loadSerial_;
    settledUntold_ = false;
    settledFile_.clear();
    settledImage_ = QImage();
    pending_.reset();
    reducedView_ = QImage();
    reducedViewOf_ = 0;
}

QSize ImageBox::heldSize() const {
    return pending_ ? pending_->fullSize : image_.size();
}

const QImage& ImageBox::displayImage(const QSize& shown) const {
    const bool reducedShows = !reducedView_.isNull() && shown.width() <= reducedView_.width() &&
                              shown.height() <= reducedView_.height();
    if (pending_ && reducedShows)
        return reducedView_;
    settle();
    if (reducedShows && image_.cacheKey() == reducedViewOf_)
        return reducedView_;
    return image_;
}

} // namespace picbasket
