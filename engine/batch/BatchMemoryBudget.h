#pragma once
#include "engine/batch/BasketRows.h"

#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>
#include <mutex>

namespace picbasket {

// The memory the rows in flight of a batch run may hold together. Each row takes
// its estimate (fncBatchRowEstimate) before it starts and gives it back when its
// job ends, so large photos run fewer rows at once and small ones keep every core
// busy. A row always starts when no other row holds any memory: a photo larger
// than the whole budget is converted alone, never refused. Thread-safe: jobs give
// back on worker threads.
class BatchMemoryBudget {
public:
    explicit BatchMemoryBudget(int64_t bytes) : bytes_(bytes) {}

    // Takes the estimate when it fits beside what the rows hold now, or when no
    // row holds anything; false (and nothing taken) otherwise.
    bool tryTake(int64_t estimate);
    // Takes the estimate even when it passes the budget (a picture already loaded).
    void take(int64_t estimate);
    void give(int64_t estimate);

    int64_t bytes() const { return bytes_; }
    // The most rows and bytes held at once so far.
    int peakRows() const;
    int64_t peakBytes() const;

private:
    void hold(int64_t estimate); // with the mutex locked

    const int64_t bytes_;
    mutable std::mutex mutex_;
    int64_t held_ = 0;
    int rows_ = 0;
    int peakRows_ = 0;
    int64_t peakBytes_ = 0;
};

// What a row is expected to hold at its peak: its decoded picture and the
// encoder's working set, both in proportion to its pixels. The size comes from
// the file's header (the picture itself when the window thread loaded it); a file
// whose header tells no size counts as an uncompressed image of its length.
int64_t fncBatchRowEstimate(const QString& path);
int64_t fncBatchRowEstimate(const QImage& picture);
// The same for an image of that size (4 or 8 bytes per decoded pixel).
int64_t fncBatchRowEstimate(QSize size, int decodedBytesPerPixel);

// The budget of a run: an eighth of the physical memory, so that a batch leaves
// the rest of the machine room while it runs.
int64_t fncBatchMemoryBudget();

// Tests set a budget of their own (0 gives back the default) and a fake estimate
// (an empty one gives back the real); each returns the previous.
int64_t setBatchMemoryBudget(int64_t bytes);
using BatchRowEstimate = std::function<int64_t(const BasketRow& row)>;
BatchRowEstimate setBatchRowEstimate(BatchRowEstimate estimate);
// The estimate a run uses for a row before it is loaded, and for a row whose
// picture the window thread loaded: the installed fake, or the real one.
int64_t fncEstimateOfRow(const BasketRow& row);
int64_t fncEstimateOfLoadedRow(const BasketRow& row, const QImage& picture);

// What the last run held at most at once: rows in flight and their estimates.
struct BatchRunPeak {
    int rows = 0;
    int64_t bytes = 0;
};
BatchRunPeak fncLastBatchRunPeak();
void setLastBatchRunPeak(const BatchRunPeak& peak);

} // namespace picbasket
