#include "platform/gdiplus/BicubicResampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace picbasket {

namespace {

// Cubic convolution kernel with a = -0.5 (zero outside |x| < 2).
float cubic(float x) {
    constexpr float a = -0.5f;
    x = std::fabs(x);
    if (x < 1.0f)
        return ((a + 2.0f) * x - (a + 3.0f)) * x * x + 1.0f;
    if (x < 2.0f)
        return ((a * x - 5.0f * a) * x + 8.0f * a) * x - 4.0f * a;
    return 0.0f;
}

// The source pixels one output pixel reads, with their normalised weights.
struct Taps {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Taps> tapsFor(int sourceSize, int targetSize) {
    const double scale = double(sourceSize) / targetSize;
    const double widen = std::max(1.0, scale);
    const double support = 2.0 * widen;
    std::vector<Taps> all(static_cast<size_t>(targetSize));
    for (int i = 0; i < targetSize; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        const int first = std::max(0, int(std::floor(centre - support)) + 1);
        const int last = std::min(sourceSize - 1, int(std::ceil(centre + support)) - 1);
        Taps& taps = all[size_t(i)];
        taps.first = first;
        float sum = 0.0f;
        for (int s = first; s <= last; ++s) {
            const float w = cubic(float((s - centre) / widen));
            taps.weights.push_back(w);
            sum += w;
        }
        if (sum != 0.0f)
            for (float& w : taps.weights)
                w /= sum;
    }
    return all;
}

// Resamples every row of the source to taps.size() pixels of 4 float channels.
void horizontalPass(const QImage& source, const std::vector<Taps>& taps, std::vector<float>& out) {
    const int rows = source.height();
    const size_t outW = taps.size();
    out.assign(size_t(rows) * outW * 4, 0.0f);
    for (int y = 0; y < rows; ++y) {
        const uchar* in = source.constScanLine(y);
        float* row = out.data() + size_t(y) * outW * 4;
        for (size_t x = 0; x < outW; ++x) {
            const Taps& t = taps[x];
            float acc[4] = {0, 0, 0, 0};
            const uchar* p = in + size_t(t.first) * 4;
            for (float w : t.weights) {
                for (int c = 0; c < 4; ++c)
                    acc[c] += w * p[c];
                p += 4;
            }
            for (int c = 0; c < 4; ++c)
                row[x * 4 + c] = acc[c];
        }
    }
}

uchar toByte(float v) {
    return uchar(std::clamp(std::lround(v), 0L, 255L));
}

// Resamples the columns of the row pass into the target's rows.
void verticalPass(const std::vector<float>& in, int width, const std::vector<Taps>& taps,
                  QImage& target) {
    const size_t rowFloats = size_t(width) * 4;
    std::vector<float> acc(rowFloats);
    for (int y = 0; y < target.height(); ++y) {
        const Taps& t = taps[size_t(y)];
        std::fill(acc.begin(), acc.end(), 0.0f);
        for (size_t k = 0; k < t.weights.size(); ++k) {
            const float w = t.weights[k];
            const float* src = in.data() + size_t(t.first + int(k)) * rowFloats;
            for (size_t i = 0; i < rowFloats; ++i)
                acc[i] += w * src[i];
        }
        uchar* out = target.scanLine(y);
        // Channels are in memory order B, G, R, A; the overshoot of the kernel must
        // not leave a colour above its alpha in premultiplied data.
        for (int x = 0; x < width; ++x) {
            const uchar a = toByte(acc[size_t(x) * 4 + 3]);
            for (int c = 0; c < 3; ++c)
                out[x * 4 + c] = std::min(toByte(acc[size_t(x) * 4 + c]), a);
            out[x * 4 + 3] = a;
        }
    }
}

} // namespace

QImage resampleBicubic(const QImage& source, int w, int h) {
    if (source.isNull() || w <= 0 || h <= 0)
        return {};
    const QImage src = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (src.width() == w && src.height() == h)
        return src;
    QImage target(w, h, QImage::Format_ARGB32_Premultiplied);
    if (target.isNull())
        return {};
    std::vector<float> rows;
    horizontalPass(src, tapsFor(src.width(), w), rows);
    verticalPass(rows, w, tapsFor(src.height(), h), target);
    return target;
}

} // namespace picbasket
