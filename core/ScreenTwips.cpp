#include "core/ScreenTwips.h"

#include <QGuiApplication>
#include <QScreen>
#include <optional>

namespace picbasket {

namespace {

constexpr double TwipsPerInch = 1440.0;
constexpr double DefaultDpi = 96.0;

std::optional<double> g_x;
std::optional<double> g_y;

double screenDpi(bool horizontal) {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen)
        return DefaultDpi;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : DefaultDpi;
}

} // namespace

double twipsPerPixelX() {
    return g_x ? *g_x : TwipsPerInch / screenDpi(true);
}
double twipsPerPixelY() {
    return g_y ? *g_y : TwipsPerInch / screenDpi(false);
}

void overrideTwipsPerPixel(double x, double y) {
    g_x = x;
    g_y = y;
}

void resetTwipsPerPixel() {
    g_x.reset();
    g_y.reset();
}

} // namespace picbasket
