#include "platform/screen/PortalScreenGrabber.h"

#include "platform/screen/QtScreenGrabber.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>

namespace picbasket {

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ScreenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The request object the portal will answer on, known before the call so that the
// answer cannot come before we listen: .../request/<sender>/<token>.
QString requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

} // namespace

void PortalScreenGrabber::portalResponse(uint response, const QVariantMap& results) {
    answered_ = true;
    response_ = response;
    results_ = results;
}

ScreenGrab PortalScreenGrabber::grabScreen(QScreen*) {
    const ScreenGrab unreadable{QImage(), true};
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return unreadable;
    const QString token = QStringLiteral("picbasket%1").arg(QRandomGenerator::global()->generate());
    const QString request = requestPath(bus, token);
    answered_ = false;
    results_.clear();
    if (!bus.connect(PortalService, request, RequestInterface, QStringLiteral("Response"), this,
                     SLOT(portalResponse(uint, QVariantMap))))
        return unreadable;
    QDBusInterface portal(PortalService, PortalPath, ScreenshotInterface, bus);
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("interactive"), false}};
    const QDBusReply<QDBusObjectPath> reply =
        portal.call(QStringLiteral("Screenshot"), QString(), options);
    if (reply.isValid()) {
        QEventLoop wait;
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
        timeout.start(AnswerTimeoutMs);
        while (!answered_ && timeout.isActive())
            wait.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
    }
    bus.disconnect(PortalService, request, RequestInterface, QStringLiteral("Response"), this,
                   SLOT(portalResponse(uint, QVariantMap)));
    if (!answered_ || response_ != 0)
        return unreadable;
    const QUrl uri(results_.value(QStringLiteral("uri")).toString());
    const QImage picture(uri.toLocalFile());
    if (picture.isNull())
        return unreadable;
    return {fncScreenPictureOf(picture), false};
}

} // namespace picbasket
