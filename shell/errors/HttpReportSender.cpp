#include "shell/errors/HttpReportSender.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace picbasket {

namespace {

bool isLoopback(const QUrl& address) {
    const QString host = address.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress ip(host);
    return !ip.isNull() && ip.isLoopback();
}

// False only when a backend knows for certain that there is no network.
bool mayBeConnected(const QUrl& address) {
    if (isLoopback(address))
        return true;
    if (!QNetworkInformation::instance() &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return true;
    const QNetworkInformation* info = QNetworkInformation::instance();
    return !info || info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

ReportSendResult resultOf(QNetworkReply& reply) {
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply.error() == QNetworkReply::NoError && status >= 200 && status < 300)
        return {ReportSendResult::Outcome::Sent, {}};
    if (status != 0)
        return {ReportSendResult::Outcome::Failed,
                QStringLiteral("The server answered %1 %2.")
                    .arg(status)
                    .arg(reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
                    .simplified()};
    return {ReportSendResult::Outcome::Failed, reply.errorString()};
}

} // namespace

ReportSendResult HttpReportSender::send(const QUrl& address) {
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || address.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {ReportSendResult::Outcome::Failed,
                QStringLiteral("The report address is not a valid web address.")};
    if (!mayBeConnected(address))
        return {ReportSendResult::Outcome::NoConnection, {}};

    QNetworkAccessManager manager;
    QNetworkRequest request(address);
    request.setTransferTimeout(timeoutMs_);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const ReportSendResult result = resultOf(*reply);
    delete reply;
    return result;
}

} // namespace picbasket
