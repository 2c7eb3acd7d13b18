#include "engine/batch/BatchMemoryBudget.h"
#include "core/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <unistd.h>

namespace picbasket {

namespace {

// A row's peak while it is encoded, per pixel, besides its decoded picture: the
// encoder's copy of the samples (4 bytes a channel), its tile buffers, code-blocks
// and output. One 48-megapixel RGB photo converted alone peaks at about 1.4 GiB,
// some 30 bytes a pixel with its picture.
constexpr int64_t encoderBytesPerPixel = 26;
// A file whose header tells no size: uncompressed samples of 3 bytes a pixel.
constexpr int64_t fileBytesPerPixel = 3;

int64_t g_budget = 0;
BatchRowEstimate g_estimate;
std::mutex g_peakMutex;
BatchRunPeak g_lastPeak;

int64_t physicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return int64_t(4) << 30; // unknown: count on 4 GiB
    return int64_t(pages) * int64_t(pageSize);
}

int decodedBytesPerPixel(QImage::Format format) {
    return QImage::toPixelFormat(format).bitsPerPixel() > 32 ? 8 : 4;
}

} // namespace

bool BatchMemoryBudget::tryTake(int64_t estimate) {
    std::lock_guard lock(mutex_);
    if (rows_ > 0 && held_ + estimate > bytes_)
        return false;
    hold(estimate);
    return true;
}

void BatchMemoryBudget::take(int64_t estimate) {
    std::lock_guard lock(mutex_);
    hold(estimate);
}

void BatchMemoryBudget::hold(int64_t estimate) {
    held_ += estimate;
    ++rows_;
    peakRows_ = std::max(peakRows_, rows_);
    peakBytes_ = std::max(peakBytes_, held_);
}

void BatchMemoryBudget::give(int64_t estimate) {
    std::lock_guard lock(mutex_);
    held_ -= estimate;
    --rows_;
}

int BatchMemoryBudget::peakRows() const {
    std::lock_guard lock(mutex_);
    return peakRows_;
}

int64_t BatchMemoryBudget::peakBytes() const {
    std::lock_guard lock(mutex_);
    return peakBytes_;
}

int64_t fncBatchRowEstimate(QSize size, int decodedBytesPerPixel) {
    const int64_t pixels = int64_t(std::max(size.width(), 1)) * std::max(size.height(), 1);
    return pixels * (decodedBytesPerPixel + encoderBytesPerPixel);
}

int64_t fncBatchRowEstimate(const QImage& picture) {
    return fncBatchRowEstimate(picture.size(), decodedBytesPerPixel(picture.format()));
}

int64_t fncBatchRowEstimate(const QString& path) {
    // The header only: no pixels are decoded here.
    QFile file(path);
    if (!openRegularFile(file))
        return fncBatchRowEstimate(QSize(1, 1), 4);
    QImageReader reader(&file, QFileInfo(path).suffix().toLower().toLatin1());
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty())
        return fncBatchRowEstimate(size, decodedBytesPerPixel(reader.imageFormat()));
    const int64_t pixels = std::max<int64_t>(QFileInfo(path).size() / fileBytesPerPixel, 1);
    return fncBatchRowEstimate(QSize(int(std::min<int64_t>(pixels, INT32_MAX)), 1), 4);
}

int64_t fncBatchMemoryBudget() {
    return g_budget > 0 ? g_budget : physicalMemory() / 8;
}

int64_t setBatchMemoryBudget(int64_t bytes) {
    std::swap(bytes, g_budget);
    return bytes;
}

BatchRowEstimate setBatchRowEstimate(BatchRowEstimate estimate) {
    std::swap(estimate, g_estimate);
    return estimate;
}

int64_t fncEstimateOfRow(const BasketRow& row) {
    return g_estimate ? g_estimate(row) : fncBatchRowEstimate(row.Tag);
}

int64_t fncEstimateOfLoadedRow(const BasketRow& row, const QImage& picture) {
    return g_estimate ? g_estimate(row) : fncBatchRowEstimate(picture);
}

BatchRunPeak fncLastBatchRunPeak() {
    std::lock_guard lock(g_peakMutex);
    return g_lastPeak;
}

void setLastBatchRunPeak(const BatchRunPeak& peak) {
    std::lock_guard lock(g_peakMutex);
    g_lastPeak = peak;
}

} // namespace picbasket
