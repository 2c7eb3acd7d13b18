#include "platform/imagebox/TiffPageCopy.h"

#include "core/AppError.h"
#include "platform/imagebox/TiffMemoryFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tiffio.h>
#include <vector>

namespace picbasket::imagebox {

namespace {

using Handle = TiffHandle;

template <class T> bool copyValue(TIFF* in, TIFF* out, uint32_t tag) {
    T value{};
    return !TIFFGetField(in, tag, &value) || TIFFSetField(out, tag, value);
}

bool copyPair(TIFF* in, TIFF* out, uint32_t tag) {
    uint16_t a = 0, b = 0;
    return !TIFFGetField(in, tag, &a, &b) || TIFFSetField(out, tag, a, b);
}

bool copyCounted(TIFF* in, TIFF* out, uint32_t tag) {
    uint32_t count = 0;
    void* data = nullptr;
    return !TIFFGetField(in, tag, &count, &data) || !data || TIFFSetField(out, tag, count, data);
}

bool copyText(TIFF* in, TIFF* out, uint32_t tag) {
    const char* text = nullptr;
    return !TIFFGetField(in, tag, &text) || !text || TIFFSetField(out, tag, text);
}

bool copyColourMap(TIFF* in, TIFF* out) {
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    return !TIFFGetField(in, TIFFTAG_COLORMAP, &red, &green, &blue) ||
           TIFFSetField(out, TIFFTAG_COLORMAP, red, green, blue);
}

bool copyExtraSamples(TIFF* in, TIFF* out) {
    uint16_t count = 0;
    uint16_t* kinds = nullptr;
    return !TIFFGetField(in, TIFFTAG_EXTRASAMPLES, &count, &kinds) ||
           TIFFSetField(out, TIFFTAG_EXTRASAMPLES, count, kinds);
}

bool copyFloats(TIFF* in, TIFF* out, uint32_t tag) {
    float* values = nullptr;
    return !TIFFGetField(in, tag, &values) || !values || TIFFSetField(out, tag, values);
}

// The tags that say how the stored data is read, and what the page says about
// itself (resolution, texts, colour profile, metadata blocks). The compression comes first: the
// tags of its codec (predictor, fax options, JPEG tables) exist only once it is set.
bool copyTags(TIFF* in, TIFF* out) {
    bool ok = copyValue<uint16_t>(in, out, TIFFTAG_COMPRESSION);
    for (uint32_t tag :
         {TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH, TIFFTAG_ROWSPERSTRIP, TIFFTAG_TILEWIDTH,
          TIFFTAG_TILELENGTH, TIFFTAG_SUBFILETYPE, TIFFTAG_GROUP3OPTIONS, TIFFTAG_GROUP4OPTIONS})
        ok = ok && copyValue<uint32_t>(in, out, tag);
    for (uint32_t tag :
         {TIFFTAG_BITSPERSAMPLE, TIFFTAG_SAMPLESPERPIXEL, TIFFTAG_PHOTOMETRIC, TIFFTAG_FILLORDER,
          TIFFTAG_ORIENTATION, TIFFTAG_PLANARCONFIG, TIFFTAG_PREDICTOR, TIFFTAG_SAMPLEFORMAT,
          TIFFTAG_RESOLUTIONUNIT, TIFFTAG_THRESHHOLDING, TIFFTAG_INKSET, TIFFTAG_YCBCRPOSITIONING,
          TIFFTAG_MINSAMPLEVALUE, TIFFTAG_MAXSAMPLEVALUE})
        ok = ok && copyValue<uint16_t>(in, out, tag);
    for (uint32_t tag :
         {TIFFTAG_XRESOLUTION, TIFFTAG_YRESOLUTION, TIFFTAG_XPOSITION, TIFFTAG_YPOSITION})
        ok = ok && copyValue<float>(in, out, tag);
    for (uint32_t tag : {TIFFTAG_YCBCRSUBSAMPLING, TIFFTAG_PAGENUMBER})
        ok = ok && copyPair(in, out, tag);
    for (uint32_t tag :
         {TIFFTAG_JPEGTABLES, TIFFTAG_ICCPROFILE, TIFFTAG_XMLPACKET, TIFFTAG_PHOTOSHOP})
        ok = ok && copyCounted(in, out, tag);
    for (uint32_t tag : {TIFFTAG_YCBCRCOEFFICIENTS, TIFFTAG_REFERENCEBLACKWHITE})
        ok = ok && copyFloats(in, out, tag);
    for (uint32_t tag : {TIFFTAG_DOCUMENTNAME, TIFFTAG_IMAGEDESCRIPTION, TIFFTAG_MAKE,
                         TIFFTAG_MODEL, TIFFTAG_PAGENAME, TIFFTAG_SOFTWARE, TIFFTAG_DATETIME,
                         TIFFTAG_ARTIST, TIFFTAG_HOSTCOMPUTER, TIFFTAG_COPYRIGHT})
        ok = ok && copyText(in, out, tag);
    return ok && copyColourMap(in, out) && copyExtraSamples(in, out);
}

// Strips or tiles, each as stored. A piece is read only as far as the data goes:
// a byte count that claims more than the file holds makes no allocation of that
// size, it fails the copy (the page is then decoded, or refused as damaged).
bool copyData(TIFF* in, TIFF* out, qint64 dataSize) {
    const bool tiled = TIFFIsTiled(in);
    const uint32_t count = tiled ? TIFFNumberOfTiles(in) : TIFFNumberOfStrips(in);
    std::vector<uint8_t> buffer;
    for (uint32_t i = 0; i < count; ++i) {
        int error = 0;
        const uint64_t offset = TIFFGetStrileOffsetWithErr(in, i, &error);
        const uint64_t bytes = TIFFGetStrileByteCountWithErr(in, i, &error);
        if (error || offset > uint64_t(dataSize) || bytes > uint64_t(dataSize) - offset)
            return false;
        const tmsize_t size = tmsize_t(bytes);
        buffer.resize(size_t(std::max<tmsize_t>(size, 1)));
        const tmsize_t read = tiled ? TIFFReadRawTile(in, i, buffer.data(), size)
                                    : TIFFReadRawStrip(in, i, buffer.data(), size);
        if (read != size)
            return false;
        const tmsize_t written = tiled ? TIFFWriteRawTile(out, i, buffer.data(), size)
                                       : TIFFWriteRawStrip(out, i, buffer.data(), size);
        if (written != size)
            return false;
    }
    return true;
}

bool copiesUndecoded(TIFF* in) {
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(in, TIFFTAG_COMPRESSION, &compression);
    uint16_t subIfds = 0;
    void* offsets = nullptr;
    const bool hasSubImages = TIFFGetField(in, TIFFTAG_SUBIFD, &subIfds, &offsets) && subIfds > 0;
    return compression != COMPRESSION_OJPEG && !hasSubImages && TIFFIsCODECConfigured(compression);
}

} // namespace

namespace {

// The current page of `in` as a one-page TIFF of its own; empty when it cannot be
// copied undecoded.
QByteArray copyCurrentPage(const Handle& in) {
    if (!copiesUndecoded(in.get()))
        return QByteArray();
    Handle out(QByteArray(), TIFFIsBigEndian(in.get()) ? "wb" : "wl");
    if (!copyTags(in.get(), out.get()) || !copyData(in.get(), out.get(), in.dataSize())) {
        in.check("The TIFF page could not be read");
        return QByteArray();
    }
    in.check("The TIFF page could not be read");
    if (!TIFFWriteDirectory(out.get()))
        out.fail("The TIFF page could not be written");
    return out.finish();
}

} // namespace

QByteArray copyTiffPage(const QByteArray& tiff, int page) {
    Handle in(tiff, "rm");
    in.setPage(page);
    return copyCurrentPage(in);
}

TiffPageWalk::TiffPageWalk(const QByteArray& tiff)
    : handle_(std::make_unique<TiffHandle>(tiff, "rm")) {
    handle_->check("The TIFF data could not be read");
}

TiffPageWalk::~TiffPageWalk() = default;

QByteArray TiffPageWalk::copy(int page) {
    if (page < current_)
        raiseError(err::Unexpected, QStringLiteral("Page %1 was passed already").arg(page + 1));
    for (; current_ < page; ++current_) {
        if (!TIFFReadDirectory(handle_->get()))
            raiseError(err::Unexpected, QStringLiteral("The file has no page %1").arg(page + 1));
        handle_->check("The TIFF page could not be read");
    }
    return copyCurrentPage(*handle_);
}

QSize tiffPageSize(const QByteArray& tiff, int page) {
    Handle in(tiff, "rm");
    in.setPage(page);
    uint32_t width = 0, height = 0;
    TIFFGetField(in.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(in.get(), TIFFTAG_IMAGELENGTH, &height);
    if (width == 0 || height == 0 || width > 65535 || height > 65535)
        in.fail("The TIFF page has no size the box can hold");
    return QSize(int(width), int(height));
}

namespace {

// Box averaging of whole rows into a small picture: each source pixel covers an
// exact fraction of the target pixels it falls in, across and down.
class AreaReducer {
public:
    AreaReducer(int sourceWidth, int sourceHeight, int width, int height, int channels)
        : sw_(sourceWidth), sh_(sourceHeight), w_(width), h_(height), channels_(channels),
          sums_(size_t(width) * size_t(height) * size_t(channels), 0.0) {
        spans_.reserve(size_t(sourceWidth));
        for (int x = 0; x < sourceWidth; ++x)
            spans_.push_back(spanOf(x, sourceWidth, width));
    }

    // One source row of `channels` bytes a pixel.
    void addRow(int y, const uint8_t* row) {
        const Span down = spanOf(y, sh_, h_);
        line_.assign(size_t(w_) * size_t(channels_), 0.0);
        for (int x = 0; x < sw_; ++x) {
            const Span& across = spans_[size_t(x)];
            for (int c = 0; c < channels_; ++c) {
                const double v = row[size_t(x) * size_t(channels_) + size_t(c)];
                line_[size_t(across.first) * size_t(channels_) + size_t(c)] +=
                    v * across.firstShare;
                if (across.secondShare > 0)
                    line_[size_t(across.first + 1) * size_t(channels_) + size_t(c)] +=
                        v * across.secondShare;
            }
        }
        addLine(down.first, down.firstShare);
        if (down.secondShare > 0)
            addLine(down.first + 1, down.secondShare);
    }

    QImage result() const {
        QImage out(w_, h_, channels_ == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
        if (out.isNull())
            raiseError(err::OutOfMemory);
        // Every target pixel covers (source / target) source pixels each way.
        const double area = (double(sw_) / w_) * (double(sh_) / h_);
        for (int y = 0; y < h_; ++y) {
            uint8_t* to = out.scanLine(y);
            const double* from = sums_.data() + size_t(y) * size_t(w_) * size_t(channels_);
            for (size_t i = 0; i < size_t(w_) * size_t(channels_); ++i)
                to[i] = uint8_t(std::clamp(std::nearbyint(from[i] / area), 0.0, 255.0));
        }
        return out;
    }

private:
    // The target pixels a source pixel falls in (one or two, the target being
    // smaller) and the part of the source pixel each gets, in source pixels.
    struct Span {
        int first = 0;
        double firstShare = 1.0;
        double secondShare = 0.0;
    };

    static Span spanOf(int i, int sourceSide, int targetSide) {
        const double scale = double(targetSide) / sourceSide;
        const double begin = i * scale, end = (i + 1) * scale;
        Span span;
        span.first = std::min(int(begin), targetSide - 1);
        const double boundary = span.first + 1;
        if (end > boundary && span.first + 1 < targetSide) {
            span.firstShare = (boundary - begin) / scale;
            span.secondShare = (end - boundary) / scale;
        }
        return span;
    }

    void addLine(int targetRow, double share) {
        double* to = sums_.data() + size_t(targetRow) * size_t(w_) * size_t(channels_);
        for (size_t i = 0; i < line_.size(); ++i)
            to[i] += line_[i] * share;
    }

    int sw_, sh_, w_, h_, channels_;
    std::vector<double> sums_;
    std::vector<double> line_;
    std::vector<Span> spans_;
};

struct StripLayout {
    uint32_t width = 0, height = 0, rowsPerStrip = 0;
    uint16_t bits = 0, samples = 0, photometric = 0, planar = PLANARCONFIG_CONTIG;
};

// The layouts the row reader takes: 1-bit and 8-bit grey, 8-bit RGB, in strips.
bool readableByRows(TIFF* in, StripLayout& layout) {
    uint16_t format = SAMPLEFORMAT_UINT;
    if (TIFFIsTiled(in) || !TIFFGetField(in, TIFFTAG_IMAGEWIDTH, &layout.width) ||
        !TIFFGetField(in, TIFFTAG_IMAGELENGTH, &layout.height) ||
        !TIFFGetField(in, TIFFTAG_PHOTOMETRIC, &layout.photometric))
        return false;
    TIFFGetFieldDefaulted(in, TIFFTAG_BITSPERSAMPLE, &layout.bits);
    TIFFGetFieldDefaulted(in, TIFFTAG_SAMPLESPERPIXEL, &layout.samples);
    TIFFGetFieldDefaulted(in, TIFFTAG_PLANARCONFIG, &layout.planar);
    TIFFGetFieldDefaulted(in, TIFFTAG_ROWSPERSTRIP, &layout.rowsPerStrip);
    TIFFGetFieldDefaulted(in, TIFFTAG_SAMPLEFORMAT, &format);
    if (format != SAMPLEFORMAT_UINT || layout.planar != PLANARCONFIG_CONTIG)
        return false;
    const bool grey = layout.samples == 1 && (layout.photometric == PHOTOMETRIC_MINISBLACK ||
                                              layout.photometric == PHOTOMETRIC_MINISWHITE);
    const bool rgb = layout.samples == 3 && layout.photometric == PHOTOMETRIC_RGB;
    return (grey && (layout.bits == 1 || layout.bits == 8)) || (rgb && layout.bits == 8);
}

// One stored row as bytes of 0 to 255 a sample, white-is-zero turned round.
void unpackRow(const uint8_t* from, const StripLayout& layout, std::vector<uint8_t>& row) {
    const bool inverted = layout.photometric == PHOTOMETRIC_MINISWHITE;
    const size_t samples = size_t(layout.width) * layout.samples;
    row.resize(samples);
    if (layout.bits == 1) {
        for (size_t x = 0; x < samples; ++x) {
            const bool set = (from[x / 8] >> (7 - x % 8)) & 1;
            row[x] = set != inverted ? 255 : 0;
        }
    } else if (inverted) {
        for (size_t x = 0; x < samples; ++x)
            row[x] = uint8_t(255 - from[x]);
    } else {
        std::memcpy(row.data(), from, samples);
    }
}

} // namespace

QImage reducedTiffPage(const QByteArray& tiff, int page, int width, int height) {
    Handle in(tiff, "rm");
    in.setPage(page);
    StripLayout layout;
    if (!readableByRows(in.get(), layout) || width < 1 || height < 1)
        return QImage();
    // Not worth it for a page at most twice the picture; the size is the one
    // QImage::scaled gives with the aspect kept.
    if (layout.width <= 2u * uint32_t(width) && layout.height <= 2u * uint32_t(height))
        return QImage();
    const QSize fitted = QSize(int(layout.width), int(layout.height))
                             .scaled(width, height, Qt::KeepAspectRatio)
                             .expandedTo(QSize(1, 1));
    const int w = fitted.width(), h = fitted.height();
    AreaReducer reducer(int(layout.width), int(layout.height), w, h, layout.samples);
    const tmsize_t stripBytes = TIFFStripSize(in.get());
    const tmsize_t rowBytes = TIFFScanlineSize(in.get());
    if (stripBytes <= 0 || rowBytes <= 0)
        in.fail("The TIFF page could not be read");
    std::vector<uint8_t> strip(static_cast<size_t>(stripBytes));
    std::vector<uint8_t> row;
    const uint32_t rowsPerStrip = std::clamp<uint32_t>(layout.rowsPerStrip, 1, layout.height);
    for (uint32_t top = 0; top < layout.height; top += rowsPerStrip) {
        const uint32_t rows = std::min(rowsPerStrip, layout.height - top);
        const tmsize_t want = tmsize_t(rows) * rowBytes;
        if (TIFFReadEncodedStrip(in.get(), TIFFComputeStrip(in.get(), top, 0), strip.data(),
                                 want) != want)
            in.fail("The TIFF page could not be read");
        in.check("The TIFF page could not be read");
        for (uint32_t r = 0; r < rows; ++r) {
            unpackRow(strip.data() + size_t(r) * size_t(rowBytes), layout, row);
            reducer.addRow(int(top + r), row.data());
        }
    }
    return reducer.result();
}

} // namespace picbasket::imagebox
