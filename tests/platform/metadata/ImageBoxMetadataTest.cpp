#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/meta/ImageMetadata.h"
#include "tests/platform/metadata/Exiftool.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace picbasket {
namespace {

void addCameraMetadata(const QString& path) {
    test::editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData& iptc) {
        exif["Exif.Image.Make"] = "Maker";
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
        iptc["Iptc.Application2.Keywords"] = "holiday";
        iptc["Iptc.Application2.Headline"] = "At the lake";
    });
}

// Metadata read by LoadFromFile travels into the files SaveToFile writes.
TEST(ImageBoxMetadata, TravelsFromLoadToSavedJpegAndTiff) {
    QTemporaryDir dir;
    const QString source = dir.filePath("source.jpg");
    test::writeJpeg(source);
    addCameraMetadata(source);

    ImageBox box;
    box.LoadFromFile(source);
    EXPECT_EQ(box.ExifValueByName("Make"), "Maker");
    EXPECT_EQ(box.ExifValueByName("ExposureTime"), "1/250");
    ASSERT_EQ(box.IptcKeywordCount(), 1);
    EXPECT_EQ(box.IptcKeyword(0), "holiday");

    for (const char* name : {"copy.jpg", "copy.tif"}) {
        const QString target = dir.filePath(QString::fromLatin1(name));
        box.SaveToFile(target);
        ImageMetadata saved;
        ASSERT_TRUE(saved.readFrom(target)) << name;
        EXPECT_EQ(saved.exifValue("Make"), "Maker") << name;
        EXPECT_EQ(saved.exifValue("ExposureTime"), "1/250") << name;
        EXPECT_EQ(saved.iptcText(iptc::Headline), "At the lake") << name;
        ImageBox reloaded;
        reloaded.LoadFromFile(target);
        EXPECT_EQ(reloaded.ImageWidth(), 16) << name;
    }
}

TEST(ImageBoxMetadata, LoadingAFileWithoutMetadataDropsThePrevious) {
    QTemporaryDir dir;
    const QString tagged = dir.filePath("tagged.jpg");
    test::writeJpeg(tagged);
    addCameraMetadata(tagged);
    const QString plain = dir.filePath("plain.png");
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB888).save(plain, "PNG"));

    ImageBox box;
    box.LoadFromFile(tagged);
    ASSERT_GT(box.ExifCount(), 0);
    box.LoadFromFile(plain);
    EXPECT_EQ(box.ExifCount(), 0);
    EXPECT_FALSE(box.HasIptc());
}

// What exiftool finds of the camera metadata above in a file, one "tag: value"
// line each; empty when none of it is there.
QString cameraTagsSeenByExiftool(const QString& path) {
    return test::exiftool({"-s", "-s", "-Make", "-ExposureTime", "-Keywords", "-Headline", path});
}

// The preview, capture and scanning paths empty the box and put a new image in;
// whatever image comes next, the first photo's metadata must not reach its file.
TEST(ImageBoxMetadata, ClearDropsTheExifAndIptcOfThePreviousImage) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool (libimage-exiftool-perl) is not installed";
    QTemporaryDir dir;
    const QString photo = dir.filePath("photo.jpg");
    test::writeJpeg(photo);
    addCameraMetadata(photo);
    QImage next(10, 6, QImage::Format_RGB888);
    next.fill(QColor(200, 40, 90));
    ImageBox snapshotBox;
    snapshotBox.setImage(next);
    const QByteArray snapshot = snapshotBox.SaveToMemory(ImageBox::FormatTiff);

    struct Case {
        const char* name;
        bool clear;
        std::function<void(ImageBox&)> putNextImage;
    };
    const std::vector<Case> cases = {
        {"kept without Clear (the oracle sees the tags)", false,
         [&](ImageBox& box) { box.setImage(next); }},
        {"image set after Clear", true, [&](ImageBox& box) { box.setImage(next); }},
        {"memory copy loaded after Clear", true,
         [&](ImageBox& box) { box.LoadFromMemory(ImageBox::FormatTiff, snapshot); }},
    };
    for (const Case& c : cases) {
        ImageBox box;
        box.LoadFromFile(photo);
        ASSERT_GT(box.ExifCount(), 0) << c.name;
        if (c.clear) {
            box.Clear();
            EXPECT_FALSE(box.HasImage()) << c.name;
            EXPECT_EQ(box.ExifCount(), 0) << c.name;
            EXPECT_FALSE(box.HasIptc()) << c.name;
        }
        c.putNextImage(box);
        for (const char* name : {"next.jpg", "next.tif"}) {
            const QString target = dir.filePath(QString::fromLatin1(name));
            QFile::remove(target);
            box.SaveToFile(target);
            const QString seen = cameraTagsSeenByExiftool(target);
            if (c.clear)
                EXPECT_EQ(seen.toStdString(), "") << c.name << ", " << name;
            else
                EXPECT_TRUE(seen.contains("Make: Maker") && seen.contains("Headline: At the lake"))
                    << c.name << ", " << name << ": " << seen.toStdString();
        }
    }
}

TEST(ImageBoxMetadata, PngMetadataIsReadWherePresent) {
    QTemporaryDir dir;
    const QString png = dir.filePath("tagged.png");
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB888).save(png, "PNG"));
    addCameraMetadata(png);
    ImageBox box;
    box.LoadFromFile(png);
    EXPECT_EQ(box.ExifValueByName("Make"), "Maker");
    EXPECT_EQ(box.IptcHeadline(), "At the lake");
}

// A TIFF's own layout tags are no EXIF of a JPEG made from it.
TEST(ImageBoxMetadata, TiffLayoutStaysOutOfASavedJpeg) {
    QTemporaryDir dir;
    const QString tiff = dir.filePath("pages.tif");
    test::writeMultiPageTiff(tiff, 2);
    ImageMetadata tagged;
    ASSERT_TRUE(tagged.setExif("Artist", "Jane Doe"));
    tagged.writeInto(tiff);

    ImageBox box;
    box.LoadFromFile(tiff);
    EXPECT_EQ(box.ExifValueByName("StripOffsets").isEmpty(), false);
    const QString jpeg = dir.filePath("page.jpg");
    box.SaveToFile(jpeg);
    ImageMetadata saved;
    ASSERT_TRUE(saved.readFrom(jpeg));
    EXPECT_EQ(saved.exifValue("Artist"), "Jane Doe");
    for (const char* layout :
         {"StripOffsets", "StripByteCounts", "RowsPerStrip", "BitsPerSample"}) {
        EXPECT_EQ(saved.exifValue(QString::fromLatin1(layout)), "") << layout;
    }
}

TEST(ImageBoxMetadata, SaveJpegMetadataKeepsThePixelsOfAPsd) {
    QTemporaryDir dir;
    const QString psd = dir.filePath("layered.psd");
    ImageBox box;
    QImage image(12, 6, QImage::Format_RGB888);
    image.fill(QColor(10, 200, 30));
    box.setImage(image);
    box.SaveToFile(psd);
    ImageBox before;
    before.LoadFromFile(psd);

    ASSERT_TRUE(box.SetExifAttribute("Artist", "Jane Doe"));
    box.setIptcCaption("psd caption");
    box.SaveJpegMetadata(psd);

    ImageBox after;
    after.LoadFromFile(psd);
    EXPECT_EQ(after.image(), before.image());
    EXPECT_EQ(after.ExifValueByName("Artist"), "Jane Doe");
    EXPECT_EQ(after.IptcCaption(), "psd caption");
}

} // namespace
} // namespace picbasket
