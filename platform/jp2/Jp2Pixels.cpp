#include "platform/jp2/Jp2Pixels.h"

#include "core/AppError.h"
#include "platform/jp2/Jp2Parallel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace picbasket::jp2 {

namespace {

// One decoded channel: where its samples are and how to read them.
struct Channel {
    const int32_t* data = nullptr;
    uint32_t width = 0, height = 0, stride = 0;
    uint32_t dx = 1, dy = 1;
    int precision = 8;
    bool isSigned = false;
    uint16_t type = GRK_CHANNEL_TYPE_COLOUR;
    uint16_t association = 0;
};

// Which channels make the picture: grey or R, G, B, and an optional alpha.
struct Roles {
    std::vector<const Channel*> colour;
    const Channel* alpha = nullptr;
    bool premultiplied = false;
};

[[noreturn]] void unsupported(const QString& what) {
    raiseError(err::InvalidPicture,
               QStringLiteral("The JPEG 2000 image cannot be shown: %1").arg(what));
}

const grk_palette_data* pendingPalette(const grk_image& image) {
    if (image.paletteApplied_ || !image.meta || !image.meta->color.palette)
        return nullptr;
    return image.meta->color.palette;
}

Channel channelFromComponent(const grk_image_comp& comp) {
    Channel ch;
    ch.data = comp.data;
    ch.width = comp.w;
    ch.height = comp.h;
    ch.stride = comp.stride;
    ch.dx = comp.dx;
    ch.dy = comp.dy;
    ch.precision = comp.prec;
    ch.isSigned = comp.sgnd;
    ch.type = static_cast<uint16_t>(comp.type);
    ch.association = static_cast<uint16_t>(comp.association);
    return ch;
}

std::vector<Channel> collectChannels(const grk_image& image) {
    std::vector<Channel> channels;
    // The library expands a palette while decoding; one left unexpanded would show
    // indexes instead of colours.
    if (pendingPalette(image))
        unsupported(QStringLiteral("its palette could not be applied"));
    for (uint16_t c = 0; c < image.numcomps; ++c)
        channels.push_back(channelFromComponent(image.comps[c]));
    return channels;
}

bool isOpacity(const Channel& ch) {
    return ch.type == GRK_CHANNEL_TYPE_OPACITY || ch.type == GRK_CHANNEL_TYPE_PREMULTIPLIED_OPACITY;
}

// Colour channels in the order their associations give (1 = red or grey).
void orderByAssociation(std::vector<const Channel*>& colour) {
    std::stable_sort(colour.begin(), colour.end(), [](const Channel* a, const Channel* b) {
        const auto key = [](const Channel* c) {
            return c->association >= 1 && c->association <= 3 ? c->association : 100;
        };
        return key(a) < key(b);
    });
}

Roles assignRoles(const std::vector<Channel>& channels) {
    Roles roles;
    for (const Channel& ch : channels) {
        if (isOpacity(ch) && !roles.alpha) {
            roles.alpha = &ch;
            roles.premultiplied = ch.type == GRK_CHANNEL_TYPE_PREMULTIPLIED_OPACITY;
        } else if (!isOpacity(ch)) {
            roles.colour.push_back(&ch);
        }
    }
    orderByAssociation(roles.colour);
    // Without channel definitions, two channels are grey and alpha, four are RGB and alpha.
    if (!roles.alpha && (roles.colour.size() == 2 || roles.colour.size() == 4)) {
        roles.alpha = roles.colour.back();
        roles.colour.pop_back();
    }
    if (roles.colour.empty())
        unsupported(QStringLiteral("it has no colour channel"));
    roles.colour.resize(roles.colour.size() >= 3 ? 3 : 1);
    return roles;
}

// For every output column (or row), the sample index in a channel sub-sampled by step.
std::vector<uint32_t> sampleIndexes(uint32_t origin, uint32_t count, uint32_t step,
                                    uint32_t samples) {
    std::vector<uint32_t> index(count);
    const uint32_t first = (origin + step - 1) / step;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t at = (origin + i) / step;
        index[i] = std::min(at >= first ? at - first : 0, samples - 1);
    }
    return index;
}

// Reads one channel on the image's full grid, as unsigned values of its precision.
class Sampler {
public:
    Sampler(const Channel& ch, const grk_image& image, uint32_t width, uint32_t height)
        : ch_(ch), columns_(sampleIndexes(image.x0, width, ch.dx, ch.width)),
          rows_(sampleIndexes(image.y0, height, ch.dy, ch.height)),
          offset_(ch.isSigned ? 1 << (ch.precision - 1) : 0), max_((1 << ch.precision) - 1) {}

    int32_t at(uint32_t x, uint32_t y) const {
        const int32_t v =
            ch_.data[static_cast<size_t>(rows_[y]) * ch_.stride + columns_[x]] + offset_;
        return std::clamp(v, 0, max_);
    }
    int32_t max() const { return max_; }
    int precision() const { return ch_.precision; }

private:
    const Channel& ch_;
    std::vector<uint32_t> columns_, rows_;
    int32_t offset_, max_;
};

// Scales a value of 0..fromMax to 0..toMax, rounded.
inline uint32_t rescale(int32_t v, int32_t fromMax, uint32_t toMax) {
    if (static_cast<uint32_t>(fromMax) == toMax)
        return static_cast<uint32_t>(v);
    return static_cast<uint32_t>(
        (static_cast<uint64_t>(v) * toMax + static_cast<uint32_t>(fromMax) / 2) /
        static_cast<uint32_t>(fromMax));
}

// sYCC to RGB (the full-range conversion), on values of the luma's precision.
void syccToRgb(int32_t y, int32_t cb, int32_t cr, int32_t max, int32_t rgb[3]) {
    const double half = (max + 1) / 2.0;
    const double b = cb - half, r = cr - half;
    const double out[3] = {y + 1.402 * r, y - 0.344136 * b - 0.714136 * r, y + 1.772 * b};
    for (int i = 0; i < 3; ++i)
        rgb[i] =
            static_cast<int32_t>(std::clamp(std::nearbyint(out[i]), 0.0, static_cast<double>(max)));
}

QImage::Format outputFormat(const Roles& roles, bool deep) {
    if (roles.colour.size() == 1 && !roles.alpha)
        return deep ? QImage::Format_Grayscale16 : QImage::Format_Grayscale8;
    if (!roles.alpha)
        return deep ? QImage::Format_RGBX64 : QImage::Format_RGB888;
    if (roles.premultiplied)
        return deep ? QImage::Format_RGBA64_Premultiplied : QImage::Format_ARGB32_Premultiplied;
    return deep ? QImage::Format_RGBA64 : QImage::Format_ARGB32;
}

// Fills the QImage from the samplers; channelsOut is 1 (grey) or 4 (R, G, B, A).
class PixelWriter {
public:
    PixelWriter(QImage& out, bool deep)
        : bits_(out.bits()), bytesPerLine_(out.bytesPerLine()), format_(out.format()),
          top_(deep ? 65535u : 255u) {}

    // rgba[3] is the opacity, top() when the image has no alpha.
    void put(uint32_t x, uint32_t y, const uint32_t rgba[4]) const {
        uchar* row = bits_ + static_cast<qsizetype>(y) * bytesPerLine_;
        switch (format_) {
        case QImage::Format_Grayscale8:
            row[x] = static_cast<uchar>(rgba[0]);
            break;
        case QImage::Format_Grayscale16:
            reinterpret_cast<quint16*>(row)[x] = static_cast<quint16>(rgba[0]);
            break;
        case QImage::Format_RGB888:
            for (uint32_t i = 0; i < 3; ++i)
                row[x * 3 + i] = static_cast<uchar>(rgba[i]);
            break;
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            reinterpret_cast<QRgb*>(row)[x] =
                qRgba(int(rgba[0]), int(rgba[1]), int(rgba[2]), int(rgba[3]));
            break;
        default: {
            auto* px = reinterpret_cast<quint16*>(row) + x * 4;
            for (int i = 0; i < 4; ++i)
                px[i] = static_cast<quint16>(rgba[i]);
        }
        }
    }
    uint32_t top() const { return top_; }

private:
    uchar* bits_;
    qsizetype bytesPerLine_;
    QImage::Format format_;
    uint32_t top_;
};

// One output pixel (R, G, B, A) scaled to 0..top; grey is repeated in R, G and B.
std::array<uint32_t, 4> pixelAt(const std::vector<Sampler>& colour,
                                const std::optional<Sampler>& alpha, bool sycc, uint32_t top,
                                uint32_t x, uint32_t y) {
    std::array<uint32_t, 4> px{0, 0, 0, top};
    if (alpha)
        px[3] = rescale(alpha->at(x, y), alpha->max(), top);
    const int32_t luma = colour[0].at(x, y);
    if (colour.size() == 1) {
        px[0] = px[1] = px[2] = rescale(luma, colour[0].max(), top);
        return px;
    }
    const int32_t max = colour[0].max();
    const auto chroma = [&](int i) {
        return static_cast<int32_t>(
            rescale(colour[i].at(x, y), colour[i].max(), static_cast<uint32_t>(max)));
    };
    int32_t rgb[3] = {luma, chroma(1), chroma(2)};
    if (sycc)
        syccToRgb(rgb[0], rgb[1], rgb[2], max, rgb);
    for (int i = 0; i < 3; ++i)
        px[i] = rescale(rgb[i], max, top);
    return px;
}

} // namespace

void checkDecodable(const grk_image& image) {
    if (image.x1 <= image.x0 || image.y1 <= image.y0)
        unsupported(QStringLiteral("it has no pixels"));
    if (!isWithinImageLimits(image.x1 - image.x0, image.y1 - image.y0))
        unsupported(QStringLiteral("it is too large (%1 x %2)")
                        .arg(image.x1 - image.x0)
                        .arg(image.y1 - image.y0));
    if (image.numcomps < 1 || image.numcomps > 4 || !image.comps)
        unsupported(QStringLiteral("it has %1 components").arg(image.numcomps));
    for (uint16_t c = 0; c < image.numcomps; ++c) {
        const grk_image_comp& comp = image.comps[c];
        if (comp.prec < 1 || comp.prec > 16)
            unsupported(QStringLiteral("a component has %1 bits").arg(comp.prec));
        if (comp.dx < 1 || comp.dy < 1)
            unsupported(QStringLiteral("a component has an invalid sub-sampling"));
    }
    if (const grk_palette_data* pal = pendingPalette(image))
        for (int c = 0; c < pal->num_channels; ++c)
            if (pal->channel_prec && (pal->channel_prec[c] < 1 || pal->channel_prec[c] > 16))
                unsupported(
                    QStringLiteral("a palette column has %1 bits").arg(pal->channel_prec[c]));
}

QImage imageFromComponents(const grk_image& image) {
    checkDecodable(image);
    const std::vector<Channel> channels = collectChannels(image);
    for (const Channel& ch : channels)
        if (!ch.data || ch.width == 0 || ch.height == 0 || ch.precision < 1 || ch.precision > 16)
            unsupported(QStringLiteral("a component was not decoded"));
    const Roles roles = assignRoles(channels);
    const uint32_t width = image.x1 - image.x0, height = image.y1 - image.y0;

    std::vector<Sampler> samplers;
    for (const Channel* ch : roles.colour)
        samplers.emplace_back(*ch, image, width, height);
    std::optional<Sampler> alpha;
    if (roles.alpha)
        alpha.emplace(*roles.alpha, image, width, height);
    bool deep = false;
    for (const Channel& ch : channels)
        deep = deep || ch.precision > 8;

    QImage out(static_cast<int>(width), static_cast<int>(height), outputFormat(roles, deep));
    if (out.isNull())
        raiseError(err::OutOfMemory,
                   QStringLiteral("Not enough memory for a %1 x %2 image").arg(width).arg(height));
    PixelWriter writer(out, deep);
    const bool sycc = image.color_space == GRK_CLRSPC_SYCC && samplers.size() == 3;
    forRowChunks(static_cast<int>(height), [&](int first, int last) {
        for (auto y = static_cast<uint32_t>(first); y < static_cast<uint32_t>(last); ++y)
            for (uint32_t x = 0; x < width; ++x)
                writer.put(x, y, pixelAt(samplers, alpha, sycc, writer.top(), x, y).data());
    });
    return out;
}

} // namespace picbasket::jp2
