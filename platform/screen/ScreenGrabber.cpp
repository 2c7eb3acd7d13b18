#include "platform/screen/ScreenGrabber.h"

#include "platform/screen/PortalScreenGrabber.h"
#include "platform/screen/X11ScreenGrabber.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace picbasket {

std::unique_ptr<ScreenGrabber> fncSystemScreenGrabber() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            return std::make_unique<X11ScreenGrabber>(x11->connection());
    }
    if (platform.startsWith(QLatin1String("wayland")))
        return std::make_unique<PortalScreenGrabber>();
    return std::make_unique<QtScreenGrabber>();
}

} // namespace picbasket
