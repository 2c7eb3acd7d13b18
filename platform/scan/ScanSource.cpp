#include "platform/scan/ScanSource.h"

#include "platform/scan/SaneScanSource.h"

#include <QRegularExpression>
#include <mutex>

namespace picbasket {

namespace {

std::mutex& installMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<ScanSource>& currentSource() {
    static std::shared_ptr<ScanSource> source;
    return source;
}

ScanPrompt& currentPrompt() {
    static ScanPrompt prompt;
    return prompt;
}

} // namespace

bool isFeederSource(const QString& source) {
    static const QRegularExpression feeder(QStringLiteral("\\badf\\b|feeder"),
                                           QRegularExpression::CaseInsensitiveOption);
    return feeder.match(source).hasMatch();
}

std::shared_ptr<ScanSource> installedScanSource() {
    std::lock_guard lock(installMutex());
    if (!currentSource())
        currentSource() = SaneScanSource::instance();
    return currentSource();
}

std::shared_ptr<ScanSource> setScanSource(std::shared_ptr<ScanSource> source) {
    std::lock_guard lock(installMutex());
    return std::exchange(currentSource(), std::move(source));
}

ScanPrompt setScanPrompt(ScanPrompt prompt) {
    return std::exchange(currentPrompt(), std::move(prompt));
}

const ScanPrompt& installedScanPrompt() {
    return currentPrompt();
}

} // namespace picbasket
