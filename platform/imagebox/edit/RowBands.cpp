#include "platform/imagebox/edit/RowBands.h"

#include <QRunnable>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

namespace picbasket::pixelops {

namespace {

// 0 means no limit: every thread of the edit pool.
thread_local int limitThreads = 0;
thread_local int64_t limitSmallPixels = DefaultSmallImagePixels;

// A pool of its own, so edits never wait behind the batch's or Qt's own work.
QThreadPool& editPool() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        return p;
    }();
    return *pool;
}

// Bands are claimed one at a time by the caller and by the pool's helpers; a
// helper that starts after the last band was claimed leaves without touching
// `rows`, which may be gone by then.
struct BandRun {
    const std::function<void(int, int)>* rows = nullptr;
    int rowCount = 0;
    int bandCount = 0;
    std::atomic<int> nextBand{0};
    std::mutex mutex;
    std::condition_variable allDone;
    int bandsDone = 0;
    std::exception_ptr failure;

    void runBands() {
        for (int band = nextBand++; band < bandCount; band = nextBand++) {
            std::exception_ptr error;
            try {
                (*rows)(int(int64_t(rowCount) * band / bandCount),
                        int(int64_t(rowCount) * (band + 1) / bandCount));
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard lock(mutex);
            if (error && !failure)
                failure = error;
            if (++bandsDone == bandCount)
                allDone.notify_all();
        }
    }
};

void runOnPool(int rowCount, int threads, const std::function<void(int, int)>& rows) {
    auto run = std::make_shared<BandRun>();
    run->rows = &rows;
    run->rowCount = rowCount;
    // A few bands per thread even out rows of unequal cost.
    run->bandCount = std::min(rowCount, threads * 4);
    for (int i = 1; i < threads; ++i)
        editPool().start([run] {
            // A pixel loop inside a band stays on this helper thread.
            EditThreadLimit single(1);
            run->runBands();
        });
    {
        EditThreadLimit single(1);
        run->runBands();
    }
    std::unique_lock lock(run->mutex);
    run->allDone.wait(lock, [&] { return run->bandsDone == run->bandCount; });
    if (run->failure)
        std::rethrow_exception(run->failure);
}

} // namespace

EditThreadLimit::EditThreadLimit(int threads, int64_t smallImagePixels)
    : previousThreads_(limitThreads), previousSmall_(limitSmallPixels) {
    limitThreads = std::max(1, threads);
    limitSmallPixels = std::max<int64_t>(0, smallImagePixels);
}

EditThreadLimit::~EditThreadLimit() {
    limitThreads = previousThreads_;
    limitSmallPixels = previousSmall_;
}

int EditThreadLimit::threads() {
    return limitThreads == 0 ? editPool().maxThreadCount() : limitThreads;
}

int64_t EditThreadLimit::smallImagePixels() { return limitSmallPixels; }

void forEachRowBand(int rowCount, int64_t pixelsPerRow,
                    const std::function<void(int begin, int end)>& rows) {
    if (rowCount <= 0)
        return;
    const int threads = std::min(EditThreadLimit::threads(), rowCount);
    const bool small = int64_t(rowCount) * std::max<int64_t>(1, pixelsPerRow) <
                       EditThreadLimit::smallImagePixels();
    if (small || threads <= 1) {
        rows(0, rowCount);
        return;
    }
    runOnPool(rowCount, threads, rows);
}

} // namespace picbasket::pixelops
