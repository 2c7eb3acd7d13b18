#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/meta/ImageMetadata.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QTemporaryDir>
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

} // namespace
} // namespace picbasket
