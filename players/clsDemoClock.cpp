#include "players/clsDemoClock.h"

#include "core/OleColor.h"

#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace picbasket {

namespace {

constexpr float HalfPi = 1.570796f;
constexpr float DegreesToRadians = 0.017453289f;

clsDemoClock::Reporter& reporter() {
    static clsDemoClock::Reporter current = [](const QString& message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    };
    return current;
}

// Halves to the even neighbour, as the rest of the system rounds.
int roundEven(double value) {
    return int(std::nearbyint(value));
}

int toByte(double value) {
    const int rounded = roundEven(value);
    return rounded < 0 ? 0 : (rounded > 255 ? 255 : rounded);
}

// A whole-numbered offset is moved off the pixel grid by a thousandth.
float offGrid(float value) {
    return value == std::trunc(value) ? value + 0.001f : value;
}

// Spreads the point (px, py) over the 2 x 2 block of pixels around it.
template <class Blend> void spread(double px, double py, const Blend& blend) {
    const int x0 = roundEven(px);
    const int x1 = x0 + 1;
    const int y0 = roundEven(py);
    const int y1 = roundEven(py + 1);
    const double wx = 255 * (x0 + 0.5 - px);
    const double fy0 = y0 + 0.5 - py;
    const double fy1 = py + 1.5 - y1;
    blend(x0, y0, toByte(wx * fy0));
    blend(x1, y0, toByte((255 - wx) * fy0));
    blend(x0, y1, toByte(wx * fy1));
    blend(x1, y1, toByte((255 - wx) * fy1));
}

int blendChannel(int component, int old, int alpha) {
    return (component * alpha + old * (255 - alpha)) / 256;
}

} // namespace

clsDemoClock::Reporter clsDemoClock::setReporter(Reporter next) {
    return std::exchange(reporter(), std::move(next));
}

uint32_t clsDemoClock::fncTranslateColor(uint32_t color) {
    switch (color >> 24) {
    case 0x00:
        return color;
    case 0x02: // palette-relative RGB without a palette: the RGB itself
        return color & 0x00FFFFFFu;
    case 0x80:
        if ((color & 0x00FFFF00u) == 0 && (color & 0xFF) <= 30)
            return qColorToOle(oleToQColor(color));
        return 0;
    default:
        return 0;
    }
}

void clsDemoClock::SetRGBComponents(uint32_t Color) {
    drawColor_ = fncTranslateColor(Color);
    if (drawColor_ != 0) {
        red_ = int32_t(drawColor_ & 255);
        green_ = int32_t((drawColor_ / 256) & 255);
        blue_ = int32_t(drawColor_ / 65536);
    } else {
        red_ = green_ = blue_ = 0;
    }
}

void clsDemoClock::DIB(QImage* bitmap, int32_t W1, int32_t H1) {
    bitmap_ = bitmap;
    w1_ = W1 > 0 ? W1 : 0;
    h1_ = H1 > 0 ? H1 : 0;
    subCreateDIBArray();
}

void clsDemoClock::subCreateDIBArray() {
    pixels_ = QImage(w1_, h1_, QImage::Format_RGB32);
    pixels_.fill(Qt::black);
    if (bitmap_ && !bitmap_->isNull() && !pixels_.isNull()) {
        QPainter painter(&pixels_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, *bitmap_);
    }
    hasArray_ = true;
}

void clsDemoClock::Array2Pic() {
    if (!hasArray_)
        return;
    if (bitmap_) {
        if (bitmap_->isNull() || bitmap_->size() == pixels_.size()) {
            *bitmap_ = bitmap_->isNull() ? pixels_ : pixels_.convertToFormat(bitmap_->format());
        } else {
            QPainter painter(bitmap_);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, pixels_);
        }
    }
    hasArray_ = false;
}

float clsDemoClock::fncAngleStep(int32_t radius, int32_t thickness) {
    const float k = thickness == 1 ? 0.5340707f : 1.0681413f;
    return radius == 0 ? k : k / float(std::abs(radius));
}

void clsDemoClock::subBlendPixelGP(QImage& hdc, int x, int y, int alpha) const {
    if (x < 0 || y < 0 || x >= hdc.width() || y >= hdc.height())
        return;
    if (alpha > 252) {
        hdc.setPixel(x, y, qRgb(red_, green_, blue_));
        return;
    }
    const QRgb old = hdc.pixel(x, y);
    hdc.setPixel(x, y,
                 qRgb(blendChannel(red_, qRed(old), alpha),
                      blendChannel(green_, qGreen(old), alpha),
                      blendChannel(blue_, qBlue(old), alpha)));
}

void clsDemoClock::subBlendPixelDIB(int x, int y, int alpha) {
    if (x < 0 || y < 0 || x >= w1_ || y >= h1_)
        return;
    auto* pixel = reinterpret_cast<uint8_t*>(pixels_.scanLine(y)) + 4 * x;
    // Byte order of a 32-bit pixel in memory: blue, green, red, unused.
    if (alpha > 252) {
        pixel[0] = uint8_t(blue_);
        pixel[1] = uint8_t(green_);
        pixel[2] = uint8_t(red_);
        return;
    }
    pixel[0] = uint8_t(blendChannel(blue_, pixel[0], alpha));
    pixel[1] = uint8_t(blendChannel(green_, pixel[1], alpha));
    pixel[2] = uint8_t(blendChannel(red_, pixel[2], alpha));
}

bool clsDemoClock::requireArray(const char* member) const {
    if (hasArray_)
        return true;
    reporter()(QStringLiteral("You must create a DIB array\r\nbefore calling %1.")
                   .arg(QString::fromLatin1(member)));
    return false;
}

// The GP members draw into 32-bit pixels; another format is converted first.
static void make32Bit(QImage& hdc) {
    const QImage::Format f = hdc.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && !hdc.isNull())
        hdc = hdc.convertToFormat(QImage::Format_RGB32);
}

void clsDemoClock::ellipse(int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY,
                           int32_t Thickness, const Blend& blend) const {
    const float step = fncAngleStep(std::max(RadiusX, RadiusY), Thickness);
    for (float t = 0; t <= HalfPi; t += step) {
        const float cx = offGrid(float(RadiusX) * std::cos(t));
        const float cy = offGrid(float(RadiusY) * std::sin(t));
        spread(double(X1) + cx - 0.5, double(Y1) - cy - 0.5, blend);
        spread(double(X1) + cx - 0.5, double(Y1) + cy - 0.5, blend);
        spread(double(X1) - cx - 0.5, double(Y1) + cy - 0.5, blend);
        spread(double(X1) - cx - 0.5, double(Y1) - cy - 0.5, blend);
    }
}

void clsDemoClock::arc(int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY, float StartAngle,
                       float StopAngle, int32_t Thickness, const Blend& blend) const {
    if (StartAngle > StopAngle)
        StopAngle += 360;
    const float start = StartAngle * DegreesToRadians;
    const float stop = StopAngle * DegreesToRadians;
    const float step = fncAngleStep(std::max(RadiusX, RadiusY), Thickness);
    for (float t = start; t <= stop; t += step) {
        const float ox = offGrid(float(RadiusX) * std::cos(t - HalfPi));
        const float oy = offGrid(float(RadiusY) * std::sin(t + HalfPi));
        spread(double(X1) + ox - 0.5, double(Y1) + oy - 0.5, blend);
    }
}

void clsDemoClock::CircleGP(QImage& hdc, int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY,
                            uint32_t Color, int32_t Thickness) {
    SetRGBComponents(Color);
    make32Bit(hdc);
    ellipse(X1, Y1, RadiusX, RadiusY, Thickness,
            [&](int x, int y, int a) { subBlendPixelGP(hdc, x, y, a); });
}

void clsDemoClock::ArcGP(QImage& hdc, int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY,
                         float StartAngle, float StopAngle, uint32_t Color, int32_t Thickness) {
    SetRGBComponents(Color);
    make32Bit(hdc);
    arc(X1, Y1, RadiusX, RadiusY, StartAngle, StopAngle, Thickness,
        [&](int x, int y, int a) { subBlendPixelGP(hdc, x, y, a); });
}

void clsDemoClock::CircleDIB(int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY,
                             uint32_t Color, int32_t Thickness) {
    if (!requireArray("CircleDIB"))
        return;
    SetRGBComponents(Color);
    ellipse(X1, Y1, RadiusX, RadiusY, Thickness,
            [this](int x, int y, int a) { subBlendPixelDIB(x, y, a); });
}

void clsDemoClock::ArcDIB(int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY,
                          float StartAngle, float StopAngle, uint32_t Color, int32_t Thickness) {
    if (!requireArray("ArcDIB"))
        return;
    SetRGBComponents(Color);
    arc(X1, Y1, RadiusX, RadiusY, StartAngle, StopAngle, Thickness,
        [this](int x, int y, int a) { subBlendPixelDIB(x, y, a); });
}

//   steep (dx <= dy)          shallow (dx > dy)
//     side | core | side        side
//                               core core core
//                               side
// The core runs one pixel wide; the two side pixels share 255 by the error term,
// and each end gets two cap pixels.
void clsDemoClock::line(int X1, int Y1, int X2, int Y2, const Blend& blend,
                        const Blend& core) const {
    int dx = X2 - X1;
    int dy = Y2 - Y1;
    const int sx = dx >= 0 ? 1 : -1;
    const int sy = dy >= 0 ? 1 : -1;
    dx = std::abs(dx);
    dy = std::abs(dy);
    if (dx + dy == 0)
        return;
    int x = X1;
    int y = Y1;
    if (dx <= dy) {
        const int e = dx * 85 / dy;
        blend(X1 - sx, Y1 - sy, e);
        blend(X1, Y1 - sy, 127);
        blend(X2 + sx, Y2 + sy, e);
        blend(X2, Y2 + sy, 127);
        int acc = dy / 2;
        for (int i = 0; i <= dy; ++i) {
            core(x, y, 255);
            const int a = acc * 255 / dy;
            blend(x - sx, y, 255 - a);
            blend(x + sx, y, a);
            acc += dx;
            if (acc >= dy) {
                acc -= dy;
                x += sx;
            }
            y += sy;
        }
        return;
    }
    const int e = dy * 85 / dx;
    blend(X1 - sx, Y1 - sy, e);
    blend(X1 - sx, Y1, 127);
    blend(X2 + sx, Y2 + sy, e);
    blend(X2 + sx, Y2, 127);
    int acc = dx / 2;
    for (int i = 0; i <= dx; ++i) {
        core(x, y, 255);
        const int a = acc * 255 / dx;
        blend(x, y - sy, 255 - a);
        blend(x, y + sy, a);
        acc += dy;
        if (acc >= dx) {
            acc -= dx;
            y += sy;
        }
        x += sx;
    }
}

void clsDemoClock::LineGP(QImage& hdc, int16_t X1, int16_t Y1, int16_t X2, int16_t Y2,
                          uint32_t Color) {
    SetRGBComponents(Color);
    make32Bit(hdc);
    const Blend blend = [&](int x, int y, int a) { subBlendPixelGP(hdc, x, y, a); };
    // The core pixel is set outright, as SetPixelV would.
    const Blend core = [&](int x, int y, int) {
        if (x >= 0 && y >= 0 && x < hdc.width() && y < hdc.height())
            hdc.setPixel(x, y, qRgb(red_, green_, blue_));
    };
    line(X1, Y1, X2, Y2, blend, core);
}

void clsDemoClock::LineDIB(int16_t X1, int16_t Y1, int16_t X2, int16_t Y2, uint32_t Color) {
    if (!requireArray("LineDIB"))
        return;
    SetRGBComponents(Color);
    const Blend blend = [this](int x, int y, int a) { subBlendPixelDIB(x, y, a); };
    line(X1, Y1, X2, Y2, blend, blend);
}

} // namespace picbasket
