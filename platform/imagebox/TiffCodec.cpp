#include "platform/imagebox/TiffCodec.h"
#include "core/AppError.h"
#include "platform/imagebox/FreeImageCodec.h"
#include "platform/imagebox/TiffMemoryFile.h"
#include "platform/imagebox/StatedResolution.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <tiffio.h>
#include <vector>

namespace picbasket::imagebox {

namespace {

// The private tag of snapshots: the palette's length (2 bytes) and each entry's alpha.
constexpr uint32_t PaletteTag = 65000;

TIFFExtendProc parentExtender = nullptr;

void addPaletteTag(TIFF* tif) {
    static const TIFFFieldInfo field[] = {{PaletteTag, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_BYTE,
                                           FIELD_CUSTOM, 1, 1,
                                           const_cast<char*>("PicBasketPalette")}};
    TIFFMergeFieldInfo(tif, field, 1);
    if (parentExtender)
        parentExtender(tif);
}

void registerPaletteTag() {
    static std::once_flag once;
    std::call_once(once, [] { parentExtender = TIFFSetTagExtender(addPaletteTag); });
}

// A handle of the writer and the snapshot reader, which know the private tag.
class CodecHandle : public TiffHandle {
public:
    CodecHandle(const QByteArray& data, const char* mode)
        : TiffHandle((registerPaletteTag(), data), mode) {}
};

// How a box format is laid out in a TIFF page.
struct Layout {
    uint16_t bits;
    uint16_t samples;
    uint16_t photometric;
    bool alpha;
};

Layout layoutOf(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Mono: {
        const QList<QRgb> c = image.colorTable();
        if (c == QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)})
            return {1, 1, PHOTOMETRIC_MINISBLACK, false};
        if (c == QList<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)})
            return {1, 1, PHOTOMETRIC_MINISWHITE, false};
        return {1, 1, PHOTOMETRIC_PALETTE, false};
    }
    case QImage::Format_Indexed8:
        return {8, 1, PHOTOMETRIC_PALETTE, false};
    case QImage::Format_Grayscale8:
        return {8, 1, PHOTOMETRIC_MINISBLACK, false};
    case QImage::Format_Grayscale16:
        return {16, 1, PHOTOMETRIC_MINISBLACK, false};
    case QImage::Format_ARGB32:
        return {8, 4, PHOTOMETRIC_RGB, true};
    case QImage::Format_RGBX64:
        return {16, 3, PHOTOMETRIC_RGB, false};
    case QImage::Format_RGBA64:
        return {16, 4, PHOTOMETRIC_RGB, true};
    default:
        return {8, 3, PHOTOMETRIC_RGB, false};
    }
}

void writeColourMap(TIFF* tif, const QImage& image, int bits) {
    const int entries = 1 << bits;
    std::vector<uint16_t> r(size_t(entries), 0), g(size_t(entries), 0), b(size_t(entries), 0);
    const QList<QRgb> colours = image.colorTable();
    for (int i = 0; i < entries && i < colours.size(); ++i) {
        r[size_t(i)] = uint16_t(qRed(colours[i]) * 257);
        g[size_t(i)] = uint16_t(qGreen(colours[i]) * 257);
        b[size_t(i)] = uint16_t(qBlue(colours[i]) * 257);
    }
    TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
}

void writePaletteTag(TIFF* tif, const QImage& image) {
    const QList<QRgb> colours = image.colorTable();
    QByteArray value;
    value.append(char(colours.size() & 0xFF));
    value.append(char((colours.size() >> 8) & 0xFF));
    for (QRgb c : colours)
        value.append(char(qAlpha(c)));
    TIFFSetField(tif, PaletteTag, uint32_t(value.size()), value.constData());
}

uint16_t compressionTag(int compression) {
    return compression == TiffGroup4     ? COMPRESSION_CCITTFAX4
           : compression == TiffPackBits ? COMPRESSION_PACKBITS
                                         : COMPRESSION_NONE;
}

void writeFields(TIFF* tif, const QImage& image, const Layout& layout, int compression) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(image.width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(image.height()));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, layout.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, layout.samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, layout.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compressionTag(compression));
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    const uint32_t rows =
        compression == TiffGroup4 ? uint32_t(image.height()) : TIFFDefaultStripSize(tif, 0);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows);
    if (layout.alpha) {
        const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (layout.photometric == PHOTOMETRIC_PALETTE)
        writeColourMap(tif, image, layout.bits);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        const UnitResolution r =
            unitResolutionOfDotsPerMetre(image.dotsPerMeterX(), image.dotsPerMeterY());
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT,
                     r.perCentimetre ? RESUNIT_CENTIMETER : RESUNIT_INCH);
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(r.x));
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(r.y));
    }
}

// One row in TIFF sample order: ARGB32 words become R, G, B, A bytes; RGBX64
// drops its filler; the rest is stored as held.
void rowForTiff(const QImage& image, int y, std::vector<uchar>& row) {
    const uchar* in = image.constScanLine(y);
    const int w = image.width();
    if (image.format() == QImage::Format_ARGB32) {
        const auto* px = reinterpret_cast<const QRgb*>(in);
        for (int x = 0; x < w; ++x) {
            row[size_t(x) * 4] = uchar(qRed(px[x]));
            row[size_t(x) * 4 + 1] = uchar(qGreen(px[x]));
            row[size_t(x) * 4 + 2] = uchar(qBlue(px[x]));
            row[size_t(x) * 4 + 3] = uchar(qAlpha(px[x]));
        }
    } else if (image.format() == QImage::Format_RGBX64) {
        for (int x = 0; x < w; ++x)
            std::memcpy(&row[size_t(x) * 6], in + size_t(x) * 8, 6);
    } else {
        std::memcpy(row.data(), in, row.size());
    }
}

void writePage(TIFF* tif, const QImage& source, int compression, bool snapshot) {
    const QImage image = toBoxFormat(source);
    const Layout layout = layoutOf(image);
    if (compression == TiffGroup4 && layout.photometric == PHOTOMETRIC_PALETTE)
        raiseError(err::Unexpected, "CCITT Group 4 needs a black-and-white image");
    writeFields(tif, image, layout, compression);
    if (snapshot && image.colorCount() > 0)
        writePaletteTag(tif, image);
    std::vector<uchar> row(size_t(TIFFScanlineSize(tif)));
    for (int y = 0; y < image.height(); ++y) {
        rowForTiff(image, y, row);
        if (TIFFWriteScanline(tif, row.data(), uint32_t(y), 0) < 0)
            raiseError(err::Unexpected, "The TIFF page could not be written");
    }
    if (!TIFFWriteDirectory(tif))
        raiseError(err::Unexpected, "The TIFF page could not be written");
}

// The box format a snapshot layout reads into, or Format_Invalid.
QImage::Format formatOf(uint16_t bits, uint16_t samples, uint16_t photometric) {
    if (samples == 1 && bits == 1)
        return QImage::Format_Mono;
    if (samples == 1 && bits == 8)
        return photometric == PHOTOMETRIC_PALETTE ? QImage::Format_Indexed8
                                                  : QImage::Format_Grayscale8;
    if (samples == 1 && bits == 16 && photometric == PHOTOMETRIC_MINISBLACK)
        return QImage::Format_Grayscale16;
    if (photometric != PHOTOMETRIC_RGB)
        return QImage::Format_Invalid;
    if (samples == 3)
        return bits == 8 ? QImage::Format_RGB888 : QImage::Format_RGBX64;
    return bits == 8 ? QImage::Format_ARGB32 : QImage::Format_RGBA64;
}

bool isOwnLayout(TIFF* tif, uint16_t bits, uint16_t samples, uint16_t photometric) {
    uint16_t planar = PLANARCONFIG_CONTIG, orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    if (planar != PLANARCONFIG_CONTIG || orientation != ORIENTATION_TOPLEFT || TIFFIsTiled(tif))
        return false;
    if (samples == 4) {
        uint16_t count = 0;
        uint16_t* types = nullptr;
        if (!TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &count, &types) || count != 1 ||
            types[0] != EXTRASAMPLE_UNASSALPHA)
            return false;
    }
    const bool bitsOk = bits == 8 || bits == 16 || (bits == 1 && samples == 1);
    const bool photometricOk = photometric == PHOTOMETRIC_MINISBLACK ||
                               (photometric == PHOTOMETRIC_MINISWHITE && bits == 1) ||
                               (photometric == PHOTOMETRIC_PALETTE && bits != 16) ||
                               (photometric == PHOTOMETRIC_RGB && samples >= 3);
    return bitsOk && photometricOk && samples <= 4 && samples != 2 &&
           formatOf(bits, samples, photometric) != QImage::Format_Invalid;
}

QList<QRgb> readColourTable(TIFF* tif, uint16_t bits, uint16_t photometric) {
    if (photometric == PHOTOMETRIC_MINISBLACK)
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    if (photometric == PHOTOMETRIC_MINISWHITE)
        return {qRgb(255, 255, 255), qRgb(0, 0, 0)};
    uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b))
        return {};
    int count = 1 << bits;
    const uchar* alpha = nullptr;
    uint32_t tagLength = 0;
    void* tag = nullptr;
    if (TIFFGetField(tif, PaletteTag, &tagLength, &tag) && tagLength >= 2) {
        const auto* bytes = static_cast<const uchar*>(tag);
        const int stored = bytes[0] | (bytes[1] << 8);
        if (stored >= 1 && stored <= count && tagLength == uint32_t(stored) + 2) {
            count = stored;
            alpha = bytes + 2;
        }
    }
    QList<QRgb> colours;
    for (int i = 0; i < count; ++i)
        colours.append(qRgba(r[i] >> 8, g[i] >> 8, b[i] >> 8, alpha ? alpha[i] : 255));
    return colours;
}

void rowFromTiff(QImage& image, int y, const std::vector<uchar>& row) {
    uchar* out = image.scanLine(y);
    const int w = image.width();
    if (image.format() == QImage::Format_ARGB32) {
        auto* px = reinterpret_cast<QRgb*>(out);
        for (int x = 0; x < w; ++x) {
            const uchar* s = &row[size_t(x) * 4];
            px[x] = qRgba(s[0], s[1], s[2], s[3]);
        }
    } else if (image.format() == QImage::Format_RGBX64) {
        for (int x = 0; x < w; ++x) {
            std::memcpy(out + size_t(x) * 8, &row[size_t(x) * 6], 6);
            const uint16_t opaque = 0xFFFF;
            std::memcpy(out + size_t(x) * 8 + 6, &opaque, 2);
        }
    } else {
        std::memcpy(out, row.data(), row.size());
    }
}

void readResolution(TIFF* tif, QImage& image) {
    float x = 0, y = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) || !TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y))
        return;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    const double perMetre = unit == RESUNIT_CENTIMETER ? 100.0
                            : unit == RESUNIT_INCH     ? 1 / 0.0254
                                                       : 0;
    if (perMetre > 0 && x > 0 && y > 0 && x < 1e6f && y < 1e6f) {
        image.setDotsPerMeterX(int(std::lround(x * perMetre)));
        image.setDotsPerMeterY(int(std::lround(y * perMetre)));
    }
}

QImage readOwnPage(const TiffHandle& handle, uint16_t bits, uint16_t samples,
                   uint16_t photometric) {
    TIFF* tif = handle.get();
    uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    if (w == 0 || h == 0 || w > uint32_t(MaxSide) || h > uint32_t(MaxSide) ||
        qint64(w) * h > MaxPixels)
        raiseError(err::Unexpected, "The TIFF data has no size the box can hold");
    QImage image(int(w), int(h), formatOf(bits, samples, photometric));
    if (image.isNull())
        raiseError(err::OutOfMemory);
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_Indexed8) {
        const QList<QRgb> colours = readColourTable(tif, bits, photometric);
        if (colours.isEmpty())
            handle.fail("The TIFF palette is missing");
        image.setColorTable(colours);
    }
    const qint64 rowBytes = (qint64(w) * bits * samples + 7) / 8;
    if (TIFFScanlineSize64(tif) != uint64_t(rowBytes))
        handle.fail("The TIFF rows have an unexpected size");
    std::vector<uchar> row(static_cast<size_t>(rowBytes));
    for (uint32_t y = 0; y < h; ++y) {
        if (TIFFReadScanline(tif, row.data(), y, 0) < 0 || handle.hasError())
            handle.fail("The TIFF data is damaged");
        rowFromTiff(image, int(y), row);
    }
    readResolution(tif, image);
    return image;
}

void checkPageData(const TiffHandle& handle, qint64 size) {
    TIFF* tif = handle.get();
    uint32_t w = 0, h = 0;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h) ||
        w == 0 || h == 0 || w > uint32_t(MaxSide) || h > uint32_t(MaxSide) ||
        qint64(w) * h > MaxPixels)
        handle.fail("A TIFF page has no size the box can hold");
    const uint32_t pieces = TIFFIsTiled(tif) ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    for (uint32_t i = 0; i < pieces; ++i) {
        int error = 0;
        const uint64_t offset = TIFFGetStrileOffsetWithErr(tif, i, &error);
        const uint64_t count = TIFFGetStrileByteCountWithErr(tif, i, &error);
        if (error || count == 0 || offset > uint64_t(size) || count > uint64_t(size) - offset)
            handle.fail("The TIFF page data ends too early");
    }
}

} // namespace

void checkTiffBytes(const QByteArray& tiff) {
    if (tiff.size() < 8)
        raiseError(err::Unexpected, "The TIFF data is empty or too short");
    // One walk over the directories, each read once: going to page n from the
    // first for every page would cost the square of the page count.
    CodecHandle handle(tiff, "rm");
    int pages = 0;
    do {
        handle.check("A TIFF page could not be read");
        checkPageData(handle, tiff.size());
        if (++pages > 65535)
            handle.fail("The TIFF data holds too many pages");
    } while (TIFFReadDirectory(handle.get()));
    handle.check("A TIFF page could not be read");
}

QByteArray encodeTiff(const QImage& image, int compression, bool snapshot) {
    CodecHandle handle(QByteArray(), "w");
    writePage(handle.get(), image, compression, snapshot);
    return handle.finish();
}

QByteArray appendTiffPage(const QByteArray& tiff, const QImage& image, int compression) {
    tiffPageCount(tiff);
    CodecHandle handle(tiff, "a");
    writePage(handle.get(), image, compression, false);
    return handle.finish();
}

QImage decodeTiffSnapshot(const QByteArray& tiff) {
    if (tiff.size() < 8)
        raiseError(err::Unexpected, "The TIFF data is empty or too short");
    CodecHandle handle(tiff, "rm");
    uint16_t bits = 1, samples = 1, photometric = 0, compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(handle.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(handle.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(handle.get(), TIFFTAG_COMPRESSION, &compression);
    if (!TIFFGetField(handle.get(), TIFFTAG_PHOTOMETRIC, &photometric))
        return {};
    if (!isOwnLayout(handle.get(), bits, samples, photometric))
        return {};
    if (compression != COMPRESSION_NONE && compression != COMPRESSION_PACKBITS &&
        compression != COMPRESSION_CCITTFAX4)
        return {};
    return readOwnPage(handle, bits, samples, photometric);
}

int tiffPageCount(const QByteArray& tiff) {
    if (tiff.size() < 8)
        raiseError(err::Unexpected, "The TIFF data is empty or too short");
    CodecHandle handle(tiff, "rm");
    const int count = TIFFNumberOfDirectories(handle.get());
    if (count < 1 || handle.hasError())
        handle.fail("The TIFF data is damaged");
    return count;
}

} // namespace picbasket::imagebox
