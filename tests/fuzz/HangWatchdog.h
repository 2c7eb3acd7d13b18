#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace picbasket::test {

// Ends the process with a message naming the input when the work it watches
// outlives its budget. A hang cannot be interrupted from inside, and waiting
// for the suite's own timeout would not say which input hung.
class HangWatchdog {
public:
    HangWatchdog(std::string what, std::chrono::milliseconds budget);
    ~HangWatchdog();
    HangWatchdog(const HangWatchdog&) = delete;
    HangWatchdog& operator=(const HangWatchdog&) = delete;

private:
    void watch();

    std::string what_;
    std::chrono::milliseconds budget_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

} // namespace picbasket::test
