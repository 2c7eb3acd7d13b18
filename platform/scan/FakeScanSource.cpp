#include "platform/scan/FakeScanSource.h"

namespace picbasket {

std::vector<ScanDevice> FakeScanSource::devices() {
    return deviceList;
}

std::optional<ScanDeviceOptions> FakeScanSource::options(const QString& device) {
    for (const ScanDevice& d : deviceList) {
        if (d.name == device) {
            ScanDeviceOptions o = choices;
            o.device = d;
            return o;
        }
    }
    return std::nullopt;
}

ScanOutcome FakeScanSource::scan(const ScanSettings& settings,
                                 const std::function<bool(const QImage&)>& page) {
    {
        std::lock_guard lock(mutex_);
        scans_.push_back(settings);
    }
    cancelled_ = false;
    ScanOutcome outcome;
    for (const QImage& image : pages) {
        if (failBeforePage > 0 && outcome.pages + 1 == failBeforePage) {
            outcome.failed = true;
            outcome.message = failureMessage;
            return outcome;
        }
        if (cancelled_) {
            outcome.cancelled = true;
            return outcome;
        }
        ++outcome.pages;
        if (!page(image) || cancelled_) {
            outcome.cancelled = true;
            return outcome;
        }
    }
    return outcome;
}

std::vector<ScanSettings> FakeScanSource::scans() const {
    std::lock_guard lock(mutex_);
    return scans_;
}

} // namespace picbasket
