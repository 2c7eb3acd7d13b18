#pragma once
#include <QString>
#include <QUrl>

namespace picbasket {

// How one attempt to send an error report ended.
struct ReportSendResult {
    enum class Outcome {
        Sent,         // the server answered with a 2xx status
        NoConnection, // the system reports no network at all; nothing was tried
        Failed,       // refused, timed out, bad address or a non-2xx answer
    };
    Outcome outcome = Outcome::Failed;
    QString detail; // what went wrong, for the failure message
};

// Sends an error report's address as one request and waits for the answer. The real
// implementation is HttpReportSender; tests put a fake in its place.
class ReportSender {
public:
    virtual ~ReportSender() = default;
    virtual ReportSendResult send(const QUrl& address) = 0;
};

} // namespace picbasket
