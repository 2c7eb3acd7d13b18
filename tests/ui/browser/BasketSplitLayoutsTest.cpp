// Splitting TIFF files of every common layout: each page file is its page exactly,
// stored as the source stores it, and each thumbnail is the one a full decode of
// the page gives, within one level.
#include "browser/BasketAdder.h"
#include "core/AppError.h"
#include "engine/batch/BasketRows.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/gdiplus/modGDIPlus.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <tiffio.h>
#include <vector>

using namespace picbasket;
using namespace picbasket::test;

namespace {

struct Layout {
    const char* name;
    int width, height;
    uint16_t bits, samples, photometric, compression;
    bool tiled = false;
    bool planar = false;
};

// A sample of page `page` at (x, y), channel c: bands and steps that differ per page.
uint8_t sampleAt(int x, int y, int c, int page) {
    return uint8_t((x * 13 + y * 7 + c * 60 + page * 40) % 256);
}

void setLayoutTags(TIFF* tif, const Layout& l, int page, int pages) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(l.width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(l.height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, l.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, l.samples);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, l.compression);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, l.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, l.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(page), uint16_t(pages));
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 200.0f);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 200.0f);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    if (l.compression == COMPRESSION_LZW)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    if (l.compression == COMPRESSION_JPEG) {
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 90);
        TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    }
    if (l.photometric == PHOTOMETRIC_PALETTE) {
        std::vector<uint16_t> r(256), g(256), b(256);
        for (int i = 0; i < 256; ++i) {
            r[size_t(i)] = uint16_t(i * 257);
            g[size_t(i)] = uint16_t((255 - i) * 257);
            b[size_t(i)] = uint16_t((i * 3 % 256) * 257);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    if (l.tiled) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16u);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, 16u);
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 16u);
    }
}

// Row y of one plane (plane -1: all samples interleaved), packed as stored.
std::vector<uint8_t> rowOf(const Layout& l, int y, int page, int plane) {
    const int samples = plane < 0 ? l.samples : 1;
    std::vector<uint8_t> row(size_t((l.width * samples * l.bits + 7) / 8), 0);
    for (int x = 0; x < l.width; ++x)
        for (int s = 0; s < samples; ++s) {
            const uint8_t v = sampleAt(x, y, plane < 0 ? s : plane, page);
            if (l.bits == 1)
                row[size_t(x / 8)] |= uint8_t((v > 127 ? 1 : 0) << (7 - x % 8));
            else
                row[size_t(x * samples + s)] = v;
        }
    return row;
}

bool writeTiles(TIFF* tif, const Layout& l, int page) {
    const int planes = l.planar ? l.samples : 1;
    const tmsize_t tileBytes = TIFFTileSize(tif);
    for (int plane = 0; plane < planes; ++plane)
        for (int ty = 0; ty < l.height; ty += 16)
            for (int tx = 0; tx < l.width; tx += 16) {
                std::vector<uint8_t> tile(size_t(tileBytes), 0);
                const size_t pixel = size_t(l.planar ? 1 : l.samples);
                for (int y = ty; y < std::min(ty + 16, l.height); ++y) {
                    const std::vector<uint8_t> row = rowOf(l, y, page, l.planar ? plane : -1);
                    for (int x = tx; x < std::min(tx + 16, l.width); ++x)
                        std::memcpy(&tile[(size_t(y - ty) * 16 + size_t(x - tx)) * pixel],
                                    &row[size_t(x) * pixel], pixel);
                }
                if (TIFFWriteTile(tif, tile.data(), uint32_t(tx), uint32_t(ty), 0,
                                  uint16_t(plane)) < 0)
                    return false;
            }
    return true;
}

bool writeLayout(const QString& path, const Layout& l, int pages) {
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "w");
    if (!tif)
        return false;
    bool ok = true;
    for (int page = 0; page < pages && ok; ++page) {
        setLayoutTags(tif, l, page, pages);
        if (l.tiled) {
            ok = writeTiles(tif, l, page);
        } else {
            const int planes = l.planar ? l.samples : 1;
            for (int plane = 0; plane < planes && ok; ++plane)
                for (int y = 0; y < l.height && ok; ++y) {
                    std::vector<uint8_t> row = rowOf(l, y, page, l.planar ? plane : -1);
                    ok = TIFFWriteScanline(tif, row.data(), uint32_t(y), uint16_t(plane)) >= 0;
                }
        }
        ok = ok && TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    return ok;
}

uint16_t compressionOf(const QString& path, int page) {
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "r");
    if (!tif)
        return 0;
    uint16_t compression = 0;
    if (TIFFSetDirectory(tif, tdir_t(page)))
        TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFClose(tif);
    return compression;
}

int largestDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return 256;
    int worst = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

// The whole decoded page averaged down to `w` x `h`, each target pixel the exact
// mean of the source area it covers (fractions of pixels at its edges).
QImage areaAverage(const QImage& page, int w, int h) {
    const QImage source = page.convertToFormat(QImage::Format_RGB32);
    const double sx = double(source.width()) / w, sy = double(source.height()) / h;
    QImage out(w, h, QImage::Format_RGB32);
    for (int ty = 0; ty < h; ++ty)
        for (int tx = 0; tx < w; ++tx) {
            double sum[3] = {0, 0, 0};
            for (int y = int(ty * sy); y < std::min(source.height(), int(std::ceil((ty + 1) * sy)));
                 ++y) {
                const double wy = std::min(y + 1.0, (ty + 1) * sy) - std::max(double(y), ty * sy);
                for (int x = int(tx * sx);
                     x < std::min(source.width(), int(std::ceil((tx + 1) * sx))); ++x) {
                    const double wx =
                        std::min(x + 1.0, (tx + 1) * sx) - std::max(double(x), tx * sx);
                    const QRgb p = source.pixel(x, y);
                    sum[0] += qRed(p) * wx * wy;
                    sum[1] += qGreen(p) * wx * wy;
                    sum[2] += qBlue(p) * wx * wy;
                }
            }
            auto level = [&](double v) {
                return int(std::clamp(std::nearbyint(v / (sx * sy)), 0.0, 255.0));
            };
            out.setPixel(tx, ty, qRgb(level(sum[0]), level(sum[1]), level(sum[2])));
        }
    return out;
}

// The thumbnail made from the whole decoded page: a page more than twice four
// times the box is averaged down to fit four times the box, then redrawn into the
// box.
QImage thumbnailOfWholePage(const QImage& page, int box) {
    QImage picture = page;
    if (page.width() > 8 * box || page.height() > 8 * box) {
        const QSize fitted = page.size().scaled(4 * box, 4 * box, Qt::KeepAspectRatio);
        picture = areaAverage(page, fitted.width(), fitted.height());
    }
    return fncResizePictureGDIPlus(picture, picture.width(), picture.height(), picturetype::Bitmap,
                                   box, box, sizemode::Box, 0xFFFFFF, true);
}

} // namespace

TEST(BasketSplitLayouts, PageFilesAreExactStoredCopiesWithThumbnailsOfTheWholePage) {
    const Layout layouts[] = {
        {"bilevel Group 4", 700, 500, 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4},
        {"grey LZW with predictor", 640, 410, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_LZW},
        {"RGB tiled Deflate", 530, 350, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_ADOBE_DEFLATE, true},
        {"RGB planar LZW", 500, 340, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW, false, true},
        {"JPEG YCbCr", 480, 320, 8, 3, PHOTOMETRIC_YCBCR, COMPRESSION_JPEG},
        {"palette PackBits", 300, 200, 8, 1, PHOTOMETRIC_PALETTE, COMPRESSION_PACKBITS},
        {"small grey, no reduction", 30, 20, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_NONE},
    };
    constexpr int pages = 3;
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        TempAppFolder temp;
        const QString folder = temp.file("temp");
        QDir().mkpath(folder);
        const QString scan = temp.file("scan.tif");
        ASSERT_TRUE(writeLayout(scan, layout, pages));
        BasketAdder adder;
        adder.pageFiles.setFolder(folder);
        std::vector<BasketRow> rows;
        std::vector<QImage> thumbnails;
        adder.addRow = [&](const BasketRow& row, const QImage& thumbnail) {
            rows.push_back(row);
            thumbnails.push_back(thumbnail);
            return int(rows.size());
        };
        BasketSource source;
        source.row.text = QStringLiteral("scan.tif");
        source.row.tag = scan;
        source.row.subItems[2] = QString::number(pages);
        ASSERT_TRUE(adder.add({source}, 1, BasketAdder::Mode::Command));
        ASSERT_EQ(rows.size(), size_t(pages));
        QImageReader theirs(scan);
        for (int p = 1; p <= pages; ++p) {
            const QString pageFile = rows[size_t(p - 1)].Tag;
            ImageBox original, copy;
            original.setPageIndex(p);
            original.LoadFromFile(scan);
            copy.LoadFromFile(pageFile);
            EXPECT_EQ(copy.image(), original.image()) << "page " << p;
            ASSERT_TRUE(theirs.jumpToImage(p - 1));
            EXPECT_EQ(QImageReader(pageFile).read().convertToFormat(QImage::Format_ARGB32),
                      theirs.read().convertToFormat(QImage::Format_ARGB32))
                << "page " << p << " read by Qt";
            EXPECT_EQ(compressionOf(pageFile, 0), layout.compression) << "stored as the source";
            EXPECT_EQ(rows[size_t(p - 1)].SubItem(1),
                      QStringLiteral("%1 X %2").arg(layout.width).arg(layout.height));
            EXPECT_LE(largestDifference(thumbnails[size_t(p - 1)],
                                        thumbnailOfWholePage(original.image(), 40)),
                      1)
                << "thumbnail of page " << p;
        }
    }
}

// A page whose data is cut short is refused, as loading it would be; the pages
// before it are in the basket.
TEST(BasketSplitLayouts, ADamagedPageEndsTheAddWithAnError) {
    TempAppFolder temp;
    const QString folder = temp.file("temp");
    QDir().mkpath(folder);
    const QString scan = temp.file("scan.tif");
    const Layout grey{"grey", 200, 150, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_LZW};
    ASSERT_TRUE(writeLayout(scan, grey, 2));
    QFile file(scan);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    // Garbles the last page's first strip (its data follow the first page's).
    TIFF* tif = TIFFOpen(scan.toLocal8Bit().constData(), "r");
    ASSERT_TRUE(tif && TIFFSetDirectory(tif, 1));
    uint64_t* offsets = nullptr;
    TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets);
    const qint64 at = qint64(offsets[0]);
    TIFFClose(tif);
    for (int i = 0; i < 64; ++i)
        bytes[at + i] = char(0xFF);
    file.seek(0);
    file.write(bytes);
    file.close();
    BasketAdder adder;
    adder.pageFiles.setFolder(folder);
    int added = 0;
    adder.addRow = [&](const BasketRow&, const QImage&) { return ++added; };
    BasketSource source;
    source.row.text = QStringLiteral("scan.tif");
    source.row.tag = scan;
    source.row.subItems[2] = QStringLiteral("2");
    EXPECT_THROW(adder.add({source}, 1, BasketAdder::Mode::Command), AppError);
    EXPECT_EQ(added, 1);
}
