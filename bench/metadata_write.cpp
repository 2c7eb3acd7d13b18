// One Artist change written into the previewed file, as the edit dialog's OK does
// (fncUpdateAttribute: the attribute and the Software stamp set in the image box,
// then only the metadata written into the file), against
// `exiftool -Artist=... -overwrite_original` on a copy of the same file in the
// same run. Two files: a 20-megapixel JPEG and a 3-page TIFF of about 100 MB.
// Ratios above 1.0 mean we are slower. Last, a TIFF with 60,000 keywords: read,
// listed and one keyword added.
#include "bench/BenchSupport.h"
#include "metadata/frmIPTCKeywords.h"
#include "metadata/modMetadata.h"
#include "platform/imagebox/ImageBox.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <tiffio.h>
#include <vector>

using namespace picbasket;
using namespace picbasket::bench;

namespace {

constexpr int runs = 3;

bool writeJpeg(const QString& path) {
    return photoLikeImage(5472, 3648, 1).save(path, "JPEG", 90);
}

// Three uncompressed 24-bit pages of 3400 x 3400, 34.7 MB each.
bool writeTiff(const QString& path) {
    constexpr int side = 3400;
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tif)
        return false;
    for (int page = 0; page < 3; ++page) {
        const QImage image =
            photoLikeImage(side, side, 10 + page).convertToFormat(QImage::Format_RGB888);
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(side));
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(side));
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3));
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(64));
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(page), uint16_t(3));
        TIFFSetField(tif, TIFFTAG_ARTIST, "Nobody");
        for (int y = 0; y < side; ++y)
            if (TIFFWriteScanline(tif, const_cast<uchar*>(image.constScanLine(y)), uint32_t(y),
                                  0) < 0) {
                TIFFClose(tif);
                return false;
            }
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
    return true;
}

bool freshCopy(const QString& from, const QString& to) {
    QFile::remove(to);
    return QFile::copy(from, to);
}

void compare(const QString& label, const QString& original, const QString& work) {
    const QString ours = work + "/ours." + QFileInfo(original).suffix();
    const QString theirs = work + "/theirs." + QFileInfo(original).suffix();
    if (!freshCopy(original, ours)) {
        std::printf("%s: could not copy the file\n", qPrintable(label));
        return;
    }
    // The box holds the previewed image, as it does when the dialog's OK is pressed.
    ImageBox box;
    box.LoadFromFile(ours);
    int name = 0;
    const double oursSeconds = bestSeconds(runs, [&] {
        return fncUpdateAttribute(ours, false, QStringLiteral("Artist"),
                                  QStringLiteral("Artist %1").arg(++name), box);
    });
    double theirsSeconds = -1;
    const QString exiftool = QStandardPaths::findExecutable(QStringLiteral("exiftool"));
    if (!exiftool.isEmpty()) {
        theirsSeconds = 0;
        for (int run = 0; run < runs; ++run) {
            if (!freshCopy(original, theirs))
                return;
            const double seconds = bestSeconds(1, [&] {
                return runTool(exiftool, {QStringLiteral("-q"),
                                          QStringLiteral("-Artist=Artist %1").arg(run),
                                          QStringLiteral("-overwrite_original"), theirs});
            });
            if (seconds < 0) {
                theirsSeconds = -1;
                break;
            }
            theirsSeconds = run == 0 ? seconds : std::min(theirsSeconds, seconds);
        }
    }
    std::printf("%s: file %.1f MB\n", qPrintable(label), QFileInfo(original).size() / 1e6);
    std::printf("  fncUpdateAttribute %.3f s, exiftool %.3f s, ratio %.2f\n", oursSeconds,
                theirsSeconds,
                oursSeconds > 0 && theirsSeconds > 0 ? oursSeconds / theirsSeconds : -1.0);
}

// A TIFF whose IPTC holds 60,000 keywords: read into the box, shown in the
// keyword dialog's list, and one keyword added and written as the dialog's OK
// does, against `exiftool -Keywords+=...` on a copy.
void compareKeywords(const QString& work) {
    constexpr int count = 60000;
    const QString original = work + "/keywords.tif";
    {
        ImageBox maker;
        maker.setImage(photoLikeImage(640, 480, 3));
        for (int i = 0; i < count; ++i)
            maker.AddIptcKeyword(QStringLiteral("keyword%1").arg(i));
        maker.SaveToFile(original);
    }
    const QString ours = work + "/keywords-ours.tif";
    const QString theirs = work + "/keywords-theirs.tif";
    int edit = 0;
    const double oursSeconds = bestSeconds(runs, [&] {
        if (!freshCopy(original, ours))
            return false;
        ImageBox box;
        box.LoadFromFile(ours);
        frmIPTCKeywords dialog;
        dialog.subSetup(box);
        QStringList keywords;
        for (int i = 0; i < dialog.lstKeywords->count(); ++i)
            keywords << dialog.lstKeywords->item(i)->text();
        keywords << QStringLiteral("added%1").arg(++edit);
        box.ClearIptcKeywords();
        for (const QString& keyword : keywords)
            box.AddIptcKeyword(keyword);
        box.SaveJpegMetadata(ours);
        return keywords.size() == count + 1;
    });
    double theirsSeconds = -1;
    const QString exiftool = QStandardPaths::findExecutable(QStringLiteral("exiftool"));
    if (!exiftool.isEmpty())
        theirsSeconds = bestSeconds(runs, [&] {
            return freshCopy(original, theirs) &&
                   runTool(exiftool, {QStringLiteral("-q"), QStringLiteral("-Keywords+=added"),
                                      QStringLiteral("-overwrite_original"), theirs});
        });
    std::printf("TIFF with %d IPTC keywords: file %.1f MB\n", count,
                QFileInfo(original).size() / 1e6);
    std::printf("  read, list and one keyword added %.3f s, exiftool %.3f s, ratio %.2f\n",
                oursSeconds, theirsSeconds,
                oursSeconds > 0 && theirsSeconds > 0 ? oursSeconds / theirsSeconds : -1.0);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    subInitMetadataTables();
    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    const QString jpeg = work.filePath("photo.jpg");
    const QString tiff = work.filePath("pages.tif");
    if (!writeJpeg(jpeg) || !writeTiff(tiff)) {
        std::fprintf(stderr, "could not write the test files\n");
        return 1;
    }
    compare(QStringLiteral("JPEG 5472 x 3648 (20 MP)"), jpeg, work.path());
    compare(QStringLiteral("TIFF 3 pages of 3400 x 3400, 24-bit, uncompressed"), tiff, work.path());
    compareKeywords(work.path());
    return 0;
}
