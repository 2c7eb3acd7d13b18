#pragma once
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace picbasket {

// A scanner as the scanning layer lists it: `name` opens it, the rest is for people.
struct ScanDevice {
    QString name;
    QString vendor;
    QString model;
    QString type;
};

// What a device offers for the four settings the settings prompt shows, read from
// its option descriptors, with the values it starts with. An empty list means the
// device has no such option (the setting is left to the device).
struct ScanDeviceOptions {
    ScanDevice device;
    QStringList modes;
    QString mode;
    std::vector<int> depths;
    int depth = 0;
    std::vector<int> resolutions; // dots per inch
    int resolution = 0;
    QStringList sources;
    QString source;
};

// The settings of one acquisition. Empty or zero members are left as the device has
// them. `extra` sets further options by name, in order, from their text ("true",
// "16", "Automatic Document Feeder"): options the prompt does not show, such as
// those of a test device. An option the device does not have fails the scan; one
// that is inactive in the chosen mode is skipped.
struct ScanSettings {
    QString device;
    QString mode;
    int depth = 0;
    int resolution = 0;
    QString source;
    std::vector<std::pair<QString, QString>> extra;

    bool operator==(const ScanSettings&) const = default;
};

// How a scan ended. `failed` with the device's own words for it in `message`;
// a cancelled scan is no failure.
struct ScanOutcome {
    bool failed = false;
    bool cancelled = false;
    QString message;
    int pages = 0;
};

// Where scanned pages come from. Every member but cancel may block and is called
// on a worker thread, one call at a time; cancel may be called from any thread
// while scan runs.
class ScanSource {
public:
    virtual ~ScanSource() = default;

    // The devices there are; an empty list when none (or the layer could not start).
    virtual std::vector<ScanDevice> devices() = 0;
    // The scanning layer's own words for why the last devices() could not list any
    // (it could not start, the listing failed); empty when it just found none.
    virtual QString devicesProblem() { return {}; }
    // The choices of one device; nullopt when it cannot be opened.
    virtual std::optional<ScanDeviceOptions> options(const QString& device) = 0;
    // Scans with the settings: one page, or from a document feeder every page until
    // it is empty. Each page goes to `page` as it is complete; a false answer ends
    // the scan (cancelled). Pages delivered before a failure stay delivered.
    virtual ScanOutcome scan(const ScanSettings& settings,
                             const std::function<bool(const QImage&)>& page) = 0;
    // Asks a running scan to stop as soon as it can.
    virtual void cancel() = 0;
};

// True when a source's name says it is a document feeder ("ADF",
// "Automatic Document Feeder", "ADF Duplex"), whose scans run until it is empty.
bool isFeederSource(const QString& source);

// The source every image box scans from: the SANE source unless a test installed
// another. Returns the previous one.
std::shared_ptr<ScanSource> installedScanSource();
std::shared_ptr<ScanSource> setScanSource(std::shared_ptr<ScanSource> source);

// The settings prompt: offered the devices with their choices and the settings of
// the last acquisition of this run (empty at first), it returns the settings to
// scan with, or nullopt when the user cancels. The window layer installs a dialog;
// tests install an answer of their own. Without one, the last settings are used
// again, or the first device with its own values.
using ScanPrompt = std::function<std::optional<ScanSettings>(
    const std::vector<ScanDeviceOptions>& devices, const ScanSettings& last)>;
ScanPrompt setScanPrompt(ScanPrompt prompt);
const ScanPrompt& installedScanPrompt();

} // namespace picbasket
