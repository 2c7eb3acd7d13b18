#include "platform/print/PrintBackend.h"

#include <algorithm>

namespace picbasket {

namespace {

PrintBackend* g_backend = nullptr;

constexpr double MillimetresPerInch = 25.4;
constexpr double DefaultDpi = 96;

double dpiOf(int dotsPerMetre) {
    return dotsPerMetre > 0 ? dotsPerMetre * MillimetresPerInch / 1000.0 : DefaultDpi;
}

QSizeF naturalSize(const QImage& image) {
    return {image.width() * MillimetresPerInch / dpiOf(image.dotsPerMeterX()),
            image.height() * MillimetresPerInch / dpiOf(image.dotsPerMeterY())};
}

} // namespace

PrintBackend* setPrintBackend(PrintBackend* backend) {
    std::swap(backend, g_backend);
    return backend;
}

PrintBackend* printBackend() {
    return g_backend;
}

QRectF fncPrintPlacement(const QSizeF& area, const QImage& image, const PrintSettings& settings) {
    if (image.isNull() || area.isEmpty())
        return {};
    const double left = settings.P8C ? 0 : settings.P85;
    const double top = settings.P8D ? 0 : settings.P86;
    QSizeF size = naturalSize(image);
    if (settings.P88 == 0) {
        const QSizeF room(std::max(0.0, area.width() - left), std::max(0.0, area.height() - top));
        size.scale(room, Qt::KeepAspectRatio);
    } else if (settings.P88 == 2) {
        size *= settings.P8B / 100.0;
    }
    const double x = settings.P8C ? (area.width() - size.width()) / 2 : left;
    const double y = settings.P8D ? (area.height() - size.height()) / 2 : top;
    return {QPointF(x, y), size};
}

} // namespace picbasket
