#include "platform/imagebox/edit/RowBands.h"

#include <QThread>
#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <vector>
#include <gtest/gtest.h>

using namespace picbasket::pixelops;

namespace {

// Counts how often each row was handed out and which threads ran bands.
struct Coverage {
    std::vector<std::atomic<int>> seen;
    std::mutex mutex;
    std::set<QThread*> threads;
    explicit Coverage(int rows) : seen(size_t(rows)) {}
    void take(int begin, int end) {
        for (int y = begin; y < end; ++y)
            ++seen[size_t(y)];
        std::lock_guard lock(mutex);
        threads.insert(QThread::currentThread());
    }
};

} // namespace

TEST(RowBands, EveryRowExactlyOnce) {
    struct Row {
        int rows;
        int64_t width;
        int threads;
        int64_t small;
    } rows[] = {{1, 1, 8, 0},       {2, 1, 8, 0},         {7, 1, 3, 0},
                {1000, 1, 8, 0},    {2999, 4001, 8, 250'000}, {3, 100, 64, 0},
                {100, 10, 1, 0},    {100, 10, 8, 1'000'000}};
    for (const Row& row : rows) {
        EditThreadLimit limit(row.threads, row.small);
        Coverage coverage(row.rows);
        forEachRowBand(row.rows, row.width, [&](int b, int e) { coverage.take(b, e); });
        for (int y = 0; y < row.rows; ++y)
            ASSERT_EQ(coverage.seen[size_t(y)].load(), 1) << row.rows << " rows, row " << y;
    }
}

TEST(RowBands, OneThreadOrASmallImageStaysOnTheCallingThread) {
    struct Row {
        const char* what;
        int threads;
        int64_t small;
    } rows[] = {{"limit 1", 1, 0}, {"small image", 8, 10'000'000}};
    for (const Row& row : rows) {
        EditThreadLimit limit(row.threads, row.small);
        Coverage coverage(500);
        forEachRowBand(500, 1000, [&](int b, int e) { coverage.take(b, e); });
        EXPECT_EQ(coverage.threads, std::set<QThread*>{QThread::currentThread()}) << row.what;
    }
}

TEST(RowBands, LimitsNestAndComeBack) {
    const int outer = EditThreadLimit::threads();
    EXPECT_GE(outer, 1);
    {
        EditThreadLimit one(1);
        EXPECT_EQ(EditThreadLimit::threads(), 1);
        {
            EditThreadLimit three(3, 0);
            EXPECT_EQ(EditThreadLimit::threads(), 3);
            EXPECT_EQ(EditThreadLimit::smallImagePixels(), 0);
        }
        EXPECT_EQ(EditThreadLimit::threads(), 1);
        EXPECT_EQ(EditThreadLimit::smallImagePixels(), DefaultSmallImagePixels);
    }
    EXPECT_EQ(EditThreadLimit::threads(), outer);
}

TEST(RowBands, ALimitSetOnOneThreadLeavesOthersAlone) {
    EditThreadLimit one(1);
    int seenElsewhere = 0;
    std::unique_ptr<QThread> other(QThread::create([&] { seenElsewhere = EditThreadLimit::threads(); }));
    other->start();
    other->wait();
    EXPECT_EQ(seenElsewhere, std::max(1, QThread::idealThreadCount()));
}

TEST(RowBands, BandsInsideABandStayOnItsThread) {
    EditThreadLimit limit(4, 0);
    std::atomic<int> spread{0};
    forEachRowBand(16, 1, [&](int, int) {
        QThread* here = QThread::currentThread();
        forEachRowBand(50, 1, [&](int, int) {
            if (QThread::currentThread() != here)
                ++spread;
        });
    });
    EXPECT_EQ(spread.load(), 0);
}

TEST(RowBands, AFailingBandIsReportedToTheCaller) {
    EditThreadLimit limit(4, 0);
    std::atomic<int> done{0};
    std::atomic<int> failed{0};
    EXPECT_THROW(forEachRowBand(64, 1,
                                [&](int b, int e) {
                                    if (b <= 40 && 40 < e) {
                                        failed = e - b;
                                        throw std::runtime_error("band failed");
                                    }
                                    done += e - b;
                                }),
                 std::runtime_error);
    // The other bands still ran to their end before the call returned.
    EXPECT_GT(failed.load(), 0);
    EXPECT_EQ(done.load() + failed.load(), 64);
}
