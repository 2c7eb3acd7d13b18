#include "tests/fuzz/HangWatchdog.h"

#include <cstdio>
#include <cstdlib>

namespace picbasket::test {

HangWatchdog::HangWatchdog(std::string what, std::chrono::milliseconds budget)
    : what_(std::move(what)), budget_(budget), thread_([this] { watch(); }) {}

HangWatchdog::~HangWatchdog() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    done_.notify_one();
    thread_.join();
}

void HangWatchdog::watch() {
    std::unique_lock lock(mutex_);
    if (done_.wait_for(lock, budget_, [this] { return finished_; }))
        return;
    std::fprintf(stderr, "HANG: %s still running after %lld ms\n", what_.c_str(),
                 static_cast<long long>(budget_.count()));
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace picbasket::test
