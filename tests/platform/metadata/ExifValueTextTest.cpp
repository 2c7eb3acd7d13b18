#include "platform/imagebox/meta/ImageMetadata.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace picbasket {
namespace {

struct ReadRow {
    const char* key;   // Exiv2 key the fixture writes
    const char* input; // value as Exiv2 reads it from text
    const char* name;  // attribute name the image box reports
    QString expected;  // value text the image box reports
};

const ReadRow kReadRows[] = {
    {"Exif.Image.Make", "Canon", "Make", "Canon"},
    {"Exif.Photo.SubjectArea", "10 20 30", "SubjectArea", "10,20,30"},
    {"Exif.Photo.ExposureBiasValue", "-1/3", "ExposureBiasValue", "-1/3"},
    {"Exif.Photo.ExposureTime", "10/1000", "ExposureTime", "10/1000"},
    {"Exif.Photo.ExifVersion", "48 50 50 48", "ExifVersion", "30,32,32,30"},
    {"Exif.Photo.ComponentsConfiguration", "1 2 3 0", "ComponentsConfiguration", "01,02,03,00"},
    {"Exif.GPSInfo.GPSVersionID", "2 2 0 0", "GPSVersionID", "02,02,00,00"},
    {"Exif.Photo.PixelXDimension", "4000", "PixelXDimension", "4000"},
    {"Exif.Photo.UserComment", "charset=Ascii Hello there", "UserComment", "Hello there"},
};

class ExifValueText : public ::testing::TestWithParam<Exiv2::ByteOrder> {};

// Value texts are the same whichever byte order the file's EXIF uses.
TEST_P(ExifValueText, ReportsEachTypeInItsTextForm) {
    QTemporaryDir dir;
    const QString path = dir.filePath("values.jpg");
    test::writeJpeg(path);
    {
        std::unique_ptr<Exiv2::Image> image(
            Exiv2::ImageFactory::open(path.toStdString()).release());
        Exiv2::ExifData exif;
        for (const ReadRow& row : kReadRows) {
            exif[row.key].setValue(row.input);
        }
        exif["Exif.Photo.MakerNote"].setValue("1 2 3");
        image->setExifData(exif);
        image->setByteOrder(GetParam());
        image->writeMetadata();
    }
    ImageMetadata metadata;
    ASSERT_TRUE(metadata.readFrom(path));
    for (const ReadRow& row : kReadRows) {
        EXPECT_EQ(metadata.exifValue(QString::fromLatin1(row.name)), row.expected) << row.key;
    }
}

// A Unicode comment is stored in the byte order of the file; it must come back
// as the same text either way.
TEST_P(ExifValueText, UnicodeUserCommentSurvivesTheFileByteOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("comment.jpg");
    test::writeJpeg(path);
    ImageMetadata written;
    ASSERT_TRUE(written.setExif("UserComment", QStringLiteral("Grüße aus Köln")));
    {
        std::unique_ptr<Exiv2::Image> image(
            Exiv2::ImageFactory::open(path.toStdString()).release());
        Exiv2::ExifData exif;
        exif["Exif.Image.Make"] = "Maker";
        image->setExifData(exif);
        image->setByteOrder(GetParam());
        image->writeMetadata();
    }
    written.writeInto(path);
    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.exifValue("UserComment"), QStringLiteral("Grüße aus Köln"));
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifValueText,
                         ::testing::Values(Exiv2::littleEndian, Exiv2::bigEndian));

struct SetRow {
    const char* name;
    const char* text;
    bool accepted;
    const char* readBack; // value text afterwards when accepted
};

const SetRow kSetRows[] = {
    {"Artist", "Jane Doe", true, "Jane Doe"},
    {"ExposureBiasValue", "-2/3", true, "-2/3"},
    {"ExposureTime", "10/1000", true, "10/1000"},
    {"FNumber", "28", true, "28/1"},
    {"ExifVersion", "30,32,33,30", true, "30,32,33,30"},
    {"PixelXDimension", "70000", true, "70000"},
    {"SubjectArea", " 1, 2 ,3", true, "1,2,3"},
    {"GPSLatitude", "51/1,30/1,0/1", true, "51/1,30/1,0/1"},
    {"ExposureTime", "fast", false, ""},
    {"ExposureTime", "-1/3", false, ""},
    {"ExposureTime", "1/2/3", false, ""},
    {"ExifVersion", "30,32", false, ""},
    {"ExifVersion", "30,32,33,GG", false, ""},
    {"Orientation", "70000", false, ""},
    {"Orientation", "", false, ""},
    {"NoSuchAttribute", "1", false, ""},
    {"ExifTag", "26", false, ""},
    {"ExifOffset", "26", false, ""},
    {"GPSInfo", "100", false, ""},
    {"InteroperabilityOffset", "100", false, ""},
    {"StripOffsets", "8", false, ""},
    {"JPEGInterchangeFormat", "8", false, ""},
    {"TileWidth", "16", false, ""},
    {"MakerNote", "01,02", false, ""},
};

TEST(ExifSetAttribute, AcceptsTextsOfTheTagTypeAndRefusesTheRest) {
    for (const SetRow& row : kSetRows) {
        ImageMetadata metadata;
        ASSERT_TRUE(metadata.setExif("Make", "Maker"));
        const bool accepted =
            metadata.setExif(QString::fromLatin1(row.name), QString::fromUtf8(row.text));
        EXPECT_EQ(accepted, row.accepted) << row.name << " = " << row.text;
        if (row.accepted) {
            EXPECT_EQ(metadata.exifValue(QString::fromLatin1(row.name)),
                      QString::fromLatin1(row.readBack))
                << row.name;
        } else {
            EXPECT_EQ(metadata.exifCount(), 1) << row.name << ": a refusal changes nothing";
        }
    }
}

TEST(ExifSetAttribute, RefusedTextLeavesTheOldValue) {
    ImageMetadata metadata;
    ASSERT_TRUE(metadata.setExif("ExposureTime", "1/250"));
    EXPECT_FALSE(metadata.setExif("ExposureTime", "soon"));
    EXPECT_EQ(metadata.exifValue("ExposureTime"), "1/250");
}

} // namespace
} // namespace picbasket
