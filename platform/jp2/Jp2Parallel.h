#pragma once
#include <algorithm>
#include <thread>
#include <vector>

namespace picbasket::jp2 {

// Runs rowJob(first, last) over [0, rows) in one chunk per hardware thread; the
// calling thread takes the first chunk. Jobs must touch only their own rows.
template <class Job> void forRowChunks(int rows, Job&& rowJob) {
    const int workers = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 16);
    const int chunk = std::max(1, (rows + workers - 1) / workers);
    std::vector<std::thread> threads;
    for (int first = chunk; first < rows; first += chunk)
        threads.emplace_back(
            [&rowJob, first, last = std::min(rows, first + chunk)] { rowJob(first, last); });
    rowJob(0, std::min(rows, chunk));
    for (auto& t : threads)
        t.join();
}

} // namespace picbasket::jp2
