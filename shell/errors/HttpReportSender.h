#pragma once
#include "shell/errors/ReportSender.h"

namespace picbasket {

// Sends the report as an HTTP GET through QNetworkAccessManager and waits for the
// reply in a local event loop, at most the timeout. Where a network-information
// backend exists and says the machine is offline, nothing is tried; where it cannot
// tell, the request is simply made. Loopback hosts are always tried.
class HttpReportSender : public ReportSender {
public:
    explicit HttpReportSender(int timeoutMs = 20000) : timeoutMs_(timeoutMs) {}
    ReportSendResult send(const QUrl& address) override;

private:
    int timeoutMs_;
};

} // namespace picbasket
