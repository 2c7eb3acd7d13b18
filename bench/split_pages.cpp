// Adding a 50-page A4 scan at 300 dpi to the basket (the adder the main window runs:
// every page copied as its own TIFF and thumbnailed), against `tiffsplit` on the
// same file in the same run, and against `tiffsplit` followed by one `vipsthumbnail`
// call over all its pages at the basket's thumbnail size (the same work: a file and
// a thumbnail per page). Two scans: bilevel pages in CCITT Group 4, as document
// scanners write them, and 8-bit grey pages in LZW. Then a file of 10,000 pages of
// one pixel each, where the cost of a page must not grow with the page count.
// Ratios above 1.0 mean we are slower.
#include "bench/BenchSupport.h"
#include "browser/BasketAdder.h"
#include "engine/batch/BasketRows.h"
#include "tests/common/ManyPageTiff.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <tiffio.h>
#include <vector>

using namespace picbasket;
using namespace picbasket::bench;

namespace {

constexpr int pages = 50, width = 2480, height = 3508, runs = 3;

// Lines of "text" on white, a different layout on each page.
uint8_t inkAt(int x, int y, int page) {
    const int line = y / 48;
    const bool inLine = y % 48 > 8 && y % 48 < 38 && y > 200 && y < height - 200;
    const bool inWord = ((x / 90 + line + page) % 7) != 0 && x > 180 && x < width - 180;
    // Glyph-sized blocks of solid ink, so the pages compress as scanned text does.
    const bool stroke = ((x / 12 + (y % 48) / 10 + page) % 3) != 0 && x % 90 < 70;
    return inLine && inWord && stroke ? 1 : 0;
}

bool writeScan(const QString& path, bool bilevel) {
    TIFF* tif = TIFFOpen(path.toLocal8Bit().constData(), "w");
    if (!tif)
        return false;
    std::vector<uint8_t> row(width);
    for (int p = 0; p < pages; ++p) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(width));
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(height));
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(bilevel ? 1 : 8));
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
                     bilevel ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, bilevel ? COMPRESSION_CCITTFAX4 : COMPRESSION_LZW);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(bilevel ? height : 64));
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, 300.0f);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, 300.0f);
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(p), uint16_t(pages));
        for (int y = 0; y < height; ++y) {
            std::fill(row.begin(), row.end(), 0);
            for (int x = 0; x < width; ++x) {
                const uint8_t ink = inkAt(x, y, p);
                if (bilevel)
                    row[size_t(x / 8)] |= uint8_t(ink << (7 - x % 8));
                else
                    row[size_t(x)] = ink ? uint8_t(30 + (x + y) % 40) : uint8_t(235 + x % 20);
            }
            if (TIFFWriteScanline(tif, row.data(), uint32_t(y), 0) < 0) {
                TIFFClose(tif);
                return false;
            }
        }
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    return true;
}

bool emptyFolder(const QString& folder) {
    QDir dir(folder);
    dir.removeRecursively();
    return QDir().mkpath(folder);
}

// One add by command, as the add button runs it, into a basket held in memory.
bool addOnce(const QString& scan, const QString& folder, int& rowsAdded, int pages = ::pages) {
    if (!emptyFolder(folder))
        return false;
    BasketAdder adder;
    adder.pageFiles.setFolder(folder);
    std::vector<BasketRow> rows;
    adder.inBasket = [](const QString&) { return false; };
    adder.addRow = [&](const BasketRow& row, const QImage&) {
        rows.push_back(row);
        return int(rows.size());
    };
    adder.pumpEvents = [] { QCoreApplication::processEvents(); };
    BasketSource source;
    source.row.text = QStringLiteral("scan.tif");
    source.row.tag = scan;
    source.row.subItems[2] = QString::number(pages);
    source.position = 1;
    const bool ok = adder.add({source}, 1, BasketAdder::Mode::Command);
    rowsAdded = int(rows.size());
    return ok && rowsAdded == pages;
}

void compare(const QString& label, const QString& scan, const QString& work) {
    int rowsAdded = 0;
    const double ours = bestSeconds(runs, [&] { return addOnce(scan, work + "/ours", rowsAdded); });
    const double theirs = bestSeconds(runs, [&] {
        return emptyFolder(work + "/theirs") &&
               runTool(QStringLiteral("tiffsplit"), {scan, work + "/theirs/page"});
    });
    const QString box = QStringLiteral("%1x%2")
                            .arg(BasketAdder().thumbnailWidth)
                            .arg(BasketAdder().thumbnailHeight);
    const double withThumbnails = bestSeconds(runs, [&] {
        const QString folder = work + "/thumbs";
        if (!emptyFolder(folder) || !runTool(QStringLiteral("tiffsplit"), {scan, folder + "/page"}))
            return false;
        QStringList args{QStringLiteral("-s"), box, QStringLiteral("-o"),
                         QStringLiteral("%s_thumb.png")};
        for (const QString& page : QDir(folder).entryList({QStringLiteral("page*.tif")}))
            args << folder + "/" + page;
        return runTool(QStringLiteral("vipsthumbnail"), args);
    });
    std::printf("%s: %d pages, file %.1f MB\n", qPrintable(label), rowsAdded,
                QFileInfo(scan).size() / 1e6);
    std::printf("  basket add %.3f s, tiffsplit %.3f s, ratio %.2f\n", ours, theirs,
                ours > 0 && theirs > 0 ? ours / theirs : -1.0);
    std::printf("  basket add / tiffsplit + vipsthumbnail (%.3f s) %s ratio %.2f\n", withThumbnails,
                qPrintable(label), ours > 0 && withThumbnails > 0 ? ours / withThumbnails : -1.0);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    const QString bilevel = work.filePath("scan-g4.tif");
    const QString grey = work.filePath("scan-grey.tif");
    if (!writeScan(bilevel, true) || !writeScan(grey, false)) {
        std::fprintf(stderr, "could not write the scans\n");
        return 1;
    }
    compare(QStringLiteral("A4 300 dpi bilevel, Group 4"), bilevel, work.path());
    compare(QStringLiteral("A4 300 dpi 8-bit grey, LZW"), grey, work.path());
    constexpr int many = 10000;
    const QString tiny = work.filePath("pages-1px.tif");
    if (!test::writeOnePixelPages(tiny, many))
        return 1;
    int rowsAdded = 0;
    const double ours =
        bestSeconds(1, [&] { return addOnce(tiny, work.path() + "/ours", rowsAdded, many); });
    const double theirs = bestSeconds(1, [&] {
        return emptyFolder(work.path() + "/theirs") &&
               runTool(QStringLiteral("tiffsplit"), {tiny, work.path() + "/theirs/page"});
    });
    std::printf("%d one-pixel pages: basket add %.3f s (%.3f ms a page), tiffsplit %.3f s, "
                "ratio %.2f\n",
                rowsAdded, ours, ours * 1000 / many, theirs,
                ours > 0 && theirs > 0 ? ours / theirs : -1.0);
    return 0;
}
