#include "platform/jp2/GrokSession.h"

#include <QStringList>
#include <mutex>

namespace picbasket::jp2 {

namespace {

// Grok reports from its worker threads, so the collected text is guarded.
std::mutex messageMutex;
QStringList errorMessages;
constexpr int maxKeptMessages = 20;

void keepError(const char* msg, void*) {
    std::lock_guard lock(messageMutex);
    if (errorMessages.size() < maxKeptMessages)
        errorMessages << QString::fromUtf8(msg).trimmed();
}

void ignoreMessage(const char*, void*) {}

unsigned threadCount = 0;

} // namespace

void GrokSession::ensureStarted() {
    static std::once_flag started;
    std::call_once(started, [] {
        // 0 threads: one worker per hardware thread.
        grk_initialize(nullptr, threadCount);
        grk_set_msg_handlers(ignoreMessage, nullptr, ignoreMessage, nullptr, keepError, nullptr);
    });
}

void GrokSession::setThreadCount(unsigned threads) {
    threadCount = threads;
}

void GrokSession::clearMessages() {
    std::lock_guard lock(messageMutex);
    errorMessages.clear();
}

QString GrokSession::errorText() {
    std::lock_guard lock(messageMutex);
    return errorMessages.join(QLatin1Char('\n'));
}

GrokRef::~GrokRef() {
    if (object_)
        grk_object_unref(object_);
}

} // namespace picbasket::jp2
