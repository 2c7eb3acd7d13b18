#pragma once
#include "platform/scan/ScanSource.h"

#include <atomic>
#include <mutex>

namespace picbasket {

// A scan source for tests: the devices it is given, each offering the same choices,
// and a scan that delivers the given pages in turn. It can fail before a chosen page
// with a chosen message, and records the settings of every scan.
class FakeScanSource : public ScanSource {
public:
    FakeScanSource() = default;

    // Devices offered (one named "fake:0" by default).
    std::vector<ScanDevice> deviceList{{QStringLiteral("fake:0"), QStringLiteral("Test"),
                                        QStringLiteral("Fake scanner"), QStringLiteral("virtual device")}};
    // The choices every device offers.
    ScanDeviceOptions choices;
    // The pages of each scan, in order.
    std::vector<QImage> pages;
    // When above 0, the scan fails with failureMessage instead of delivering this page.
    int failBeforePage = 0;
    QString failureMessage = QStringLiteral("Error during device I/O");

    // What devicesProblem() answers (the layer's words for an empty list).
    QString problem;

    std::vector<ScanDevice> devices() override;
    QString devicesProblem() override { return problem; }
    std::optional<ScanDeviceOptions> options(const QString& device) override;
    ScanOutcome scan(const ScanSettings& settings,
                     const std::function<bool(const QImage&)>& page) override;
    void cancel() override { cancelled_ = true; }

    // The settings of every scan so far.
    std::vector<ScanSettings> scans() const;

private:
    mutable std::mutex mutex_;
    std::vector<ScanSettings> scans_;
    std::atomic<bool> cancelled_{false};
};

} // namespace picbasket
