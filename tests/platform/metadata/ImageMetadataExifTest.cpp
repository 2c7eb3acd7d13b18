#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/meta/ImageMetadata.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace picbasket {
namespace {

QStringList exifNames(const ImageMetadata& metadata) {
    QStringList names;
    for (int i = 0; i < metadata.exifCount(); ++i) {
        names << metadata.exifName(i);
    }
    return names;
}

std::string exiv2Value(const QString& path, const char* key) {
    std::unique_ptr<Exiv2::Image> image(Exiv2::ImageFactory::open(path.toStdString()).release());
    image->readMetadata();
    auto it = image->exifData().findKey(Exiv2::ExifKey(key));
    return it == image->exifData().end() ? std::string("<absent>") : it->toString();
}

// A camera-like JPEG with the tags whose traditional names differ from Exiv2's.
QString cameraJpeg(const QTemporaryDir& dir) {
    const QString path = dir.filePath("camera.jpg");
    test::writeJpeg(path);
    test::editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif["Exif.Image.Make"] = "Maker";
        exif["Exif.Photo.FlashpixVersion"].setValue("48 49 48 48");
        exif["Exif.Photo.RelatedSoundFile"] = "SND00001.WAV";
        exif["Exif.Photo.PixelXDimension"] = uint32_t(640);
        exif["Exif.Photo.PixelYDimension"] = uint32_t(480);
        exif["Exif.Iop.InteroperabilityIndex"] = "R98";
        exif["Exif.GPSInfo.GPSVersionID"].setValue("2 2 0 0");
        exif["Exif.Image.Thresholding"] = uint16_t(1);
        exif["Exif.Thumbnail.Compression"] = uint16_t(6);
    });
    return path;
}

TEST(ExifNames, ByIndexUseTheTraditionalNames) {
    QTemporaryDir dir;
    ImageMetadata metadata;
    ASSERT_TRUE(metadata.readFrom(cameraJpeg(dir)));
    const QStringList names = exifNames(metadata);
    for (const char* name :
         {"Make", "ExifOffset", "GPSInfo", "InteroperabilityOffset", "FlashPixVersion",
          "RelatedAudioFile", "PixelXDimension", "PixelYDimension", "InteroperabilityIndex",
          "GPSVersionID", "Threshholding"}) {
        EXPECT_TRUE(names.contains(QString::fromLatin1(name))) << name;
    }
    for (const char* exiv2Name : {"ExifTag", "GPSTag", "InteroperabilityTag", "FlashpixVersion",
                                  "RelatedSoundFile", "Thresholding"}) {
        EXPECT_FALSE(names.contains(QString::fromLatin1(exiv2Name))) << exiv2Name;
    }
    // The thumbnail directory is not listed.
    EXPECT_FALSE(names.contains("Compression"));
    EXPECT_EQ(metadata.exifValue("FlashPixVersion"), "30,31,30,30");
    EXPECT_EQ(metadata.exifValue("RelatedAudioFile"), "SND00001.WAV");
}

TEST(ExifNames, IndexOutsideTheListRaises) {
    ImageMetadata metadata;
    ASSERT_TRUE(metadata.setExif("Make", "Maker"));
    EXPECT_EQ(metadata.exifName(0), "Make");
    for (int index : {-1, 1}) {
        try {
            metadata.exifName(index);
            ADD_FAILURE() << index;
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
        }
    }
}

TEST(ExifSetAttribute, PutsEachNameIntoItsDirectory) {
    QTemporaryDir dir;
    const QString path = dir.filePath("placed.jpg");
    test::writeJpeg(path);
    ImageMetadata metadata;
    for (const char* name :
         {"Make", "Model", "DateTime", "ImageDescription", "Artist", "Copyright", "Software"}) {
        ASSERT_TRUE(metadata.setExif(QString::fromLatin1(name), "x")) << name;
    }
    ASSERT_TRUE(metadata.setExif("DateTimeOriginal", "2004:05:06 07:08:09"));
    ASSERT_TRUE(metadata.setExif("ISOSpeedRatings", "100"));
    ASSERT_TRUE(metadata.setExif("Orientation", "6"));
    ASSERT_TRUE(metadata.setExif("GPSAltitude", "1200/10"));
    metadata.writeInto(path);

    for (const char* key : {"Exif.Image.Make", "Exif.Image.Model", "Exif.Image.DateTime",
                            "Exif.Image.ImageDescription", "Exif.Image.Artist",
                            "Exif.Image.Copyright", "Exif.Image.Software"}) {
        EXPECT_EQ(exiv2Value(path, key), "x") << key;
    }
    EXPECT_EQ(exiv2Value(path, "Exif.Photo.DateTimeOriginal"), "2004:05:06 07:08:09");
    EXPECT_EQ(exiv2Value(path, "Exif.Photo.ISOSpeedRatings"), "100");
    EXPECT_EQ(exiv2Value(path, "Exif.Image.ISOSpeedRatings"), "<absent>");
    EXPECT_EQ(exiv2Value(path, "Exif.Image.Orientation"), "6");
    EXPECT_EQ(exiv2Value(path, "Exif.GPSInfo.GPSAltitude"), "1200/10");
}

TEST(ExifSetAttribute, ChangesAnExistingTagWhereItIs) {
    QTemporaryDir dir;
    ImageMetadata metadata;
    ASSERT_TRUE(metadata.readFrom(cameraJpeg(dir)));
    const int count = metadata.exifCount();
    ASSERT_TRUE(metadata.setExif("PixelXDimension", "1024"));
    EXPECT_EQ(metadata.exifCount(), count);
    EXPECT_EQ(metadata.exifValue("PixelXDimension"), "1024");
}

TEST(ExifDelete, RemovesByNameAndRefusesStructuralTags) {
    QTemporaryDir dir;
    ImageMetadata metadata;
    ASSERT_TRUE(metadata.readFrom(cameraJpeg(dir)));
    EXPECT_TRUE(metadata.deleteExif("Make"));
    EXPECT_EQ(metadata.exifValue("Make"), "");
    EXPECT_FALSE(metadata.deleteExif("Make"));
    EXPECT_FALSE(metadata.deleteExif("ExifOffset"));
    EXPECT_FALSE(metadata.exifValue("ExifOffset").isEmpty());
    metadata.deleteAllExif();
    EXPECT_EQ(metadata.exifCount(), 0);
}

TEST(ExifDates, DateTimeRoundTripsThroughAFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("dated.jpg");
    test::writeJpeg(path);
    ImageBox box;
    const QDateTime when(QDate(2004, 5, 6), QTime(7, 8, 9));
    EXPECT_EQ(box.DateToExifString(when), "2004:05:06 07:08:09");
    ASSERT_TRUE(box.SetExifAttribute("DateTime", box.DateToExifString(when)));
    box.SaveJpegMetadata(path);

    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.exifValue("DateTime"), "2004:05:06 07:08:09");
    EXPECT_EQ(ImageMetadata::exifStringToDate(read.exifValue("DateTime")), when);
}

TEST(ExifDates, TextThatIsNoDateRaisesTypeMismatch) {
    EXPECT_EQ(ImageMetadata::exifStringToDate(" 2004:05:06 07:08:09 "),
              QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9)));
    for (const char* text : {"0000:00:00 00:00:00", "", "    :  :     :  :  ",
                             "2004-05-06 07:08:09", "2004:13:01 00:00:00", "2004:02:30 00:00:00",
                             "2004:05:06 24:00:00", "2004:05:06", "2004:05:06 07:08:09 extra"}) {
        try {
            ImageMetadata::exifStringToDate(QString::fromLatin1(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::TypeMismatch) << text;
        }
    }
}

} // namespace
} // namespace picbasket
