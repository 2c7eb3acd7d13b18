#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/meta/ImageMetadata.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tiffio.h>

namespace picbasket {
namespace {

ImageMetadata sampleMetadata() {
    ImageMetadata metadata;
    EXPECT_TRUE(metadata.setExif("Artist", "Jane Doe"));
    EXPECT_TRUE(metadata.setExif("DateTimeOriginal", "2004:05:06 07:08:09"));
    EXPECT_TRUE(metadata.setExif("GPSAltitude", "1200/10"));
    metadata.setIptcText(iptc::Caption, QStringLiteral("Pagé one"));
    metadata.addIptcListItem(iptc::Keywords, "tiff");
    return metadata;
}

void expectSample(const QString& path) {
    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.exifValue("Artist"), "Jane Doe");
    EXPECT_EQ(read.exifValue("DateTimeOriginal"), "2004:05:06 07:08:09");
    EXPECT_EQ(read.exifValue("GPSAltitude"), "1200/10");
    EXPECT_EQ(read.iptcText(iptc::Caption), QStringLiteral("Pagé one"));
    EXPECT_EQ(read.iptcList(iptc::Keywords), QStringList({"tiff"}));
}

struct TiffCase {
    int pages;
    const char* mode; // libtiff open mode: byte order
};

class TiffMetadata : public ::testing::TestWithParam<TiffCase> {};

// Every page and every pixel stays; the first page gains the metadata. Saving a
// second time (the usual edit-and-save of the metadata windows) still keeps all.
TEST_P(TiffMetadata, SaveKeepsEveryPageAndItsPixels) {
    QTemporaryDir dir;
    const QString path = dir.filePath("pages.tif");
    test::writeMultiPageTiff(path, GetParam().pages);
    if (QByteArray(GetParam().mode) == "wb") {
        // Rewrite big-endian: libtiff writes native order unless told.
        TIFF* in = TIFFOpen(path.toLocal8Bit().constData(), "r");
        const QString bigPath = dir.filePath("big.tif");
        TIFF* out = TIFFOpen(bigPath.toLocal8Bit().constData(), "wb");
        do {
            uint32_t w = 0, h = 0;
            TIFFGetField(in, TIFFTAG_IMAGEWIDTH, &w);
            TIFFGetField(in, TIFFTAG_IMAGELENGTH, &h);
            TIFFSetField(out, TIFFTAG_IMAGEWIDTH, w);
            TIFFSetField(out, TIFFTAG_IMAGELENGTH, h);
            TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
            TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
            TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, h);
            TIFFSetField(out, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
            QByteArray row(TIFFScanlineSize(in), '\0');
            for (uint32_t y = 0; y < h; ++y) {
                TIFFReadScanline(in, row.data(), y, 0);
                TIFFWriteScanline(out, row.data(), y, 0);
            }
            TIFFWriteDirectory(out);
        } while (TIFFReadDirectory(in));
        TIFFClose(in);
        TIFFClose(out);
        QFile::remove(path);
        QFile::rename(bigPath, path);
        ASSERT_TRUE(test::readFile(path).startsWith("MM"));
    }
    const std::vector<QByteArray> before = test::tiffPagePixels(path);
    ASSERT_EQ(int(before.size()), GetParam().pages);

    sampleMetadata().writeInto(path);
    EXPECT_EQ(test::tiffPagePixels(path), before);
    expectSample(path);

    ImageMetadata again;
    ASSERT_TRUE(again.readFrom(path));
    ASSERT_TRUE(again.setExif("Artist", "Someone Else"));
    again.writeInto(path);
    EXPECT_EQ(test::tiffPagePixels(path), before);
    ImageMetadata reread;
    ASSERT_TRUE(reread.readFrom(path));
    EXPECT_EQ(reread.exifValue("Artist"), "Someone Else");
    EXPECT_EQ(reread.iptcText(iptc::Caption), QStringLiteral("Pagé one"));
    EXPECT_EQ(reread.exifValue("ImageWidth"), "8");
}

INSTANTIATE_TEST_SUITE_P(PagesAndByteOrders, TiffMetadata,
                         ::testing::Values(TiffCase{3, "w"}, TiffCase{6, "w"}, TiffCase{3, "wb"}));

TEST(TiffMetadataPatch, ClearingMetadataKeepsTheImage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("clear.tif");
    test::writeMultiPageTiff(path, 3);
    const std::vector<QByteArray> before = test::tiffPagePixels(path);
    sampleMetadata().writeInto(path);
    ImageMetadata metadata;
    ASSERT_TRUE(metadata.readFrom(path));
    metadata.deleteAllExif();
    metadata.deleteAllIptc();
    metadata.writeInto(path);
    EXPECT_EQ(test::tiffPagePixels(path), before);
    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_FALSE(read.hasIptc());
    EXPECT_EQ(read.exifValue("Artist"), "");
    EXPECT_EQ(read.exifValue("ImageWidth"), "8");
}

// A TIFF may carry IPTC twice: in its IPTC tag and inside Photoshop image
// resources. Both must take the new IPTC, or the old text comes back.
TEST(TiffMetadataPatch, UpdatesIptcInsidePhotoshopResourcesToo) {
    QTemporaryDir dir;
    const QString path = dir.filePath("resources.tif");
    test::writeMultiPageTiff(path, 1);
    {
        Exiv2::IptcData old;
        old["Iptc.Application2.Caption"] = "old caption";
        const Exiv2::DataBuf resources = Exiv2::Photoshop::setIptcIrb(nullptr, 0, old);
        TIFF* tiff = TIFFOpen(path.toLocal8Bit().constData(), "r+");
        ASSERT_NE(tiff, nullptr);
        TIFFSetField(tiff, TIFFTAG_PHOTOSHOP, uint32_t(resources.size_), resources.pData_);
        TIFFRewriteDirectory(tiff);
        TIFFClose(tiff);
    }
    ImageMetadata metadata;
    ASSERT_TRUE(metadata.readFrom(path));
    ASSERT_EQ(metadata.iptcText(iptc::Caption), "old caption");
    metadata.setIptcText(iptc::Caption, "new caption");
    metadata.writeInto(path);

    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.iptcText(iptc::Caption), "new caption");
    TIFF* tiff = TIFFOpen(path.toLocal8Bit().constData(), "r");
    ASSERT_NE(tiff, nullptr);
    uint32_t size = 0;
    const char* data = nullptr;
    ASSERT_TRUE(TIFFGetField(tiff, TIFFTAG_PHOTOSHOP, &size, &data));
    const QByteArray resources(data, qsizetype(size));
    TIFFClose(tiff);
    EXPECT_TRUE(resources.contains("new caption"));
    EXPECT_FALSE(resources.contains("old caption"));
}

TEST(JpegMetadata, SaveLeavesTheScanUntouched) {
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    test::writeJpeg(path, 64, 48);
    const QByteArray scan = test::jpegScan(test::readFile(path));
    ASSERT_GT(scan.size(), 100);

    ImageBox box;
    ASSERT_TRUE(box.SetExifAttribute("Artist", "Jane Doe"));
    box.setIptcHeadline("Headline");
    box.SaveJpegMetadata(path);
    EXPECT_EQ(test::jpegScan(test::readFile(path)), scan);
    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.exifValue("Artist"), "Jane Doe");
    EXPECT_EQ(read.iptcText(iptc::Headline), "Headline");

    box.DeleteAllExif();
    box.DeleteAllIptc();
    box.SaveJpegMetadata(path);
    EXPECT_EQ(test::jpegScan(test::readFile(path)), scan);
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.exifCount(), 0);
    EXPECT_FALSE(read.hasIptc());
}

TEST(SaveJpegMetadata, RefusesFilesWithoutAPlaceForMetadata) {
    QTemporaryDir dir;
    const QString codestream = dir.filePath("image.j2k");
    const QByteArray j2k("\xFF\x4F\xFF\x51\x00\x29\x00\x00\x00\x00\x00\x08", 12);
    test::writeFile(codestream, j2k);
    const QString png = dir.filePath("image.png");
    QImage(4, 4, QImage::Format_RGB888).save(png, "PNG");
    const QByteArray pngBytes = test::readFile(png);

    ImageBox box;
    ASSERT_TRUE(box.SetExifAttribute("Artist", "Jane Doe"));
    try {
        box.SaveJpegMetadata(codestream);
        ADD_FAILURE() << "wrote into a codestream";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::Unexpected);
        EXPECT_TRUE(e.description().contains("codestream")) << e.description().toStdString();
    }
    EXPECT_EQ(test::readFile(codestream), j2k);
    EXPECT_THROW(box.SaveJpegMetadata(png), AppError);
    EXPECT_EQ(test::readFile(png), pngBytes);
    EXPECT_THROW(box.SaveJpegMetadata(dir.filePath("missing.jpg")), AppError);
}

// A JPEG whose APP1 segment carries the given EXIF payload (after "Exif\0\0").
QByteArray jpegWithExifPayload(const QByteArray& jpeg, const QByteArray& payload) {
    QByteArray segment = QByteArray("Exif\0\0", 6) + payload;
    const int length = int(segment.size()) + 2;
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char(length >> 8)).append(char(length & 0xFF));
    return jpeg.left(2) + app1 + segment + jpeg.mid(2);
}

QByteArray cleanJpeg(const QTemporaryDir& dir) {
    const QString clean = dir.filePath("clean.jpg");
    test::writeJpeg(clean);
    return test::readFile(clean);
}

TEST(MetadataCorrupt, DamagedExifInAJpegGivesNoMetadataAndNoCrash) {
    QTemporaryDir dir;
    const QByteArray jpeg = cleanJpeg(dir);
    const QByteArray payloads[] = {
        QByteArray("XX\x2A\x00\x08\x00\x00\x00", 8),          // no byte order
        QByteArray("II\x2A\x00\xFF\xFF\xFF\x7F", 8),          // directory beyond the end
        QByteArray("II\x2A\x00\x08\x00\x00\x00\xFF\xFF", 10), // 65535 entries
        QByteArray("II", 2),
    };
    for (const QByteArray& payload : payloads) {
        const QString path = dir.filePath("damaged.jpg");
        test::writeFile(path, jpegWithExifPayload(jpeg, payload));
        ImageMetadata metadata;
        metadata.readFrom(path);
        EXPECT_EQ(metadata.exifCount(), 0) << payload.toHex().constData();
    }
}

// An entry whose value lies far outside the block: whatever is salvaged of the
// block, the value read is never bytes from outside it.
TEST(MetadataCorrupt, ValueOutsideTheExifBlockIsNeverRead) {
    QTemporaryDir dir;
    const QByteArray payload("II\x2A\x00\x08\x00\x00\x00\x01\x00\x0F\x01\x02\x00"
                             "\xFF\xFF\xFF\x0F\x00\x01\x00\x00",
                             22);
    const QString path = dir.filePath("damaged.jpg");
    test::writeFile(path, jpegWithExifPayload(cleanJpeg(dir), payload));
    ImageMetadata metadata;
    metadata.readFrom(path);
    EXPECT_EQ(metadata.exifValue("Make"), "");
}

TEST(MetadataCorrupt, ImageBoxLoadsThePixelsOfAJpegWithDamagedExif) {
    QTemporaryDir dir;
    const QString path = dir.filePath("damaged.jpg");
    test::writeFile(
        path, jpegWithExifPayload(cleanJpeg(dir), QByteArray("II\x2A\x00\xFF\xFF\xFF\x7F", 8)));
    ImageBox box;
    box.LoadFromFile(path);
    EXPECT_TRUE(box.HasImage());
    EXPECT_EQ(box.ImageWidth(), 16);
    EXPECT_EQ(box.ExifCount(), 0);
    EXPECT_FALSE(box.HasIptc());
}

TEST(MetadataCorrupt, EveryTruncationOfARichJpegReadsWithoutCrash) {
    QTemporaryDir dir;
    const QString rich = dir.filePath("rich.jpg");
    test::writeJpeg(rich);
    sampleMetadata().writeInto(rich);
    const QByteArray bytes = test::readFile(rich);
    const QString path = dir.filePath("cut.jpg");
    for (qsizetype length = 0; length < qMin<qsizetype>(bytes.size(), 700); length += 7) {
        test::writeFile(path, bytes.left(length));
        ImageMetadata metadata;
        metadata.readFrom(path);
        for (int i = 0; i < metadata.exifCount(); ++i) {
            metadata.exifValue(i);
        }
    }
}

TEST(MetadataCorrupt, DamagedTiffDirectoryRaisesAndLeavesTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("damaged.tif");
    const QByteArray cases[] = {
        QByteArray("II\x2A\x00\xF0\x00\x00\x00", 8),          // first directory beyond the end
        QByteArray("II\x2A\x00\x08\x00\x00\x00\x40\x00", 10), // 64 entries, none there
        QByteArray("II\x2B\x00\x08\x00\x00\x00", 8),          // BigTIFF
    };
    for (const QByteArray& bytes : cases) {
        test::writeFile(path, bytes);
        EXPECT_THROW(sampleMetadata().writeInto(path), AppError) << bytes.toHex().constData();
        EXPECT_EQ(test::readFile(path), bytes);
    }
}

} // namespace
} // namespace picbasket
