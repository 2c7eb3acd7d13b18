// Every TIFF layout the program reads, decoded through the image box and through
// the load entry: the pixels (a hash), the picture's format and its resolution are
// held to a table written down from the decoder the program used before libtiff
// decoded every TIFF, so the change of decoder changed nothing a user sees.
#include "core/AppError.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/DamagedImageFiles.h"
#include "tests/common/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <tiffio.h>
#include <vector>

namespace picbasket::test {
namespace {

// How one fixture page is written.
struct Layout {
    int width = 37, height = 23;
    uint16_t bits = 8, samples = 1, photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t extra = 0xFFFF; // EXTRASAMPLES kind of the last sample, none when 0xFFFF
    uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    uint16_t predictor = 1;
    uint32_t rowsPerStrip = 5;
    uint32_t tile = 0;         // tile side, strips when 0
    bool wideColourMap = true; // colour map entries scaled to 16 bits
    bool jpegRgb = false;      // JPEG of RGB data (not YCbCr)
    uint16_t orientation = ORIENTATION_TOPLEFT;
    float xres = 0, yres = 0; // no resolution tags when 0
    uint16_t unit = RESUNIT_INCH;
};

// A sample value that differs between pixels, rows and samples.
uint32_t sampleAt(int x, int y, int s, int page) {
    return uint32_t(x * 7 + y * 13 + s * 61 + page * 29 + (x * y) % 11);
}

void writeColourMap(TIFF* tif, const Layout& l) {
    const int n = 1 << l.bits;
    std::vector<uint16_t> r(static_cast<size_t>(n)), g(static_cast<size_t>(n)),
        b(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int scale = l.wideColourMap ? 257 : 1;
        r[size_t(i)] = uint16_t(((i * 37) % 256) * scale);
        g[size_t(i)] = uint16_t(((i * 91 + 40) % 256) * scale);
        b[size_t(i)] = uint16_t((255 - i * 255 / (n - 1)) * scale);
    }
    TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
}

void writeFields(TIFF* tif, const Layout& l) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(l.width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(l.height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, l.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, l.samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, l.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, l.planar);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, l.compression);
    TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, l.sampleFormat);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, l.orientation);
    if (l.predictor != 1)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, l.predictor);
    if (l.tile) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, l.tile);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, l.tile);
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, l.rowsPerStrip);
    }
    if (l.extra != 0xFFFF) {
        const uint16_t kinds[] = {l.extra};
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, kinds);
    }
    if (l.photometric == PHOTOMETRIC_PALETTE)
        writeColourMap(tif, l);
    if (l.photometric == PHOTOMETRIC_SEPARATED)
        TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
    if (l.compression == COMPRESSION_JPEG) {
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 85);
        if (!l.jpegRgb)
            TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    }
    if (l.xres > 0) {
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, l.xres);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, l.yres);
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, l.unit);
    }
}

// The samples of rows [top, top + rows) of one plane (plane -1: all samples
// interleaved), packed as the layout stores them, columns [left, left + across).
std::vector<uint8_t> packed(const Layout& l, int page, int top, int rows, int left, int across,
                            int plane) {
    const int perPixel = plane < 0 ? l.samples : 1;
    const size_t rowBytes = (size_t(across) * perPixel * l.bits + 7) / 8;
    std::vector<uint8_t> out(rowBytes * size_t(rows), 0);
    for (int r = 0; r < rows; ++r) {
        uint8_t* row = out.data() + size_t(r) * rowBytes;
        for (int x = 0; x < across; ++x)
            for (int s = 0; s < perPixel; ++s) {
                const int sample = plane < 0 ? s : plane;
                const uint32_t v = sampleAt(left + x, top + r, sample, page);
                const size_t i = size_t(x) * perPixel + size_t(s);
                if (l.bits == 8) {
                    row[i] = uint8_t(v);
                } else if (l.bits == 16) {
                    const uint16_t w = uint16_t(v * 331u);
                    std::memcpy(row + 2 * i, &w, 2);
                } else if (l.bits == 32) {
                    const float f = float(v % 256) / 255.0f;
                    std::memcpy(row + 4 * i, &f, 4);
                } else {
                    const uint32_t bitsAt = uint32_t(i) * l.bits;
                    const uint32_t value = (v >> 2) & ((1u << l.bits) - 1);
                    row[bitsAt / 8] |= uint8_t(value << (8 - l.bits - bitsAt % 8));
                }
            }
    }
    return out;
}

bool writeData(TIFF* tif, const Layout& l, int page) {
    const int planes = l.planar == PLANARCONFIG_SEPARATE ? l.samples : 1;
    for (int p = 0; p < planes; ++p) {
        const int plane = planes == 1 ? -1 : p;
        if (l.tile) {
            for (int y = 0; y < l.height; y += int(l.tile))
                for (int x = 0; x < l.width; x += int(l.tile)) {
                    std::vector<uint8_t> data =
                        packed(l, page, y, int(l.tile), x, int(l.tile), plane);
                    if (TIFFWriteTile(tif, data.data(), uint32_t(x), uint32_t(y), 0,
                                      uint16_t(std::max(p, 0))) < 0)
                        return false;
                }
            continue;
        }
        for (int y = 0; y < l.height; ++y) {
            std::vector<uint8_t> row = packed(l, page, y, 1, 0, l.width, plane);
            if (TIFFWriteScanline(tif, row.data(), uint32_t(y), uint16_t(std::max(p, 0))) < 0)
                return false;
        }
    }
    return true;
}

QByteArray writeTiff(const QString& path, const std::vector<Layout>& pages) {
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "w");
    if (!tif)
        return {};
    bool ok = true;
    for (size_t i = 0; i < pages.size() && ok; ++i) {
        writeFields(tif, pages[i]);
        ok = writeData(tif, pages[i], int(i)) && TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    QFile file(path);
    return ok && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "format dpmX x dpmY hash": the hash over the colour table and the bytes of each
// row that hold pixels.
QString describe(const QImage& image) {
    if (image.isNull())
        return QStringLiteral("refused");
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (QRgb c : image.colorTable())
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(&c), sizeof c));
    const qsizetype rowBytes = (qsizetype(image.width()) * image.depth() + 7) / 8;
    for (int y = 0; y < image.height(); ++y)
        hash.addData(
            QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes));
    return QStringLiteral("%1 %2x%3 %4x%5 %6")
        .arg(int(image.format()))
        .arg(image.width())
        .arg(image.height())
        .arg(image.dotsPerMeterX())
        .arg(image.dotsPerMeterY())
        .arg(QString::fromLatin1(hash.result().toHex().left(16)));
}

QString boxDecode(const QString& path, int page) {
    ImageBox box;
    box.setPageIndex(page);
    try {
        box.LoadFromFile(path);
    } catch (const AppError&) {
        return QStringLiteral("refused");
    }
    return describe(box.Picture());
}

// The load entry's FreeImage route, which follows the content: the file named ".pcx"
// (a ".tif" or ".bmp" goes to the GDI+ stand-in first, FreeImage when that fails).
QString loadPicDecode(const QString& path) {
    const QString named = path + ".pcx";
    QFile::remove(named);
    QFile::copy(path, named);
    int32_t w = 0, h = 0;
    return describe(LoadPic(named, sizemode::Original, -1, -1, 0xFFFFFF, w, h));
}

struct Row {
    const char* name;
    std::vector<Layout> pages;
    int page;            // 1-based page the box reads
    const char* box;     // what the box gives
    const char* loadPic; // what the load entry's FreeImage route gives (the first page)
};

Layout with(std::function<void(Layout&)> change) {
    Layout l;
    change(l);
    return l;
}

std::vector<Row> rows() {
    const Layout mono = with([](Layout& l) { l.bits = 1; });
    const Layout rgb = with([](Layout& l) {
        l.samples = 3;
        l.photometric = PHOTOMETRIC_RGB;
    });
    const Layout rgba = with([](Layout& l) {
        l.samples = 4;
        l.photometric = PHOTOMETRIC_RGB;
        l.extra = EXTRASAMPLE_UNASSALPHA;
    });
    const Layout cmyk = with([](Layout& l) {
        l.samples = 4;
        l.photometric = PHOTOMETRIC_SEPARATED;
    });
    auto from = [](Layout l, std::function<void(Layout&)> change) {
        change(l);
        return l;
    };
    return {
        {"mono-minisblack",
         {mono},
         1,
         "1 37x23 11811x11811 11ba5055936fd6bf",
         "1 37x23 11811x11811 11ba5055936fd6bf"},
        {"mono-miniswhite-packbits",
         {from(mono,
               [](Layout& l) {
                   l.photometric = PHOTOMETRIC_MINISWHITE;
                   l.compression = COMPRESSION_PACKBITS;
               })},
         1,
         "1 37x23 11811x11811 22839a49ab64537a",
         "1 37x23 11811x11811 22839a49ab64537a"},
        {"mono-group3",
         {from(mono,
               [](Layout& l) {
                   l.photometric = PHOTOMETRIC_MINISWHITE;
                   l.compression = COMPRESSION_CCITTFAX3;
               })},
         1,
         "1 37x23 11811x11811 22839a49ab64537a",
         "1 37x23 11811x11811 22839a49ab64537a"},
        {"mono-group4",
         {from(mono,
               [](Layout& l) {
                   l.photometric = PHOTOMETRIC_MINISWHITE;
                   l.compression = COMPRESSION_CCITTFAX4;
                   l.rowsPerStrip = 23;
               })},
         1,
         "1 37x23 11811x11811 22839a49ab64537a",
         "1 37x23 11811x11811 22839a49ab64537a"},
        // Refused before libtiff decoded TIFF: 2-bit grey is read, widened to 4 bits.
        {"grey-2bit",
         {with([](Layout& l) { l.bits = 2; })},
         1,
         "3 37x23 11811x11811 46b51f2b84fdde3c",
         "3 37x23 11811x11811 46b51f2b84fdde3c"},
        {"grey-4bit",
         {with([](Layout& l) { l.bits = 4; })},
         1,
         "3 37x23 11811x11811 453fa0d08bfad94c",
         "3 37x23 11811x11811 453fa0d08bfad94c"},
        {"palette-4bit",
         {with([](Layout& l) {
             l.bits = 4;
             l.photometric = PHOTOMETRIC_PALETTE;
         })},
         1,
         "3 37x23 11811x11811 86aaf9a16f3116f2",
         "3 37x23 11811x11811 86aaf9a16f3116f2"},
        {"grey-8bit-lzw",
         {with([](Layout& l) { l.compression = COMPRESSION_LZW; })},
         1,
         "24 37x23 11811x11811 171e524de7c4a0ff",
         "24 37x23 11811x11811 171e524de7c4a0ff"},
        {"grey-8bit-miniswhite",
         {with([](Layout& l) { l.photometric = PHOTOMETRIC_MINISWHITE; })},
         1,
         "3 37x23 11811x11811 e841917e7a4c1c74",
         "3 37x23 11811x11811 e841917e7a4c1c74"},
        {"palette-8bit-deflate",
         {with([](Layout& l) {
             l.photometric = PHOTOMETRIC_PALETTE;
             l.compression = COMPRESSION_ADOBE_DEFLATE;
         })},
         1,
         "3 37x23 11811x11811 2929e8137164807b",
         "3 37x23 11811x11811 2929e8137164807b"},
        {"palette-8bit-narrow-map",
         {with([](Layout& l) {
             l.photometric = PHOTOMETRIC_PALETTE;
             l.wideColourMap = false;
         })},
         1,
         "3 37x23 11811x11811 2929e8137164807b",
         "3 37x23 11811x11811 2929e8137164807b"},
        {"grey-alpha-8bit",
         {with([](Layout& l) {
             l.samples = 2;
             l.extra = EXTRASAMPLE_UNASSALPHA;
         })},
         1,
         "3 37x23 11811x11811 321ad5740a5bf59f",
         "3 37x23 11811x11811 321ad5740a5bf59f"},
        {"rgb-8bit",
         {rgb},
         1,
         "13 37x23 11811x11811 20ada22c57752fc5",
         "29 37x23 11811x11811 01ab3a5cc1ce2a69"},
        {"rgb-8bit-lzw-predictor",
         {from(rgb,
               [](Layout& l) {
                   l.compression = COMPRESSION_LZW;
                   l.predictor = 2;
               })},
         1,
         "13 37x23 11811x11811 20ada22c57752fc5",
         "29 37x23 11811x11811 01ab3a5cc1ce2a69"},
        {"rgb-8bit-planar",
         {from(rgb, [](Layout& l) { l.planar = PLANARCONFIG_SEPARATE; })},
         1,
         "13 37x23 11811x11811 20ada22c57752fc5",
         "29 37x23 11811x11811 01ab3a5cc1ce2a69"},
        {"rgb-8bit-tiled",
         {from(rgb, [](Layout& l) { l.tile = 16; })},
         1,
         "13 37x23 11811x11811 20ada22c57752fc5",
         "29 37x23 11811x11811 01ab3a5cc1ce2a69"},
        // Refused before: planar tiles now give the pixels of the other RGB layouts.
        {"rgb-8bit-tiled-planar-deflate",
         {from(rgb,
               [](Layout& l) {
                   l.tile = 16;
                   l.planar = PLANARCONFIG_SEPARATE;
                   l.compression = COMPRESSION_ADOBE_DEFLATE;
               })},
         1,
         "13 37x23 11811x11811 20ada22c57752fc5",
         "29 37x23 11811x11811 01ab3a5cc1ce2a69"},
        {"rgb-8bit-bottom-up",
         {from(rgb, [](Layout& l) { l.orientation = ORIENTATION_BOTLEFT; })},
         1,
         "13 37x23 11811x11811 c5bdb76667ff7f17",
         "29 37x23 11811x11811 9a3434fe4bbd7d07"},
        {"rgb-jpeg-ycbcr",
         {from(rgb,
               [](Layout& l) {
                   l.photometric = PHOTOMETRIC_YCBCR;
                   l.compression = COMPRESSION_JPEG;
                   l.rowsPerStrip = 16;
               })},
         1,
         "13 37x23 11811x11811 8fa3060e7fd40c9f",
         "29 37x23 11811x11811 b6882300a8f2adce"},
        {"rgb-jpeg-rgb",
         {from(rgb,
               [](Layout& l) {
                   l.compression = COMPRESSION_JPEG;
                   l.jpegRgb = true;
                   l.rowsPerStrip = 16;
               })},
         1,
         "13 37x23 11811x11811 cfb5260aa7e7d61a",
         "29 37x23 11811x11811 289e3f77d07e210b"},
        {"rgba-8bit-unassociated",
         {rgba},
         1,
         "5 37x23 11811x11811 47bf937e1d7c485f",
         "5 37x23 11811x11811 47bf937e1d7c485f"},
        {"rgba-8bit-associated",
         {from(rgba, [](Layout& l) { l.extra = EXTRASAMPLE_ASSOCALPHA; })},
         1,
         "5 37x23 11811x11811 47bf937e1d7c485f",
         "5 37x23 11811x11811 47bf937e1d7c485f"},
        {"rgba-8bit-tiled",
         {from(rgba, [](Layout& l) { l.tile = 16; })},
         1,
         "5 37x23 11811x11811 47bf937e1d7c485f",
         "5 37x23 11811x11811 47bf937e1d7c485f"},
        {"grey-16bit",
         {with([](Layout& l) { l.bits = 16; })},
         1,
         "28 37x23 11811x11811 e67e8448d416e33f",
         "24 37x23 11811x11811 e987ba36c2dc5f2d"},
        {"rgb-16bit",
         {from(rgb, [](Layout& l) { l.bits = 16; })},
         1,
         "25 37x23 11811x11811 af2c2ece03fce62e",
         "13 37x23 11811x11811 337fb5de7996624d"},
        {"rgb-16bit-planar",
         {from(rgb,
               [](Layout& l) {
                   l.bits = 16;
                   l.planar = PLANARCONFIG_SEPARATE;
               })},
         1,
         "25 37x23 11811x11811 af2c2ece03fce62e",
         "13 37x23 11811x11811 337fb5de7996624d"},
        {"rgba-16bit",
         {from(rgba, [](Layout& l) { l.bits = 16; })},
         1,
         "26 37x23 11811x11811 4e76d906319efe7b",
         "5 37x23 11811x11811 0235f3b66f807f36"},
        {"grey-float",
         {with([](Layout& l) {
             l.bits = 32;
             l.sampleFormat = SAMPLEFORMAT_IEEEFP;
         })},
         1,
         "24 37x23 11811x11811 171e524de7c4a0ff",
         "24 37x23 11811x11811 171e524de7c4a0ff"},
        {"cmyk-8bit",
         {cmyk},
         1,
         "13 37x23 11811x11811 e6697d21bda3ca7b",
         "29 37x23 11811x11811 0e211ea5676a93fe"},
        {"cmyk-8bit-planar",
         {from(cmyk, [](Layout& l) { l.planar = PLANARCONFIG_SEPARATE; })},
         1,
         "13 37x23 11811x11811 e6697d21bda3ca7b",
         "29 37x23 11811x11811 0e211ea5676a93fe"},
        // Before: the inks shown as RGBA. Now converted as the CMYK strips are.
        {"cmyk-8bit-tiled",
         {from(cmyk, [](Layout& l) { l.tile = 16; })},
         1,
         "13 37x23 11811x11811 e6697d21bda3ca7b",
         "29 37x23 11811x11811 0e211ea5676a93fe"},
        {"resolution-inch",
         {from(rgb,
               [](Layout& l) {
                   l.xres = 200;
                   l.yres = 100;
               })},
         1,
         "13 37x23 7874x3937 20ada22c57752fc5",
         "29 37x23 7874x3937 01ab3a5cc1ce2a69"},
        {"resolution-centimetre",
         {from(rgb,
               [](Layout& l) {
                   l.xres = 47.25f;
                   l.yres = 47.25f;
                   l.unit = RESUNIT_CENTIMETER;
               })},
         1,
         "13 37x23 4725x4725 20ada22c57752fc5",
         "29 37x23 4725x4725 01ab3a5cc1ce2a69"},
        {"resolution-no-unit",
         {from(rgb,
               [](Layout& l) {
                   l.xres = 150;
                   l.yres = 150;
                   l.unit = RESUNIT_NONE;
               })},
         1,
         "13 37x23 5906x5906 20ada22c57752fc5",
         "29 37x23 5906x5906 01ab3a5cc1ce2a69"},
        {"pages-1",
         {rgb, mono, from(rgb, [](Layout& l) { l.width = 5; })},
         1,
         "13 37x23 11811x11811 20ada22c57752fc5",
         "29 37x23 11811x11811 01ab3a5cc1ce2a69"},
        {"pages-2",
         {rgb, mono, from(rgb, [](Layout& l) { l.width = 5; })},
         2,
         "1 37x23 11811x11811 4753993330bbb841",
         "29 37x23 11811x11811 01ab3a5cc1ce2a69"},
        {"pages-3",
         {rgb, mono, from(rgb, [](Layout& l) { l.width = 5; })},
         3,
         "13 5x23 11811x11811 1e5bbf82673388d3",
         "29 37x23 11811x11811 01ab3a5cc1ce2a69"},
        {"pages-4-missing",
         {rgb, mono, from(rgb, [](Layout& l) { l.width = 5; })},
         4,
         "refused",
         "29 37x23 11811x11811 01ab3a5cc1ce2a69"},
    };
}

TEST(TiffDecodeTable, EveryLayoutDecodesAsTheTableSays) {
    TempAppFolder folder;
    const bool print = qEnvironmentVariableIsSet("PICBASKET_PRINT_TIFF_TABLE");
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.name);
        const QString path = folder.file(QString::fromLatin1(row.name) + ".tif");
        ASSERT_FALSE(writeTiff(path, row.pages).isEmpty());
        const QString box = boxDecode(path, row.page);
        const QString loadPic = loadPicDecode(path);
        if (print)
            std::printf("%s | %s | %s\n", row.name, qPrintable(box), qPrintable(loadPic));
        EXPECT_EQ(box, QString::fromLatin1(row.box));
        EXPECT_EQ(loadPic, QString::fromLatin1(row.loadPic));
    }
}

// The checked-in TIFF fixtures.
TEST(TiffDecodeTable, CheckedInFixturesDecodeAsTheTableSays) {
    const struct {
        const char* file;
        const char* box;
        const char* loadPic;
    } files[] = {
        {"fuzz/imagebox/tiff-iptc-dataset-past-tag.tif", "refused", "refused"},
        {"fuzz/imagebox/tiff-iptc-dataset-past-tag-memory.tif", "refused", "refused"},
    };
    TempAppFolder folder;
    const bool print = qEnvironmentVariableIsSet("PICBASKET_PRINT_TIFF_TABLE");
    for (const auto& file : files) {
        SCOPED_TRACE(file.file);
        const QString path = folder.file(QFileInfo(QString::fromLatin1(file.file)).fileName());
        QFile::copy(QDir(testDataFolder()).filePath(QString::fromLatin1(file.file)), path);
        const QString box = boxDecode(path, 1);
        const QString loadPic = loadPicDecode(path);
        if (print)
            std::printf("%s | %s | %s\n", file.file, qPrintable(box), qPrintable(loadPic));
        EXPECT_EQ(box, QString::fromLatin1(file.box));
        EXPECT_EQ(loadPic, QString::fromLatin1(file.loadPic));
    }
}

// A 6 x 4 page with a TileWidth tag but stored in strips, without strip offsets
// and with 14,849 strip byte counts (found by fuzzing; the fixture's first byte
// is the fuzz target's route byte). Every entry refuses it.
TEST(TiffDecodeCorrupt, TileWidthOnAStrippedPageIsRefusedEverywhere) {
    const QByteArray finding =
        fileBytes(testDataFolder() + "/fuzz/imagebox/tiff-tilewidth-strips-overflow.tif").mid(1);
    ASSERT_EQ(finding.size(), 408);
    TempAppFolder folder;
    for (const char* name : {"finding.tif", "finding.bmp"}) {
        const QString path = folder.file(QString::fromLatin1(name));
        ASSERT_TRUE(writeFileBytes(path, finding));
        for (int mode : {sizemode::Original, sizemode::Fit, sizemode::Box}) {
            int32_t w = -7, h = -7;
            const int side = mode == sizemode::Original ? -1 : 40;
            EXPECT_TRUE(LoadPic(path, mode, side, side, 0xFFFFFF, w, h).isNull())
                << name << " in size mode " << mode;
        }
        ImageBox box;
        EXPECT_THROW(box.LoadFromFile(path), AppError) << name;
    }
    ImageBox box;
    EXPECT_THROW(box.LoadFromMemory(ImageBox::FormatTiff, finding), AppError);
}

} // namespace
} // namespace picbasket::test
