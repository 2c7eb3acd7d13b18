#pragma once
#include "platform/scan/ScanSource.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace picbasket {

// Scanning through SANE. The library is started once per process, on first use,
// and ended with the last reference; every SANE call but sane_cancel runs under
// one lock, so the worker threads that call in take turns. Which backends it loads
// follows SANE's own configuration (SANE_CONFIG_DIR and its dll.conf).
class SaneScanSource : public ScanSource {
public:
    // The one source of the process.
    static std::shared_ptr<SaneScanSource> instance();
    ~SaneScanSource() override;

    std::vector<ScanDevice> devices() override;
    QString devicesProblem() override;
    std::optional<ScanDeviceOptions> options(const QString& device) override;
    ScanOutcome scan(const ScanSettings& settings,
                     const std::function<bool(const QImage&)>& page) override;
    void cancel() override;

private:
    SaneScanSource() = default;
    // Starts SANE when it has not been started; false when it cannot start.
    bool start();
    void setOpenHandle(void* handle);
    bool cancelRequested() const { return cancelRequested_.load(); }

    std::mutex mutex_;
    bool started_ = false;
    QString devicesProblem_;
    // The device a scan has open, for cancel from another thread.
    std::mutex handleMutex_;
    void* openHandle_ = nullptr;
    std::atomic<bool> cancelRequested_{false};
};

} // namespace picbasket
