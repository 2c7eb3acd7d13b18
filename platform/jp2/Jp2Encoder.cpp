#include "platform/jp2/Jp2Encoder.h"

#include "core/AppError.h"
#include "platform/imagebox/edit/RowBands.h"
#include "platform/jp2/GrokSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cmath>
#include <optional>
#include <cstdio>
#include <sys/mman.h>
#include <vector>

namespace picbasket::jp2 {

namespace {

// The image in one of the layouts the encoder reads directly, with what it holds.
struct Source {
    QImage pixels;      // Grayscale8, Grayscale16, RGB888, RGB32, ARGB32, RGBA8888, RGBX64 or RGBA64
    int components = 0; // channels coded: 1, 3 or 4
    int precision = 8;  // 8 or 16 bits per channel
    int stepPerPixel = 1;                 // samples stored per pixel (RGB32 and RGBX64 keep a filler)
    std::array<int, 4> offset{0, 1, 2, 3}; // where R, G, B, A (or grey) sit within a pixel
    bool hasAlpha = false;
};

// 32-bit pixels are 0xAARRGGBB words: their bytes run B, G, R, A in memory on a
// little-endian machine and A, R, G, B on a big-endian one.
constexpr std::array<int, 4> wordOffsets =
    Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? std::array<int, 4>{2, 1, 0, 3} : std::array<int, 4>{1, 2, 3, 0};

bool tableIsGrey(const QList<QRgb>& table) {
    return std::all_of(table.begin(), table.end(), [](QRgb c) {
        return qAlpha(c) == 255 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
    });
}

bool isDeepFormat(const QImage& image) {
    const QPixelFormat pf = image.pixelFormat();
    return pf.colorModel() == QPixelFormat::RGB && pf.redSize() > 8;
}

Source makeSource(const QImage& image) {
    Source s;
    const QImage::Format f = image.format();
    if (f == QImage::Format_Grayscale16) {
        s = {image, 1, 16, 1, {0, 1, 2, 3}, false};
    } else if (f == QImage::Format_Grayscale8 || f == QImage::Format_Alpha8) {
        s = {image.convertToFormat(QImage::Format_Grayscale8), 1, 8, 1, {0, 1, 2, 3}, false};
    } else if (image.colorCount() > 0 && tableIsGrey(image.colorTable())) {
        s = {image.convertToFormat(QImage::Format_Grayscale8), 1, 8, 1, {0, 1, 2, 3}, false};
    } else if (f == QImage::Format_RGB32) {
        // Read in place: a conversion would copy the whole image first.
        s = {image, 3, 8, 4, wordOffsets, false};
    } else if (f == QImage::Format_ARGB32) {
        s = {image, 4, 8, 4, wordOffsets, true};
    } else if (isDeepFormat(image)) {
        if (image.hasAlphaChannel())
            s = {image.convertToFormat(QImage::Format_RGBA64), 4, 16, 4, {0, 1, 2, 3}, true};
        else
            s = {image.convertToFormat(QImage::Format_RGBX64), 3, 16, 4, {0, 1, 2, 3}, false};
    } else if (image.hasAlphaChannel()) {
        s = {image.convertToFormat(QImage::Format_RGBA8888), 4, 8, 4, {0, 1, 2, 3}, true};
    } else {
        s = {image.convertToFormat(QImage::Format_RGB888), 3, 8, 3, {0, 1, 2, 3}, false};
    }
    if (s.pixels.isNull())
        raiseError(err::OutOfMemory,
                   QStringLiteral("Not enough memory to prepare the image for encoding"));
    return s;
}

template <class Sample> void copyRows(const Source& s, grk_image* image, int first, int last) {
    const int width = s.pixels.width();
    for (int y = first; y < last; ++y) {
        const auto* row = reinterpret_cast<const Sample*>(s.pixels.constScanLine(y));
        for (int c = 0; c < s.components; ++c) {
            const grk_image_comp& comp = image->comps[c];
            int32_t* out = comp.data + static_cast<size_t>(y) * comp.stride;
            const Sample* in = row + s.offset[size_t(c)];
            for (int x = 0; x < width; ++x, in += s.stepPerPixel)
                out[x] = *in;
        }
    }
}

// Asks for huge pages under the samples Grok allocated, before they are first
// written: faulting in tens of megabytes 4 KiB at a time costs more than the copy
// itself, and a batch writes a fresh set for every row.
void adviseHugePages(const grk_image* image) {
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t hugePage = uintptr_t(2) << 20;
    for (uint16_t c = 0; c < image->numcomps; ++c) {
        const grk_image_comp& comp = image->comps[c];
        const auto start = reinterpret_cast<uintptr_t>(comp.data);
        const uintptr_t end = start + uintptr_t(comp.stride) * comp.h * sizeof(int32_t);
        const uintptr_t first = (start + hugePage - 1) & ~(hugePage - 1);
        const uintptr_t last = end & ~(hugePage - 1);
        if (last > first)
            madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#else
    (void)image;
#endif
}

GrokRef makeGrokImage(const Source& s) {
    std::vector<grk_image_comp> params(static_cast<size_t>(s.components));
    for (int c = 0; c < s.components; ++c) {
        grk_image_comp& p = params[static_cast<size_t>(c)];
        p = {};
        p.w = static_cast<uint32_t>(s.pixels.width());
        p.h = static_cast<uint32_t>(s.pixels.height());
        p.dx = p.dy = 1;
        p.prec = static_cast<uint8_t>(s.precision);
        p.sgnd = false;
        const bool alpha = s.hasAlpha && c == s.components - 1;
        p.type = alpha ? GRK_CHANNEL_TYPE_OPACITY : GRK_CHANNEL_TYPE_COLOUR;
        p.association =
            alpha ? GRK_CHANNEL_ASSOC_WHOLE_IMAGE : static_cast<GRK_CHANNEL_ASSOC>(c + 1);
    }
    const GRK_COLOR_SPACE space = s.components == 1 ? GRK_CLRSPC_GRAY : GRK_CLRSPC_SRGB;
    grk_image* image = grk_image_new(static_cast<uint16_t>(s.components), params.data(), space);
    GrokRef owner(image ? &image->obj : nullptr);
    if (!image || !image->comps || !image->comps[s.components - 1].data)
        raiseError(err::OutOfMemory, QStringLiteral("Not enough memory to encode the image"));
    image->x0 = image->y0 = 0;
    image->x1 = params[0].w;
    image->y1 = params[0].h;
    for (int c = 0; c < s.components; ++c) {
        image->comps[c].type = params[static_cast<size_t>(c)].type;
        image->comps[c].association = params[static_cast<size_t>(c)].association;
    }
    adviseHugePages(image);
    // Within the caller's edit thread limit: a batch row beside others copies on
    // its own thread, a single save uses every core.
    pixelops::forEachRowBand(s.pixels.height(), s.pixels.width(), [&](int first, int last) {
        if (s.precision == 16)
            copyRows<uint16_t>(s, image, first, last);
        else
            copyRows<uint8_t>(s, image, first, last);
    });
    return owner;
}

// As many wavelet levels as the smaller side allows, at most the usual five.
uint8_t resolutionsFor(const QImage& image) {
    uint8_t levels = 1;
    for (int side = std::min(image.width(), image.height()); side >= 2 && levels < 6; side /= 2)
        ++levels;
    return levels;
}

grk_cparameters makeParameters(const Source& s, Container container, int rate) {
    grk_cparameters p;
    grk_compress_set_default_params(&p);
    p.cod_format = container == Container::Jp2 ? GRK_FMT_JP2 : GRK_FMT_J2K;
    p.numresolution = resolutionsFor(s.pixels);
    p.mct = s.components >= 3 ? 1 : 0;
    p.numlayers = 1;
    if (rate == losslessRate) {
        p.irreversible = false;
        p.layer_rate[0] = 0;
        p.allocationByRateDistoration = false;
    } else {
        p.irreversible = true;
        p.layer_rate[0] = compressionRatioForRate(rate);
        p.allocationByRateDistoration = true;
    }
    return p;
}

// Whether a profile's colour space (bytes 16 to 19 of its header) is the one
// of the components coded.
bool profileFits(const QByteArray& icc, int components) {
    if (icc.size() < 128)
        return false;
    const QByteArray space = icc.mid(16, 4);
    return components == 1 ? space == "GRAY" : space == "RGB ";
}

// The profile and the capture resolution of a JP2 file; Grok frees the
// profile's copy with the image.
void describe(grk_image* image, grk_cparameters& params, const Source& s,
              const Description& description) {
    if (params.cod_format != GRK_FMT_JP2)
        return;
    if (profileFits(description.iccProfile, s.hasAlpha ? s.components - 1 : s.components)) {
        if (!image->meta)
            image->meta = grk_image_meta_new();
        if (image->meta) {
            const auto length = uint32_t(description.iccProfile.size());
            image->meta->color.icc_profile_buf = new uint8_t[length];
            std::copy_n(description.iccProfile.constData(), length,
                        image->meta->color.icc_profile_buf);
            image->meta->color.icc_profile_len = length;
            image->color_space = GRK_CLRSPC_ICC;
        }
    }
    // The box counts pixels per metre, vertical first.
    constexpr double metresPerInch = 0.0254;
    if (description.xDpi > 0 && description.yDpi > 0) {
        params.write_capture_resolution = true;
        params.capture_resolution[0] = description.yDpi / metresPerInch;
        params.capture_resolution[1] = description.xDpi / metresPerInch;
    }
}

// A resolution in the resolution box's form: numerator and denominator of 16
// bits and a power of ten, in pixels per metre. Grok approximates the fraction
// (300 dpi came out as 300.18); a whole number of dots per inch is exactly
// dpi x 5000 / 127 per metre.
struct BoxResolution {
    uint16_t numerator = 0, denominator = 1;
    int8_t exponent = 0;
};

// numerator / denominator x 10^exponent, when the numerator is whole and fits
// in 16 bits once its trailing zeros go to the exponent.
std::optional<BoxResolution> boxFraction(double numeratorValue, uint16_t denominator) {
    const double off = std::abs(numeratorValue - std::nearbyint(numeratorValue));
    if (off > 1e-9 * std::max(1.0, numeratorValue) || numeratorValue <= 0 ||
        numeratorValue > 1e12)
        return std::nullopt;
    auto numerator = static_cast<int64_t>(std::nearbyint(numeratorValue));
    int exponent = 0;
    while (numerator > 65535 && numerator % 10 == 0) {
        numerator /= 10;
        ++exponent;
    }
    if (numerator > 65535)
        return std::nullopt;
    return BoxResolution{static_cast<uint16_t>(numerator), denominator,
                         static_cast<int8_t>(exponent)};
}

// A source that counts per metre (a PNG's pHYs, a BMP header: 2835 is 72.009
// dpi) has a whole number of pixels per metre instead.
std::optional<BoxResolution> exactBoxResolution(double dpi) {
    if (auto perInch = boxFraction(dpi * 5000.0, 127))
        return perInch;
    return boxFraction(dpi / 0.0254, 1);
}

void putBe16(QByteArray& bytes, qint64 at, uint16_t v) {
    bytes[at] = char(v >> 8);
    bytes[at + 1] = char(v & 0xFF);
}

// Writes the exact figures into the capture resolution box of the file, where
// both sides have them; the box's place is left as Grok wrote it.
void makeCaptureResolutionExact(const QString& file, const Description& description) {
    const auto v = exactBoxResolution(description.yDpi);
    const auto h = exactBoxResolution(description.xDpi);
    QFile f(file);
    if (!v || !h || !f.open(QIODevice::ReadWrite))
        return;
    // The header boxes come first and are small; the codestream follows them.
    QByteArray head = f.read(1 << 20);
    const qint64 codestream = head.indexOf("jp2c");
    const qint64 box = head.indexOf("resc");
    if (box < 8 || (codestream >= 0 && box > codestream) || box + 4 + 10 > head.size())
        return;
    const qint64 at = box + 4;
    putBe16(head, at, v->numerator);
    putBe16(head, at + 2, v->denominator);
    putBe16(head, at + 4, h->numerator);
    putBe16(head, at + 6, h->denominator);
    head[at + 8] = char(v->exponent);
    head[at + 9] = char(h->exponent);
    f.seek(at);
    f.write(head.mid(at, 10));
}

// The bytes of a JP2 file around its codestream: signature, file type, the
// header box (image header, colour box, channel definitions of an opacity
// channel, capture resolution) and the codestream box's own header.
uint64_t jp2BoxBytes(const grk_image* image, const grk_cparameters& params, const Source& s) {
    uint64_t bytes = 12 + 20 + 8 + 22 + 8;
    const bool profile = image->meta && image->meta->color.icc_profile_len > 0;
    bytes += profile ? 8 + 3 + uint64_t(image->meta->color.icc_profile_len) : 8 + 7;
    if (s.hasAlpha)
        bytes += 8 + 2 + 6 * uint64_t(s.components);
    if (params.write_capture_resolution)
        bytes += 8 + 8 + 10;
    return bytes;
}

// The library sizes the whole file by the rate, boxes included: a colour
// profile of a few kilobytes would leave a small picture almost no codestream.
// The rate is meant for the pixels, so the boxes are added to the budget.
void rateForPixelsOnly(const grk_image* image, grk_cparameters& params, const Source& s) {
    if (params.cod_format != GRK_FMT_JP2 || params.layer_rate[0] <= 0)
        return;
    const double pixelBytes = double(s.components) * s.pixels.width() * s.pixels.height() *
                              s.precision / 8.0;
    const double codestream = pixelBytes / params.layer_rate[0];
    params.layer_rate[0] = pixelBytes / (codestream + double(jp2BoxBytes(image, params, s)));
}

void checkTarget(const QString& path) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        raiseError(err::PathNotFound,
                   QStringLiteral("The folder of \"%1\" does not exist").arg(path));
    if (target.isDir())
        raiseError(err::PermissionDenied, QStringLiteral("\"%1\" is a folder").arg(path));
    if (!folder.isWritable())
        raiseError(err::PermissionDenied,
                   QStringLiteral("Cannot write to the folder of \"%1\"").arg(path));
}

// A short hidden name in the target's folder: its length does not depend on the
// target's, so a target whose name is near the file system's limit can still be
// written through it.
QString temporaryNameFor(const QString& path) {
    const quint32 tag = QRandomGenerator::global()->generate();
    return QFileInfo(path).dir().filePath(
        QStringLiteral(".jp2-%1.part").arg(tag, 8, 16, QLatin1Char('0')));
}

[[noreturn]] void encodeFailed(const QString& path) {
    const QString detail = GrokSession::errorText();
    raiseError(err::Unexpected,
               QStringLiteral("JPEG 2000 encoding of \"%1\" failed%2")
                   .arg(path, detail.isEmpty() ? QString() : QStringLiteral(": ") + detail));
}

void writeCodestream(grk_image* image, grk_cparameters& params, const QString& file,
                     const QString& path) {
    const QByteArray name = QFile::encodeName(file);
    grk_stream_params stream{};
    stream.file = name.constData();
    GrokRef codec(grk_compress_init(&stream, &params, image));
    if (!codec || !grk_compress(codec.get(), nullptr))
        encodeFailed(path);
}


} // namespace

double compressionRatioForRate(int rate) {
    return rate == losslessRate ? 0.0 : (26 - rate) * 2.0;
}

void encodeImage(QImage image, const QString& path, Container container, int rate,
                 const Description& description) {
    if (image.isNull())
        raiseError(err::ObjectNotSet, QStringLiteral("There is no image to save"));
    if (rate < lowestRate || rate > losslessRate)
        raiseError(err::InvalidProcedureCall,
                   QStringLiteral("The compression rate %1 is outside 1 to 25").arg(rate));
    checkTarget(path);
    GrokSession::ensureStarted();
    GrokSession::clearMessages();
    Source source = makeSource(image);
    GrokRef grokImage = makeGrokImage(source);
    grk_cparameters params = makeParameters(source, container, rate);
    describe(reinterpret_cast<grk_image*>(grokImage.get()), params, source, description);
    rateForPixelsOnly(reinterpret_cast<grk_image*>(grokImage.get()), params, source);
    // Grok holds its own copy of the samples now: a caller that handed its image
    // over gets those pixels freed before the long part of the encode. A block that
    // large goes back to the system when freed; what the process keeps between
    // images is the decoders' and encoder's small blocks, which a batch gives back
    // at its end.
    source.pixels = QImage();
    image = QImage();
    const QString temporary = temporaryNameFor(path);
    try {
        writeCodestream(reinterpret_cast<grk_image*>(grokImage.get()), params, temporary, path);
        if (QFileInfo(temporary).size() <= 0)
            encodeFailed(path);
        if (params.write_capture_resolution)
            makeCaptureResolutionExact(temporary, description);
        if (std::rename(QFile::encodeName(temporary).constData(),
                        QFile::encodeName(path).constData()) != 0)
            raiseError(err::PermissionDenied, QStringLiteral("Cannot replace \"%1\"").arg(path));
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

} // namespace picbasket::jp2
