#include "platform/imagebox/TiffDecode.h"

#include "core/AppError.h"
#include "platform/imagebox/TiffMemoryFile.h"

#include <FreeImage.h>
#include <algorithm>
#include <cstring>
#include <vector>

namespace picbasket::imagebox {

namespace {

// What a page's tags say about its samples and how they are stored.
struct Page {
    uint32_t width = 0, height = 0;
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t planar = PLANARCONFIG_CONTIG, format = SAMPLEFORMAT_UINT;
    uint16_t compression = COMPRESSION_NONE;
    bool tiled = false;
    uint32_t tileWidth = 0, tileLength = 0, rowsPerStrip = 0;
};

// The decodes a page's layout takes (see TiffDecode.h).
enum class Route { Indexed, GreyAlpha, Colour, Samples, Cmyk, Rgba };

Page pageOf(const TiffHandle& handle) {
    TIFF* tif = handle.get();
    Page page;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &page.width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &page.height))
        handle.fail("The TIFF page states no size");
    if (page.width == 0 || page.height == 0 || page.width > uint32_t(MaxSide) ||
        page.height > uint32_t(MaxSide) || qint64(page.width) * page.height > MaxPixels)
        handle.fail("The TIFF page has no size the box can hold");
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &page.bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &page.samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &page.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &page.format);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &page.compression);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &page.photometric))
        page.photometric = page.samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    page.tiled = TIFFIsTiled(tif);
    if (page.tiled) {
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &page.tileWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &page.tileLength);
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &page.rowsPerStrip);
    }
    const bool bitsKnown = page.bits == 1 || page.bits == 2 || page.bits == 4 || page.bits == 8 ||
                           page.bits == 16 || page.bits == 32 || page.bits == 64;
    if (!bitsKnown || page.samples < 1 || page.samples > 8 ||
        (page.planar != PLANARCONFIG_CONTIG && page.planar != PLANARCONFIG_SEPARATE))
        handle.fail("The TIFF page has a sample layout the program does not read");
    return page;
}

bool isGreyOrPalette(uint16_t photometric) {
    return photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE ||
           photometric == PHOTOMETRIC_PALETTE;
}

// Colour models libtiff's RGBA reader converts (subsampled YCbCr, the L*a*b*
// spaces) and old-style JPEG, which only that reader decodes.
bool needsRgbaReader(const Page& p) {
    return p.photometric == PHOTOMETRIC_YCBCR || p.photometric == PHOTOMETRIC_CIELAB ||
           p.photometric == PHOTOMETRIC_ICCLAB || p.photometric == PHOTOMETRIC_ITULAB ||
           p.compression == COMPRESSION_OJPEG;
}

Route routeOf(const TiffHandle& handle, const Page& p) {
    if (needsRgbaReader(p))
        return Route::Rgba;
    const bool unsignedInts = p.format == SAMPLEFORMAT_UINT;
    if (p.photometric == PHOTOMETRIC_SEPARATED && p.bits == 8 && p.samples >= 4 && unsignedInts)
        return Route::Cmyk;
    if (isGreyOrPalette(p.photometric) && p.bits <= 8 && unsignedInts) {
        if (p.samples == 1)
            return Route::Indexed;
        if (p.samples == 2 && p.bits == 8)
            return Route::GreyAlpha;
    }
    if (p.photometric == PHOTOMETRIC_RGB && p.bits == 8 && p.samples >= 3 && unsignedInts)
        return Route::Colour;
    const bool grey = p.samples == 1 && p.photometric != PHOTOMETRIC_PALETTE;
    const bool rgb = p.photometric == PHOTOMETRIC_RGB && (p.samples == 3 || p.samples == 4);
    if (p.bits >= 16 && (grey || rgb))
        return Route::Samples;
    handle.fail("The TIFF page has a colour layout the program does not read");
}

// The FreeImage sample type of a page of whole samples, FIT_UNKNOWN for none.
FREE_IMAGE_TYPE sampleTypeOf(const Page& p) {
    const bool one = p.samples == 1;
    switch (p.format) {
    case SAMPLEFORMAT_UINT:
        if (p.bits == 16)
            return one ? FIT_UINT16 : p.samples == 3 ? FIT_RGB16 : FIT_RGBA16;
        return one && p.bits == 32 ? FIT_UINT32 : FIT_UNKNOWN;
    case SAMPLEFORMAT_INT:
        return !one           ? FIT_UNKNOWN
               : p.bits == 16 ? FIT_INT16
               : p.bits == 32 ? FIT_INT32
                              : FIT_UNKNOWN;
    case SAMPLEFORMAT_IEEEFP:
        if (p.bits == 32)
            return one ? FIT_FLOAT : p.samples == 3 ? FIT_RGBF : FIT_RGBAF;
        return one && p.bits == 64 ? FIT_DOUBLE : FIT_UNKNOWN;
    default:
        return FIT_UNKNOWN;
    }
}

FreeImageDib allocate(FREE_IMAGE_TYPE type, const Page& p, int bpp) {
    FreeImageDib dib(FreeImage_AllocateT(type, int(p.width), int(p.height), bpp));
    if (!dib)
        raiseError(err::OutOfMemory);
    return dib;
}

// FreeImage rows run bottom-up.
BYTE* dibRow(FIBITMAP* dib, const Page& p, uint32_t y) {
    return FreeImage_GetScanLine(dib, int(p.height - 1 - y));
}

// Copies `count` samples of `bits` bits from bit `from` of `in` to bit `to` of `out`.
void copyBits(const uint8_t* in, size_t from, uint8_t* out, size_t to, size_t count, int bits) {
    if (from % 8 == 0 && to % 8 == 0 && (count * size_t(bits)) % 8 == 0) {
        std::memcpy(out + to / 8, in + from / 8, count * size_t(bits) / 8);
        return;
    }
    for (size_t i = 0; i < count * size_t(bits); ++i) {
        const size_t s = from + i, d = to + i;
        const int bit = (in[s / 8] >> (7 - s % 8)) & 1;
        out[d / 8] = uint8_t((out[d / 8] & ~(0x80 >> (d % 8))) | (bit << (7 - d % 8)));
    }
}

// The page's rows band by band (a strip's or a row of tiles' worth), each row as
// contiguous samples, however the page stores them.
class BandReader {
public:
    BandReader(const TiffHandle& handle, const Page& page)
        : handle_(handle), p_(page), perPixelBits_(size_t(page.bits) * page.samples),
          rowBytes_((size_t(page.width) * perPixelBits_ + 7) / 8) {
        TIFF* tif = handle.get();
        const bool planar = p_.planar == PLANARCONFIG_SEPARATE && p_.samples > 1;
        if (planar && p_.bits < 8)
            handle.fail("The TIFF page has a sample layout the program does not read");
        if (p_.tiled)
            prepareTiles();
        else
            bandRows_ = std::clamp<uint32_t>(p_.rowsPerStrip, 1, p_.height);
        if (!p_.tiled && !planar && TIFFScanlineSize64(tif) != uint64_t(rowBytes_))
            handle.fail("The TIFF rows have an unexpected size");
        band_.assign(rowBytes_ * bandRows_, 0);
    }

    uint32_t bandRows() const { return bandRows_; }
    size_t rowBytes() const { return rowBytes_; }

    // Rows [top, top + bandRows) (fewer at the end of the page).
    const uint8_t* read(uint32_t top) {
        const uint32_t rows = std::min(bandRows_, p_.height - top);
        if (p_.tiled)
            readTiles(top, rows);
        else
            readStrips(top, rows);
        handle_.check("The TIFF data is damaged");
        return band_.data();
    }

private:
    bool planar() const { return p_.planar == PLANARCONFIG_SEPARATE && p_.samples > 1; }

    void prepareTiles() {
        TIFF* tif = handle_.get();
        const uint64_t tw = p_.tileWidth, tl = p_.tileLength;
        // A tile may reach past the page, but not hold many times its pixels.
        const uint64_t most = std::max<uint64_t>(uint64_t(p_.width) * p_.height, 1u << 20);
        if (tw == 0 || tl == 0 || tw > 65536 || tl > 65536 || tw * tl > most)
            handle_.fail("The TIFF tiles have no size the box can hold");
        tileBytes_ = TIFFTileSize64(tif);
        tileRowBytes_ = TIFFTileRowSize64(tif);
        const uint64_t bitsPerTilePixel = planar() ? p_.bits : perPixelBits_;
        if (tileRowBytes_ != (tw * bitsPerTilePixel + 7) / 8 || tileBytes_ != tileRowBytes_ * tl)
            handle_.fail("The TIFF tiles have an unexpected size");
        tile_.assign(size_t(tileBytes_), 0);
        bandRows_ = uint32_t(std::min<uint64_t>(tl, p_.height));
    }

    void readStrips(uint32_t top, uint32_t rows) {
        TIFF* tif = handle_.get();
        if (!planar()) {
            const tmsize_t want = tmsize_t(rows * rowBytes_);
            if (TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, top, 0), band_.data(), want) !=
                want)
                handle_.fail("The TIFF data is damaged");
            return;
        }
        const size_t bytes = p_.bits / 8, planeRow = size_t(p_.width) * bytes;
        plane_.resize(planeRow * rows);
        for (uint16_t s = 0; s < p_.samples; ++s) {
            const tmsize_t want = tmsize_t(planeRow * rows);
            if (TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, top, s), plane_.data(), want) !=
                want)
                handle_.fail("The TIFF data is damaged");
            for (uint32_t r = 0; r < rows; ++r)
                interleave(plane_.data() + r * planeRow, band_.data() + r * rowBytes_, 0, p_.width,
                           s);
        }
    }

    // One plane's samples of `count` pixels into their places in a contiguous row.
    void interleave(const uint8_t* in, uint8_t* row, uint32_t left, uint32_t count,
                    uint16_t sample) const {
        const size_t bytes = p_.bits / 8, pixel = bytes * p_.samples;
        uint8_t* out = row + size_t(left) * pixel + size_t(sample) * bytes;
        for (uint32_t x = 0; x < count; ++x, in += bytes, out += pixel)
            std::memcpy(out, in, bytes);
    }

    void readTiles(uint32_t top, uint32_t rows) {
        TIFF* tif = handle_.get();
        const uint16_t planes = planar() ? p_.samples : 1;
        for (uint32_t left = 0; left < p_.width; left += p_.tileWidth) {
            const uint32_t across = std::min(p_.tileWidth, p_.width - left);
            for (uint16_t s = 0; s < planes; ++s) {
                const tmsize_t want = tmsize_t(tileBytes_);
                if (TIFFReadEncodedTile(tif, TIFFComputeTile(tif, left, top, 0, s), tile_.data(),
                                        want) != want)
                    handle_.fail("The TIFF data is damaged");
                for (uint32_t r = 0; r < rows; ++r) {
                    const uint8_t* in = tile_.data() + r * tileRowBytes_;
                    uint8_t* out = band_.data() + r * rowBytes_;
                    if (planar())
                        interleave(in, out, left, across, s);
                    else
                        copyBits(in, 0, out, size_t(left) * perPixelBits_, across,
                                 int(perPixelBits_));
                }
            }
        }
    }

    const TiffHandle& handle_;
    const Page p_;
    const size_t perPixelBits_, rowBytes_;
    uint32_t bandRows_ = 1;
    uint64_t tileBytes_ = 0, tileRowBytes_ = 0;
    std::vector<uint8_t> band_, tile_, plane_;
};

// Every row of the page, top-down, to `take(y, row)`.
template <typename Take> void forEachRow(const TiffHandle& handle, const Page& p, Take take) {
    BandReader reader(handle, p);
    for (uint32_t top = 0; top < p.height; top += reader.bandRows()) {
        const uint8_t* band = reader.read(top);
        const uint32_t rows = std::min(reader.bandRows(), p.height - top);
        for (uint32_t r = 0; r < rows; ++r)
            take(top + r, band + r * reader.rowBytes());
    }
}

// A colour map stored in 8 bits a value (some writers do) or in 16.
bool isWideColourMap(int count, const uint16_t* r, const uint16_t* g, const uint16_t* b) {
    for (int i = 0; i < count; ++i)
        if (r[i] >= 256 || g[i] >= 256 || b[i] >= 256)
            return true;
    return false;
}

// The palette of a grey or palette page of `bits` bits: a black-to-white ramp
// (white-to-black where white is zero), or the colour map.
void setPalette(const TiffHandle& handle, const Page& p, FIBITMAP* dib, int bits) {
    RGBQUAD* palette = FreeImage_GetPalette(dib);
    const int count = 1 << bits;
    if (p.photometric == PHOTOMETRIC_PALETTE) {
        uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
        if (!TIFFGetField(handle.get(), TIFFTAG_COLORMAP, &r, &g, &b) || !r || !g || !b)
            handle.fail("The TIFF palette is missing");
        const int stored = 1 << p.bits;
        const bool wide = isWideColourMap(stored, r, g, b);
        const auto eight = [wide](uint16_t v) {
            return BYTE(wide ? uint32_t(v) * 255 / 65535 : v);
        };
        for (int i = 0; i < stored; ++i)
            palette[i] = RGBQUAD{eight(b[i]), eight(g[i]), eight(r[i]), 0};
        return;
    }
    const bool inverted = p.photometric == PHOTOMETRIC_MINISWHITE;
    const int step = 255 / (count - 1);
    for (int i = 0; i < count; ++i) {
        const BYTE v = BYTE((inverted ? count - 1 - i : i) * step);
        palette[i] = RGBQUAD{v, v, v, 0};
    }
}

// 1, 4 and 8-bit pages as stored; 2-bit samples widened to 4 bits.
FreeImageDib indexedPage(const TiffHandle& handle, const Page& p) {
    const int bits = p.bits == 2 ? 4 : p.bits;
    FreeImageDib dib = allocate(FIT_BITMAP, p, bits);
    setPalette(handle, p, dib.get(), p.bits);
    forEachRow(handle, p, [&](uint32_t y, const uint8_t* row) {
        BYTE* out = dibRow(dib.get(), p, y);
        if (p.bits != 2) {
            std::memcpy(out, row, (size_t(p.width) * bits + 7) / 8);
            return;
        }
        std::memset(out, 0, (size_t(p.width) + 1) / 2);
        for (uint32_t x = 0; x < p.width; ++x) {
            const int v = (row[x / 4] >> (6 - 2 * (x % 4))) & 3;
            out[x / 2] |= BYTE(x % 2 ? v : v << 4);
        }
    });
    return dib;
}

// 8-bit grey (or palette) with alpha: the grey bitmap, and for each grey value the
// alpha its pixels have, in the transparency table.
FreeImageDib greyAlphaPage(const TiffHandle& handle, const Page& p) {
    FreeImageDib dib = allocate(FIT_BITMAP, p, 8);
    setPalette(handle, p, dib.get(), 8);
    BYTE alpha[256];
    std::memset(alpha, 0xFF, sizeof alpha);
    forEachRow(handle, p, [&](uint32_t y, const uint8_t* row) {
        BYTE* out = dibRow(dib.get(), p, y);
        for (uint32_t x = 0; x < p.width; ++x, row += p.samples) {
            out[x] = row[0];
            alpha[row[0]] = row[1];
        }
    });
    FreeImage_SetTransparencyTable(dib.get(), alpha, 256);
    FreeImage_SetTransparent(dib.get(), TRUE);
    return dib;
}

// 8-bit RGB into FreeImage's B, G, R order; a fourth sample is the alpha.
FreeImageDib colourPage(const TiffHandle& handle, const Page& p) {
    const bool alpha = p.samples >= 4;
    FreeImageDib dib = allocate(FIT_BITMAP, p, alpha ? 32 : 24);
    forEachRow(handle, p, [&](uint32_t y, const uint8_t* row) {
        BYTE* out = dibRow(dib.get(), p, y);
        for (uint32_t x = 0; x < p.width; ++x, row += p.samples, out += alpha ? 4 : 3) {
            out[FI_RGBA_RED] = row[0];
            out[FI_RGBA_GREEN] = row[1];
            out[FI_RGBA_BLUE] = row[2];
            if (alpha)
                out[FI_RGBA_ALPHA] = row[3];
        }
    });
    if (alpha)
        FreeImage_SetTransparent(dib.get(), TRUE);
    return dib;
}

// 8-bit CMYK: each colour is the ink's complement darkened by the black ink.
FreeImageDib cmykPage(const TiffHandle& handle, const Page& p) {
    FreeImageDib dib = allocate(FIT_BITMAP, p, 24);
    forEachRow(handle, p, [&](uint32_t y, const uint8_t* row) {
        BYTE* out = dibRow(dib.get(), p, y);
        for (uint32_t x = 0; x < p.width; ++x, row += p.samples, out += 3) {
            const unsigned k = 255u - row[3];
            out[FI_RGBA_RED] = BYTE((255u - row[0]) * k / 255u);
            out[FI_RGBA_GREEN] = BYTE((255u - row[1]) * k / 255u);
            out[FI_RGBA_BLUE] = BYTE((255u - row[2]) * k / 255u);
        }
    });
    return dib;
}

// Samples of 16 bits and more, copied as they are (FreeImage's sample types
// keep TIFF's order: grey, or R, G, B (, A)).
FreeImageDib samplesPage(const TiffHandle& handle, const Page& p) {
    const FREE_IMAGE_TYPE type = sampleTypeOf(p);
    if (type == FIT_UNKNOWN)
        handle.fail("The TIFF page has a sample layout the program does not read");
    FreeImageDib dib = allocate(type, p, 0);
    const size_t bytes = size_t(p.width) * p.samples * (p.bits / 8);
    forEachRow(handle, p, [&](uint32_t y, const uint8_t* row) {
        std::memcpy(dibRow(dib.get(), p, y), row, bytes);
    });
    return dib;
}

// libtiff's RGBA reader: the whole page as A, B, G, R words, bottom row first.
FreeImageDib rgbaPage(const TiffHandle& handle, const Page& p) {
    TIFF* tif = handle.get();
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message))
        handle.fail(QStringLiteral("The TIFF page cannot be read: %1").arg(message));
    std::vector<uint32_t> raster(size_t(p.width) * p.height);
    if (!TIFFReadRGBAImageOriented(tif, p.width, p.height, raster.data(), ORIENTATION_BOTLEFT, 1))
        handle.fail("The TIFF data is damaged");
    handle.check("The TIFF data is damaged");
    const bool alpha = p.samples == 4;
    FreeImageDib dib = allocate(FIT_BITMAP, p, alpha ? 32 : 24);
    bool seen = false;
    for (uint32_t y = 0; y < p.height; ++y) {
        const uint32_t* in = raster.data() + size_t(y) * p.width;
        BYTE* out = FreeImage_GetScanLine(dib.get(), int(y));
        for (uint32_t x = 0; x < p.width; ++x, out += alpha ? 4 : 3) {
            out[FI_RGBA_RED] = BYTE(TIFFGetR(in[x]));
            out[FI_RGBA_GREEN] = BYTE(TIFFGetG(in[x]));
            out[FI_RGBA_BLUE] = BYTE(TIFFGetB(in[x]));
            if (alpha) {
                out[FI_RGBA_ALPHA] = BYTE(TIFFGetA(in[x]));
                seen = seen || out[FI_RGBA_ALPHA] != 0;
            }
        }
    }
    FreeImage_SetTransparent(dib.get(), seen);
    return dib;
}

unsigned dotsPerMetre(double value) {
    return value > 0 && value < 2e9 ? unsigned(value + 0.5) : 0;
}

// The page's resolution; 300 dots per inch when it states none, inches when it
// gives values without a unit.
void setResolution(TIFF* tif, FIBITMAP* dib) {
    float x = 300, y = 300;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y);
    if (unit == RESUNIT_NONE && x > 0 && y > 0)
        unit = RESUNIT_INCH;
    const double scale = unit == RESUNIT_INCH ? 1 / 0.0254 : unit == RESUNIT_CENTIMETER ? 100 : 0;
    if (scale == 0)
        return;
    FreeImage_SetDotsPerMeterX(dib, dotsPerMetre(double(x) * scale));
    FreeImage_SetDotsPerMeterY(dib, dotsPerMetre(double(y) * scale));
}

FreeImageDib decodeCurrentPage(const TiffHandle& handle) {
    const Page p = pageOf(handle);
    FreeImageDib dib;
    switch (routeOf(handle, p)) {
    case Route::Indexed:
        dib = indexedPage(handle, p);
        break;
    case Route::GreyAlpha:
        dib = greyAlphaPage(handle, p);
        break;
    case Route::Colour:
        dib = colourPage(handle, p);
        break;
    case Route::Cmyk:
        dib = cmykPage(handle, p);
        break;
    case Route::Samples:
        dib = samplesPage(handle, p);
        break;
    case Route::Rgba:
        dib = rgbaPage(handle, p);
        break;
    }
    handle.check("The TIFF data is damaged");
    setResolution(handle.get(), dib.get());
    return dib;
}

} // namespace

FreeImageDib decodeTiffPage(const QByteArray& bytes, int page) {
    TiffHandle handle(bytes, "rm", TiffHandle::Reports::AlsoGlobal);
    handle.setPage(page);
    return decodeCurrentPage(handle);
}

} // namespace picbasket::imagebox
