#include "platform/imagebox/edit/PixelOps.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "platform/imagebox/edit/RowBands.h"

#include <QColorSpace>
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

namespace {

// The conversions every edit makes of a 24-bit or grey image, row band by row
// band; they give the very bytes QImage's own conversions give.
QImage rgb888ToWorking(const QImage& image) {
    QImage out = checked(QImage(image.size(), QImage::Format_RGB32));
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    const bool grey = image.format() == QImage::Format_Grayscale8;
    forEachRowBand(image.height(), image.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const uchar* from = image.constScanLine(y);
            auto* to = reinterpret_cast<QRgb*>(bits + y * stride);
            if (grey)
                for (int x = 0; x < image.width(); ++x)
                    to[x] = qRgb(from[x], from[x], from[x]);
            else
                for (int x = 0; x < image.width(); ++x, from += 3)
                    to[x] = qRgb(from[0], from[1], from[2]);
        }
    });
    return out;
}

QImage workingToRgb888(const QImage& work) {
    QImage out = checked(QImage(work.size(), QImage::Format_RGB888));
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    forEachRowBand(work.height(), work.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(work.constScanLine(y));
            uchar* to = bits + y * stride;
            for (int x = 0; x < work.width(); ++x, to += 3) {
                to[0] = uchar(qRed(from[x]));
                to[1] = uchar(qGreen(from[x]));
                to[2] = uchar(qBlue(from[x]));
            }
        }
    });
    return out;
}

void keepDescription(QImage& out, const QImage& from) {
    out.setDotsPerMeterX(from.dotsPerMeterX());
    out.setDotsPerMeterY(from.dotsPerMeterY());
    out.setOffset(from.offset());
    out.setColorSpace(from.colorSpace());
    for (const QString& key : from.textKeys())
        out.setText(key, from.text(key));
}

} // namespace

QImage toWorking(const QImage& image) {
    if (image.format() == QImage::Format_RGB888 || image.format() == QImage::Format_Grayscale8) {
        QImage out = rgb888ToWorking(image);
        keepDescription(out, image);
        return out;
    }
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
    if (work.format() == QImage::Format_RGB32) {
        QImage out = workingToRgb888(work);
        keepDescription(out, work);
        return out;
    }
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
    const int depth = image.depth();
    if (depth % 8 != 0)
        return checked(image.mirrored(horizontal, !horizontal));
    // Whole bytes a pixel: rows (or the pixels of each row) copied in reverse,
    // band by band.
    QImage out = checked(QImage(image.size(), image.format()));
    out.setColorTable(image.colorTable());
    keepDescription(out, image);
    const int bytes = depth / 8;
    const int width = image.width(), height = image.height();
    const size_t rowBytes = size_t(width) * size_t(bytes);
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    forEachRowBand(height, width, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            uchar* to = bits + y * stride;
            if (!horizontal) {
                std::memcpy(to, image.constScanLine(height - 1 - y), rowBytes);
                continue;
            }
            const uchar* from = image.constScanLine(y);
            switch (bytes) {
            case 1:
                std::reverse_copy(from, from + width, to);
                break;
            case 3:
                for (int x = 0; x < width; ++x) {
                    const uchar* p = from + size_t(width - 1 - x) * 3;
                    to[3 * x] = p[0];
                    to[3 * x + 1] = p[1];
                    to[3 * x + 2] = p[2];
                }
                break;
            case 4: {
                const auto* p = reinterpret_cast<const uint32_t*>(from);
                std::reverse_copy(p, p + width, reinterpret_cast<uint32_t*>(to));
                break;
            }
            default:
                for (int x = 0; x < width; ++x)
                    std::memcpy(to + size_t(width - 1 - x) * size_t(bytes),
                                from + size_t(x) * size_t(bytes), size_t(bytes));
            }
        }
    });
    return out;
}

namespace {

bool editableInPlace(QImage::Format format) {
    return format == QImage::Format_RGB888 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_Grayscale8;
}

uchar* writableBits(QImage& image) {
    uchar* bits = image.bits();
    if (!bits)
        raiseError(err::OutOfMemory, QStringLiteral("Not enough memory for the image being edited"));
    return bits;
}

// The bytes of one row that hold pixels (not the padding after them).
size_t pixelBytes(const QImage& image) {
    return size_t(image.width()) * size_t(image.depth() / 8);
}

} // namespace

namespace {

// XORs the first `bytes` bytes of a row with a pattern that repeats every eight
// bytes, eight bytes at a time (the row need not be aligned).
void xorRow(uchar* row, size_t bytes, uint64_t pattern) {
    size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        uint64_t word;
        std::memcpy(&word, row + i, 8);
        word ^= pattern;
        std::memcpy(row + i, &word, 8);
    }
    for (; i < bytes; ++i)
        row[i] = uchar(row[i] ^ uchar(pattern >> (8 * (i % 8))));
}

} // namespace

bool invertInPlace(QImage& image) {
    if (!editableInPlace(image.format()))
        return false;
    uchar* bits = writableBits(image);
    const qsizetype stride = image.bytesPerLine();
    const size_t bytes = pixelBytes(image);
    // ARGB32 keeps its alpha byte (the highest of each little-endian word); the
    // byte formats invert every byte.
    const uint64_t pattern =
        image.format() == QImage::Format_ARGB32
            ? (Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 0x00FFFFFF00FFFFFFull : 0xFFFFFF00FFFFFF00ull)
            : ~0ull;
    forEachRowBand(image.height(), image.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y)
            xorRow(bits + y * stride, bytes, pattern);
    });
    return true;
}

bool applyLutInPlace(QImage& image, const Lut& lut, bool red, bool green, bool blue) {
    const QImage::Format format = image.format();
    if (!editableInPlace(format) || (format == QImage::Format_Grayscale8 && !(red && green && blue)))
        return false;
    if (format == QImage::Format_ARGB32) {
        applyLut(image, lut, red, green, blue);
        return true;
    }
    // Per byte: grey has one table, 24-bit rows repeat R, G, B.
    Lut identity{};
    for (int v = 0; v < 256; ++v)
        identity[size_t(v)] = uint8_t(v);
    const Lut* channel[3] = {red ? &lut : &identity, green ? &lut : &identity,
                             blue ? &lut : &identity};
    uchar* bits = writableBits(image);
    const qsizetype stride = image.bytesPerLine();
    const size_t bytes = pixelBytes(image);
    const bool grey = format == QImage::Format_Grayscale8;
    forEachRowBand(image.height(), image.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            uchar* row = bits + y * stride;
            if (grey) {
                for (size_t i = 0; i < bytes; ++i)
                    row[i] = lut[row[i]];
            } else {
                for (size_t i = 0; i < bytes; i += 3) {
                    row[i] = (*channel[0])[row[i]];
                    row[i + 1] = (*channel[1])[row[i + 1]];
                    row[i + 2] = (*channel[2])[row[i + 2]];
                }
            }
        }
    });
    return true;
}

bool flipInPlace(QImage& image, bool horizontal) {
    const int depth = image.depth();
    if (depth % 8 != 0 || image.isNull())
        return false;
    uchar* bits = writableBits(image);
    const qsizetype stride = image.bytesPerLine();
    const int width = image.width(), height = image.height();
    const size_t rowBytes = pixelBytes(image);
    if (!horizontal) {
        // Row y trades places with its mirror row; the bands cover the top half.
        forEachRowBand(height / 2, width, [&](int begin, int end) {
            for (int y = begin; y < end; ++y)
                std::swap_ranges(bits + y * stride, bits + y * stride + rowBytes,
                                 bits + (height - 1 - y) * stride);
        });
        return true;
    }
    const int bytes = depth / 8;
    forEachRowBand(height, width, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            uchar* row = bits + y * stride;
            switch (bytes) {
            case 1:
                std::reverse(row, row + width);
                break;
            case 4:
                std::reverse(reinterpret_cast<uint32_t*>(row), reinterpret_cast<uint32_t*>(row) + width);
                break;
            default:
                for (int l = 0, r = width - 1; l < r; ++l, --r)
                    std::swap_ranges(row + size_t(l) * bytes, row + size_t(l + 1) * bytes,
                                     row + size_t(r) * bytes);
            }
        }
    });
    return true;
}

//   rect (may start left of / above the image)
//   +-----------------+
//   |  bg   +---------+---+
//   |       | overlap |   |   image
//   +-------+---------+   |
//           +-------------+
namespace {

// The background as the bytes of one pixel of `format`; empty when the format
// cannot hold it as it is (a grey image and a coloured background).
QByteArray backgroundPixel(QImage::Format format, QRgb background) {
    const auto r = char(qRed(background)), g = char(qGreen(background)),
               b = char(qBlue(background));
    switch (format) {
    case QImage::Format_RGB888: {
        const char bytes[] = {r, g, b};
        return QByteArray(bytes, 3);
    }
    case QImage::Format_ARGB32: {
        const QRgb opaque = background | 0xFF000000u;
        return QByteArray(reinterpret_cast<const char*>(&opaque), sizeof opaque);
    }
    case QImage::Format_Grayscale8:
        return r == g && g == b ? QByteArray(1, r) : QByteArray();
    default:
        return QByteArray();
    }
}

//  rect (the new image)
//  +-----------------------+
//  |   background rows     |
//  |  +------------+       |
//  |bg| overlap:   |  bg   |
//  |  | old pixels |       |
//  |  +------------+       |
//  +-----------------------+
// Each row is written once, in the image's own format: margins from a row of
// background, the middle copied from the old row. Null when the format needs the
// working copy.
QImage paddedInOwnFormat(const QImage& image, const QRect& rect, QRgb background) {
    const QByteArray pixel = backgroundPixel(image.format(), background);
    if (pixel.isEmpty())
        return QImage();
    const size_t depth = size_t(pixel.size());
    QImage out = checked(QImage(rect.size(), image.format()));
    keepDescription(out, image);
    QByteArray fill(qsizetype(size_t(rect.width()) * depth), Qt::Uninitialized);
    for (qsizetype i = 0; i < fill.size(); i += qsizetype(depth))
        std::memcpy(fill.data() + i, pixel.constData(), depth);
    const QRect overlap = rect & image.rect();
    const size_t before = overlap.isEmpty() ? 0 : size_t(overlap.left() - rect.left()) * depth;
    const size_t middle = overlap.isEmpty() ? 0 : size_t(overlap.width()) * depth;
    const size_t rowBytes = size_t(fill.size());
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    forEachRowBand(rect.height(), rect.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            uchar* to = bits + y * stride;
            const int from = rect.top() + y;
            if (overlap.isEmpty() || from < overlap.top() || from > overlap.bottom()) {
                std::memcpy(to, fill.constData(), rowBytes);
                continue;
            }
            std::memcpy(to, fill.constData(), before);
            std::memcpy(to + before, image.constScanLine(from) + size_t(overlap.left()) * depth,
                        middle);
            std::memcpy(to + before + middle, fill.constData(), rowBytes - before - middle);
        }
    });
    return out;
}

} // namespace

QImage cropped(const QImage& image, const QRect& rect, QRgb background) {
    const QRect whole(QPoint(0, 0), image.size());
    if (whole.contains(rect))
        return checked(image.copy(rect));
    const QImage direct = paddedInOwnFormat(image, rect, background);
    if (!direct.isNull())
        return direct;
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
