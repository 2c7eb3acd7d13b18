#include "platform/imagebox/edit/Resample.h"

#include "platform/imagebox/edit/PixelOps.h"
#include "platform/imagebox/edit/RowBands.h"

#include <QTransform>
#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <vector>

namespace picbasket::pixelops {

static_assert(std::endian::native == std::endian::little,
              "the filters address the bytes of 0xAARRGGBB words as B, G, R, A");

namespace {

constexpr int WeightBits = 14;
constexpr int32_t WeightOne = 1 << WeightBits;

// For each output position along one axis, the run of input positions it reads
// and their fixed-point weights (summing to WeightOne).
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int32_t> weights; // `stride` entries per output position
    int stride = 0;
};

// centre(i): input coordinate under output i; reach: half width of the kernel in
// input pixels; kernel(d): weight at distance d (input pixels) from the centre.
Taps makeTaps(int inSize, int outSize, const std::function<double(int)>& centre, double reach,
              const std::function<double(double)>& kernel) {
    Taps taps;
    taps.stride = int(std::ceil(reach)) * 2 + 2;
    taps.first.resize(size_t(outSize));
    taps.count.resize(size_t(outSize));
    taps.weights.assign(size_t(outSize) * size_t(taps.stride), 0);
    std::vector<double> w(size_t(taps.stride));
    for (int i = 0; i < outSize; ++i) {
        const double c = centre(i);
        const int lo = std::max(0, int(std::floor(c - reach)));
        const int hi = std::min(inSize, int(std::ceil(c + reach)));
        const int n = std::clamp(hi - lo, 1, taps.stride);
        double sum = 0.0;
        for (int k = 0; k < n; ++k)
            sum += w[size_t(k)] = kernel(lo + k + 0.5 - c);
        if (sum == 0.0) {
            std::fill(w.begin(), w.begin() + n, 0.0);
            w[0] = sum = 1.0;
        }
        int32_t* out = &taps.weights[size_t(i) * size_t(taps.stride)];
        int32_t total = 0;
        int peak = 0;
        for (int k = 0; k < n; ++k) {
            out[k] = int32_t(std::nearbyint(w[size_t(k)] / sum * WeightOne));
            total += out[k];
            if (out[k] > out[peak])
                peak = k;
        }
        out[peak] += WeightOne - total;
        taps.first[size_t(i)] = lo;
        taps.count[size_t(i)] = n;
    }
    return taps;
}

inline uint8_t clamp8(int32_t acc) {
    return uint8_t(std::clamp((acc + WeightOne / 2) >> WeightBits, 0, 255));
}

// Premultiplied colour may not exceed its alpha after negative filter lobes.
void clampToAlpha(QImage& image) {
    uint8_t* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    forEachRowBand(image.height(), image.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            uint8_t* p = bits + y * stride;
            for (int x = 0; x < image.width(); ++x, p += 4)
                for (int c = 0; c < 3; ++c)
                    p[c] = std::min(p[c], p[3]);
        }
    });
}

void filterRow(const uint8_t* src, uint8_t* dst, int outWidth, const Taps& taps) {
    for (int x = 0; x < outWidth; ++x) {
        const int32_t* w = &taps.weights[size_t(x) * size_t(taps.stride)];
        const uint8_t* s = src + size_t(taps.first[size_t(x)]) * 4;
        int32_t acc[4] = {0, 0, 0, 0};
        for (int k = 0; k < taps.count[size_t(x)]; ++k, s += 4)
            for (int c = 0; c < 4; ++c)
                acc[c] += w[k] * s[c];
        for (int c = 0; c < 4; ++c)
            dst[x * 4 + c] = clamp8(acc[c]);
    }
}

QImage filterRows(const QImage& in, int outWidth, const Taps& taps) {
    QImage out = checked(QImage(outWidth, in.height(), in.format()));
    uint8_t* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    forEachRowBand(in.height(), outWidth, [&](int begin, int end) {
        for (int y = begin; y < end; ++y)
            filterRow(in.constScanLine(y), bits + y * stride, outWidth, taps);
    });
    return out;
}

QImage filterColumns(const QImage& in, int outHeight, const Taps& taps) {
    QImage out = checked(QImage(in.width(), outHeight, in.format()));
    const size_t n = size_t(in.width()) * 4;
    uint8_t* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    forEachRowBand(outHeight, in.width(), [&](int begin, int end) {
        std::vector<int32_t> acc(n);
        for (int y = begin; y < end; ++y) {
            std::fill(acc.begin(), acc.end(), 0);
            const int32_t* w = &taps.weights[size_t(y) * size_t(taps.stride)];
            for (int k = 0; k < taps.count[size_t(y)]; ++k) {
                const uint8_t* s = in.constScanLine(taps.first[size_t(y)] + k);
                const int32_t wk = w[k];
                for (size_t i = 0; i < n; ++i)
                    acc[i] += wk * s[i];
            }
            uint8_t* dst = bits + y * stride;
            for (size_t i = 0; i < n; ++i)
                dst[i] = clamp8(acc[i]);
        }
    });
    return out;
}

double catmullRom(double d) {
    d = std::abs(d);
    if (d < 1.0)
        return 1.5 * d * d * d - 2.5 * d * d + 1.0;
    if (d < 2.0)
        return -0.5 * d * d * d + 2.5 * d * d - 4.0 * d + 2.0;
    return 0.0;
}

Taps resampleTaps(int inSize, int outSize) {
    const double ratio = double(inSize) / outSize;
    const double widen = std::max(1.0, ratio);
    return makeTaps(
        inSize, outSize, [ratio](int i) { return (i + 0.5) * ratio; }, 2.0 * widen,
        [widen](double d) { return catmullRom(d / widen); });
}

Taps gaussianTaps(int size, double sigma) {
    const double reach = std::max(1.0, 3.0 * sigma);
    return makeTaps(
        size, size, [](int i) { return i + 0.5; }, reach,
        [sigma](double d) { return std::exp(-d * d / (2.0 * sigma * sigma)); });
}

// Runs `filter` on a premultiplied copy when the working copy has alpha.
QImage premultipliedRun(const QImage& work, const std::function<QImage(const QImage&)>& filter) {
    if (!work.hasAlphaChannel())
        return filter(work);
    QImage pre = checked(work.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    QImage out = filter(pre);
    clampToAlpha(out);
    return checked(out.convertToFormat(QImage::Format_ARGB32));
}

} // namespace

QImage resampled(const QImage& image, int width, int height) {
    const QImage work = toWorking(image);
    const QImage out = premultipliedRun(work, [&](const QImage& in) {
        QImage rows = in.width() == width ? in : filterRows(in, width, resampleTaps(in.width(), width));
        return in.height() == height ? rows
                                     : filterColumns(rows, height, resampleTaps(in.height(), height));
    });
    return fromWorking(out, image);
}

QImage gaussianBlurred(const QImage& work, double sigma) {
    return premultipliedRun(work, [&](const QImage& in) {
        QImage rows = filterRows(in, in.width(), gaussianTaps(in.width(), sigma));
        return filterColumns(rows, in.height(), gaussianTaps(in.height(), sigma));
    });
}

QImage unsharpMasked(const QImage& work, double sigma, double amount) {
    const QImage blurred = gaussianBlurred(work, sigma);
    QImage out = checked(work.copy());
    uint8_t* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    forEachRowBand(out.height(), out.width(), [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            uint8_t* p = bits + y * stride;
            const uint8_t* b = blurred.constScanLine(y);
            for (int i = 0; i < out.width() * 4; ++i) {
                if (i % 4 == 3)
                    continue;
                const double v = p[i] + amount * (p[i] - b[i]);
                p[i] = uint8_t(std::clamp(std::nearbyint(v), 0.0, 255.0));
            }
        }
    });
    return out;
}

namespace {

// Reads pixel (x, y) of a 32-bit image, or the background outside it.
inline QRgb sampleAt(const QImage& src, int x, int y, QRgb background) {
    if (x < 0 || y < 0 || x >= src.width() || y >= src.height())
        return background;
    return reinterpret_cast<const QRgb*>(src.constScanLine(y))[x];
}

// Weighted mix of two pixels, two channels at a time (weights out of 256).
inline uint32_t mix2(uint32_t a, uint32_t b, uint32_t wb) {
    const uint32_t wa = 256 - wb;
    const uint32_t rb = ((a & 0x00FF00FFu) * wa + (b & 0x00FF00FFu) * wb) >> 8;
    const uint32_t ag = ((a >> 8) & 0x00FF00FFu) * wa + ((b >> 8) & 0x00FF00FFu) * wb;
    return (rb & 0x00FF00FFu) | (ag & 0xFF00FF00u);
}

// Bilinear mix of the four pixels around (fx, fy) in pixel-centre coordinates.
inline QRgb bilinear(const QImage& src, double fx, double fy, QRgb background) {
    const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    const uint32_t wx = uint32_t((fx - x0) * 256.0), wy = uint32_t((fy - y0) * 256.0);
    QRgb p00, p10, p01, p11;
    if (x0 >= 0 && y0 >= 0 && x0 + 1 < src.width() && y0 + 1 < src.height()) {
        const auto* top = reinterpret_cast<const QRgb*>(src.constScanLine(y0)) + x0;
        const auto* bottom = reinterpret_cast<const QRgb*>(src.constScanLine(y0 + 1)) + x0;
        p00 = top[0], p10 = top[1], p01 = bottom[0], p11 = bottom[1];
    } else {
        p00 = sampleAt(src, x0, y0, background), p10 = sampleAt(src, x0 + 1, y0, background);
        p01 = sampleAt(src, x0, y0 + 1, background), p11 = sampleAt(src, x0 + 1, y0 + 1, background);
    }
    return mix2(mix2(p00, p10, wx), mix2(p01, p11, wx), wy);
}

QImage rotatedExactly(const QImage& image, int quarterTurns) {
    const QImage out = checked(image.transformed(QTransform().rotate(90.0 * quarterTurns)));
    return normalised(out, image);
}

} // namespace

//        +----+            canvas = rotated bounds
//       /      \   <- corners outside the turned image take the background
//      +   img  +
//       \      /
//        +----+
QImage rotated(const QImage& image, double degrees, bool smooth, QRgb background) {
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0)
        turn += 360.0;
    if (turn == 0.0)
        return image;
    if (std::fmod(turn, 90.0) == 0.0)
        return rotatedExactly(image, int(turn / 90.0));
    const double rad = turn * M_PI / 180.0;
    const double c = std::cos(rad), s = std::sin(rad);
    const int w = image.width(), h = image.height();
    const int outW = int(std::ceil(std::abs(w * c) + std::abs(h * s) - 1e-6));
    const int outH = int(std::ceil(std::abs(w * s) + std::abs(h * c) - 1e-6));
    QImage src = toWorking(image);
    if (src.hasAlphaChannel())
        src = checked(src.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    QImage out = checked(QImage(outW, outH, src.format()));
    // Each output pixel centre turned back (counter-clockwise) into the source.
    const double dx0 = 0.5 - outW / 2.0;
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    forEachRowBand(outH, outW, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            auto* dst = reinterpret_cast<QRgb*>(bits + y * stride);
            const double dy = y + 0.5 - outH / 2.0;
            const double sx0 = c * dx0 + s * dy + w / 2.0;
            const double sy0 = -s * dx0 + c * dy + h / 2.0;
            for (int x = 0; x < outW; ++x) {
                const double sx = sx0 + c * x;
                const double sy = sy0 - s * x;
                dst[x] = smooth ? bilinear(src, sx - 0.5, sy - 0.5, background)
                                : sampleAt(src, int(std::floor(sx)), int(std::floor(sy)), background);
            }
        }
    });
    if (out.format() == QImage::Format_ARGB32_Premultiplied)
        out = checked(out.convertToFormat(QImage::Format_ARGB32));
    return fromWorking(out, image);
}

} // namespace picbasket::pixelops
