#include "platform/imagebox/edit/PixelOps.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "platform/imagebox/edit/RowBands.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace picbasket::pixelops {

bool sizeAllowed(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= MaxSide && height <= MaxSide &&
           width * height <= MaxPixels;
}

QImage checked(const QImage& image) {
    if (image.isNull())
        raiseError(err::OutOfMemory, QStringLiteral("Not enough memory for the image being edited"));
    return image;
}

QImage toWorking(const QImage& image) {
    return checked(image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_RGB32));
}

namespace {

bool isGreyFormat(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return true;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return image.isGrayscale() && !image.hasAlphaChannel();
    default:
        return false;
    }
}

bool isHeldFormat(QImage::Format format) {
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
    case QImage::Format_RGB888:
    case QImage::Format_ARGB32:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
        return true;
    default:
        return false;
    }
}

} // namespace

namespace {

QImage fromWorkingUnchecked(const QImage& work, const QImage& original) {
    const QImage::Format own = original.format();
    if (isGreyFormat(original) && !work.hasAlphaChannel() && work.allGray())
        return work.convertToFormat(own == QImage::Format_Grayscale16 ? QImage::Format_Grayscale16
                                                                      : QImage::Format_Grayscale8);
    if (work.hasAlphaChannel())
        return work.convertToFormat(own == QImage::Format_RGBA64 ? QImage::Format_RGBA64
                                                                 : QImage::Format_ARGB32);
    if (own == QImage::Format_RGBX64 || own == QImage::Format_RGBA64)
        return work.convertToFormat(QImage::Format_RGBX64);
    return work.convertToFormat(QImage::Format_RGB888);
}

} // namespace

QImage fromWorking(const QImage& work, const QImage& original) {
    return checked(fromWorkingUnchecked(work, original));
}

QImage normalised(const QImage& image, const QImage& original) {
    if (isHeldFormat(image.format()))
        return image;
    return fromWorking(toWorking(image), original);
}

QRgb oleToRgb(OleColor color) { return oleToQColor(color).rgb() | 0xFF000000u; }

OleColor rgbToOle(QRgb rgb) { return rgbOle(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

QImage flipped(const QImage& image, bool horizontal) {
    return image.mirrored(horizontal, !horizontal);
}

//   rect (may start left of / above the image)
//   +-----------------+
//   |  bg   +---------+---+
//   |       | overlap |   |   image
//   +-------+---------+   |
//           +-------------+
QImage cropped(const QImage& image, const QRect& rect, QRgb background) {
    const QRect whole(QPoint(0, 0), image.size());
    if (whole.contains(rect))
        return checked(image.copy(rect));
    const QImage work = toWorking(image);
    QImage out = checked(QImage(rect.size(), work.format()));
    out.fill(background);
    const QRect overlap = rect & whole;
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    forEachRowBand(overlap.height(), overlap.width(), [&](int begin, int end) {
        for (int y = overlap.top() + begin; y < overlap.top() + end; ++y) {
            auto* to = reinterpret_cast<QRgb*>(bits + (y - rect.top()) * stride) +
                       (overlap.left() - rect.left());
            const auto* from = reinterpret_cast<const QRgb*>(work.constScanLine(y)) + overlap.left();
            std::memcpy(to, from, size_t(overlap.width()) * sizeof(QRgb));
        }
    });
    return fromWorking(out, image);
}

void applyLut(QImage& work, const Lut& lut, bool red, bool green, bool blue) {
    uchar* bits = work.bits();
    const qsizetype stride = work.bytesPerLine();
    forEachRowBand(work.height(), work.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            auto* px = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = 0; x < work.width(); ++x) {
                const QRgb p = px[x];
                const int r = red ? lut[qRed(p)] : qRed(p);
                const int g = green ? lut[qGreen(p)] : qGreen(p);
                const int b = blue ? lut[qBlue(p)] : qBlue(p);
                px[x] = qRgba(r, g, b, qAlpha(p));
            }
        }
    });
}

namespace {

uint8_t clampByte(double v) { return uint8_t(std::clamp(roundHalfEven(v), 0.0, 255.0)); }

} // namespace

// amount 0 makes everything black, 100 everything white, 50 changes nothing.
Lut brightnessLut(int amount) {
    const double offset = (amount - 50) * 255.0 / 50.0;
    Lut lut{};
    for (int v = 0; v < 256; ++v)
        lut[size_t(v)] = clampByte(v + offset);
    return lut;
}

// Values spread from mid-grey by a factor: 0 at amount 0 (flat grey), 1 at 50,
// growing without bound towards 100 (a threshold at mid-grey).
Lut contrastLut(int amount) {
    const double factor = amount <= 50 ? amount / 50.0 : (amount >= 100 ? 1e6 : 50.0 / (100 - amount));
    Lut lut{};
    for (int v = 0; v < 256; ++v)
        lut[size_t(v)] = clampByte(127.5 + (v - 127.5) * factor);
    return lut;
}

void reduceRedEye(QImage& work) {
    uchar* bits = work.bits();
    const qsizetype stride = work.bytesPerLine();
    forEachRowBand(work.height(), work.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            auto* px = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = 0; x < work.width(); ++x) {
                const QRgb p = px[x];
                const int r = qRed(p), g = qGreen(p), b = qBlue(p);
                // Red dominates when it exceeds 1.5 times the mean of the other two.
                if (4 * r > 3 * (g + b) && r > g && r > b)
                    px[x] = qRgba((g + b) / 2, g, b, qAlpha(p));
            }
        }
    });
}

void copyWhere(QImage& target, const QImage& edited, const QPoint& origin,
               const std::function<bool(int, int)>& inside) {
    uchar* bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    forEachRowBand(edited.height(), edited.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const int ty = origin.y() + y;
            if (ty < 0 || ty >= target.height())
                continue;
            auto* to = reinterpret_cast<QRgb*>(bits + ty * stride);
            const auto* from = reinterpret_cast<const QRgb*>(edited.constScanLine(y));
            for (int x = 0; x < edited.width(); ++x) {
                const int tx = origin.x() + x;
                if (tx >= 0 && tx < target.width() && inside(tx, ty))
                    to[tx] = from[x];
            }
        }
    });
}

namespace {

// Source-over of one non-premultiplied pixel with the given source alpha (0..1).
QRgb blendOver(QRgb dst, QRgb src, double alpha) {
    const double da = qAlpha(dst) / 255.0;
    const double outA = alpha + da * (1.0 - alpha);
    if (outA <= 0.0)
        return 0;
    const double keep = da * (1.0 - alpha);
    auto mix = [&](int s, int d) { return clampByte((s * alpha + d * keep) / outA); };
    return qRgba(mix(qRed(src), qRed(dst)), mix(qGreen(src), qGreen(dst)),
                 mix(qBlue(src), qBlue(dst)), clampByte(outA * 255.0));
}

} // namespace

void stampOver(QImage& work, const QImage& stamp, int x, int y, double opacity) {
    // The overlap in 64 bits: the stamp may be placed anywhere an int reaches.
    const int64_t left = std::max<int64_t>(0, x), top = std::max<int64_t>(0, y);
    const int64_t right = std::min<int64_t>(work.width(), int64_t(x) + stamp.width());
    const int64_t bottom = std::min<int64_t>(work.height(), int64_t(y) + stamp.height());
    if (left >= right || top >= bottom || opacity <= 0.0)
        return;
    const QRect target(int(left), int(top), int(right - left), int(bottom - top));
    const QImage src = checked(stamp.convertToFormat(QImage::Format_ARGB32));
    const bool opaqueWork = !work.hasAlphaChannel();
    uchar* bits = work.bits();
    const qsizetype stride = work.bytesPerLine();
    forEachRowBand(target.height(), target.width(), [&](int begin, int end) {
        for (int ty = target.top() + begin; ty < target.top() + end; ++ty) {
            auto* to = reinterpret_cast<QRgb*>(bits + ty * stride);
            const auto* from = reinterpret_cast<const QRgb*>(src.constScanLine(ty - y));
            for (int tx = target.left(); tx <= target.right(); ++tx) {
                const QRgb s = from[tx - x];
                const int sa = qAlpha(s);
                if (sa == 0)
                    continue;
                if (sa == 255 && opacity >= 1.0)
                    to[tx] = s;
                else
                    to[tx] = blendOver(to[tx], s, sa / 255.0 * opacity);
                if (opaqueWork)
                    to[tx] |= 0xFF000000u;
            }
        }
    });
}

QImage withKeyTransparent(const QImage& stamp, QRgb key) {
    QImage out = checked(stamp.convertToFormat(QImage::Format_ARGB32));
    const QRgb rgb = key & 0x00FFFFFFu;
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    forEachRowBand(out.height(), out.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            auto* px = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = 0; x < out.width(); ++x) {
                if ((px[x] & 0x00FFFFFFu) == rgb)
                    px[x] = 0;
            }
        }
    });
    return out;
}

} // namespace picbasket::pixelops
