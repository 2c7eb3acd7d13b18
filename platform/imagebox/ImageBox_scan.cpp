#include "platform/imagebox/ImageBox.h"

#include "core/MessageBox.h"
#include "platform/imagebox/ColorFormatCopy.h"
#include "platform/scan/ScanSource.h"

#include <QEventLoop>
#include <QThread>
#include <exception>
#include <memory>

namespace picbasket {

namespace {

// The settings of the last acquisition, offered again to the next one of the run.
ScanSettings& lastScanSettings() {
    static ScanSettings settings;
    return settings;
}

// Runs work on a thread of its own and lets this thread's events run until it has
// finished; an exception of the work is raised here afterwards.
void runBesideEvents(const std::function<void()>& work) {
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    if (failure)
        std::rethrow_exception(failure);
}

// Every device with its choices; a device that cannot be opened now is still
// offered (its scan will say why it fails).
std::vector<ScanDeviceOptions> deviceChoices(ScanSource& source) {
    std::vector<ScanDeviceOptions> choices;
    for (const ScanDevice& device : source.devices()) {
        ScanDeviceOptions options = source.options(device.name).value_or(ScanDeviceOptions{});
        options.device = device;
        choices.push_back(options);
    }
    return choices;
}

// Without a prompt: the last settings when their device is still there, else the
// first device as it stands.
std::optional<ScanSettings> settingsWithoutPrompt(const std::vector<ScanDeviceOptions>& choices) {
    for (const ScanDeviceOptions& choice : choices)
        if (choice.device.name == lastScanSettings().device)
            return lastScanSettings();
    ScanSettings settings;
    settings.device = choices.front().device.name;
    return settings;
}

int colorFormatOfPage(const QImage& page) {
    switch (page.format()) {
    case QImage::Format_Mono:
        return imagebox::Mono1;
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return imagebox::Grey8;
    default:
        return imagebox::Colour24;
    }
}

} // namespace

bool ImageBox::TwainSourceAvailable() {
    std::shared_ptr<ScanSource> source = installedScanSource();
    bool available = false;
    runBesideEvents([&] { available = !source->devices().empty(); });
    return available;
}

void ImageBox::TwainCancel() {
    if (!twainAcquiring_)
        return;
    twainCancelRequested_ = true;
    installedScanSource()->cancel();
}

void ImageBox::TwainAcquire() {
    if (twainAcquiring_)
        return;
    std::shared_ptr<ScanSource> source = installedScanSource();
    twainAcquiring_ = true;
    twainCancelRequested_ = false;
    acquiredPageNumber_ = 0;
    emit TwainAcquiringChanged(true);
    struct End {
        ImageBox* box;
        ~End() {
            box->twainAcquiring_ = false;
            emit box->TwainAcquiringChanged(false);
        }
    } end{this};

    std::vector<ScanDeviceOptions> choices;
    runBesideEvents([&] { choices = deviceChoices(*source); });
    if (choices.empty() || twainCancelRequested_)
        return;
    const ScanPrompt& prompt = installedScanPrompt();
    const std::optional<ScanSettings> settings =
        prompt ? prompt(choices, lastScanSettings()) : settingsWithoutPrompt(choices);
    if (!settings || twainCancelRequested_)
        return;
    lastScanSettings() = *settings;

    std::exception_ptr handlerFailure;
    ScanOutcome outcome;
    runBesideEvents([&] {
        outcome = source->scan(*settings, [&](const QImage& page) {
            bool goOn = false;
            // The page handler runs on this box's thread, one page at a time.
            QMetaObject::invokeMethod(
                this,
                [&] {
                    try {
                        goOn = takeScannedPage(page);
                    } catch (...) {
                        handlerFailure = std::current_exception();
                    }
                },
                Qt::BlockingQueuedConnection);
            return goOn;
        });
    });
    if (handlerFailure)
        std::rethrow_exception(handlerFailure);
    if (outcome.failed)
        msgBox(outcome.message, mb::Exclamation);
}

bool ImageBox::takeScannedPage(const QImage& page) {
    if (twainCancelRequested_)
        return false;
    Clear();
    setImage(page);
    setColorFormat(colorFormatOfPage(image_));
    ++acquiredPageNumber_;
    emit TwainPageAcquired();
    return !twainCancelRequested_;
}

} // namespace picbasket
