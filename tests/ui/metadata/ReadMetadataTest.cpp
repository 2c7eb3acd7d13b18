#include "metadata/modMetadata.h"

#include "core/Globals.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A camera-like JPEG: the usual tags, a date the camera never set and a two-value
// ISO, as many cameras write them.
void addCameraExif(const QString& path) {
    test::editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif["Exif.Image.Make"] = "Acme";
        exif["Exif.Image.Model"] = "Snap 5";
        exif["Exif.Image.Orientation"] = uint16_t(1);
        exif["Exif.Image.DateTime"] = "2004:05:06 07:08:09";
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
        exif["Exif.Photo.FNumber"] = Exiv2::URational(28, 10);
        Exiv2::UShortValue iso;
        iso.read("100 100");
        exif.add(Exiv2::ExifKey("Exif.Photo.ISOSpeedRatings"), &iso);
        exif["Exif.Photo.DateTimeOriginal"] = "0000:00:00 00:00:00";
        exif["Exif.Photo.FocalLength"] = Exiv2::URational(50, 1);
    });
}

class ReadMetadata : public ::testing::Test {
protected:
    void SetUp() override {
        subInitMetadataTables();
        list.AddColumn(QStringLiteral("Attribute"));
        list.AddColumn(QStringLiteral("Value"));
    }

    QString jpeg(const char* name) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        test::writeJpeg(path);
        return path;
    }

    // The row whose tag is the raw name, 0 when there is none.
    int exifRow(const QString& raw) const {
        for (int r = 1; r <= list.Count(); ++r)
            if (list.Tag(r) == raw)
                return r;
        return 0;
    }

    QTemporaryDir dir;
    ImageBox box;
    ListView list;
    test::ErrorRecorder errors;
};

} // namespace

TEST_F(ReadMetadata, ImageWithoutExifGivesAnEmptyListTaggedWithThePath) {
    const QString path = jpeg("plain.jpg");
    box.LoadFromFile(path);
    ReadFileEXIFInfo(box, &list, path);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Tag(), path);
    EXPECT_EQ(CurrentActivity, QStringLiteral("Reading EXIF information from the selected file!"));
}

TEST_F(ReadMetadata, ImageWithoutIptcGivesAllFieldsEmpty) {
    const QString path = jpeg("plain.jpg");
    box.LoadFromFile(path);
    ReadFileIPTCInfo(box, &list, path);
    ASSERT_EQ(list.Count(), 52);
    EXPECT_EQ(list.Tag(), path);
    const std::pair<int, const char*> captions[] = {
        {1, "Caption"},         {5, "Keywords"},
        {8, "By (Author)"},     {16, "Original Transmission Reference (OTR)"},
        {19, "Date Created"},   {22, "Date Released"},
        {24, "Reference Date"}, {31, "Local Caption"},
        {32, "Custom Field 1"}, {51, "Custom Field 20"},
        {52, "Image Notes"}};
    for (const auto& [row, caption] : captions)
        EXPECT_EQ(list.Text(row), QString::fromUtf8(caption)) << row;
    for (int r = 1; r <= list.Count(); ++r) {
        EXPECT_EQ(list.SubItem(r, 1), QString()) << r;
        EXPECT_EQ(list.SmallIconKey(r), EditableMarkKey) << r;
        EXPECT_EQ(list.Key(r), QString()) << r;
        EXPECT_EQ(list.Tag(r), QString()) << r;
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(ReadMetadata, IptcListsJoinAndDatesUseTheShortForm) {
    const QString path = jpeg("tagged.jpg");
    test::editWithExiv2(path, [](Exiv2::ExifData&, Exiv2::IptcData& iptc) {
        for (const char* word : {"a", "b", "c"}) {
            Exiv2::StringValue value(word);
            iptc.add(Exiv2::IptcKey("Iptc.Application2.Keywords"), &value);
        }
        iptc["Iptc.Application2.SuppCategory"] = "lakes";
        iptc["Iptc.Application2.Headline"] = "At the lake";
        iptc["Iptc.Application2.DateCreated"] = "2004-05-06";
    });
    box.LoadFromFile(path);
    box.setIptcCustomField(3, QStringLiteral("third"));
    ReadFileIPTCInfo(box, &list, path);
    ASSERT_EQ(list.Count(), 52);
    EXPECT_EQ(list.SubItem(3, 1), QStringLiteral("At the lake"));
    EXPECT_EQ(list.SubItem(5, 1), QStringLiteral("a,b,c"));
    EXPECT_EQ(list.SubItem(7, 1), QStringLiteral("lakes"));
    EXPECT_EQ(list.SubItem(19, 1), QStringLiteral("5/6/2004"));
    EXPECT_EQ(list.SubItem(22, 1), QString());
    EXPECT_EQ(list.SubItem(34, 1), QStringLiteral("third"));
}

TEST_F(ReadMetadata, ExifRowsCarryNamesKeysMarksAndReadableValues) {
    const QString path = jpeg("camera.jpg");
    addCameraExif(path);
    box.LoadFromFile(path);
    ReadFileEXIFInfo(box, &list, path);
    ASSERT_EQ(list.Count(), box.ExifCount());
    EXPECT_EQ(list.Tag(), path);

    const int make = exifRow(QStringLiteral("Make"));
    ASSERT_NE(make, 0);
    EXPECT_EQ(list.Text(make), QStringLiteral("Make"));
    EXPECT_EQ(list.Key(make), QStringLiteral("Make"));
    EXPECT_EQ(list.SmallIconKey(make), EditableMarkKey);
    EXPECT_EQ(list.SubItem(make, 1), QStringLiteral("Acme"));

    struct Shown {
        const char* raw;
        const char* text;
        const char* value;
        bool editable;
    } rows[] = {
        {"DateTime", "Date/Time", "5/6/2004 7:08:09 AM", true},
        {"ExposureTime", "Exposure Time", "1/250 s", false},
        {"FNumber", "F-Number", "f/2.8", false},
        {"ISOSpeedRatings", "ISO Speed Ratings", "100,100", false},
        {"Orientation", "Orientation", "Upper Left", false},
        {"DateTimeOriginal", "Date/Time Original", "0000:00:00 00:00:00", true},
        {"FocalLength", "Focal Length", "50 mm", false},
    };
    for (const Shown& s : rows) {
        const int r = exifRow(QString::fromLatin1(s.raw));
        ASSERT_NE(r, 0) << s.raw;
        EXPECT_EQ(list.Text(r), QString::fromLatin1(s.text)) << s.raw;
        EXPECT_EQ(list.SubItem(r, 1), QString::fromLatin1(s.value)) << s.raw;
        EXPECT_EQ(list.Key(r), s.editable ? QString::fromLatin1(s.raw) : QString()) << s.raw;
        EXPECT_EQ(list.SmallIconKey(r).isEmpty(), !s.editable) << s.raw;
    }
    // The date that is no date stops nothing: the attributes after it are listed.
    EXPECT_GT(exifRow(QStringLiteral("FocalLength")), exifRow(QStringLiteral("DateTimeOriginal")));
    EXPECT_TRUE(errors.reports().empty());
}

// exiftool reads the same file: where it prints a value in our form, ours agrees.
TEST_F(ReadMetadata, ValuesAgreeWithExiftool) {
    const QString exiftool = QStandardPaths::findExecutable(QStringLiteral("exiftool"));
    if (exiftool.isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    const QString path = jpeg("camera.jpg");
    addCameraExif(path);
    QProcess tool;
    tool.start(exiftool, {QStringLiteral("-s3"), QStringLiteral("-Make"),
                          QStringLiteral("-ExposureTime"), QStringLiteral("-FNumber"),
                          QStringLiteral("-FocalLength"), QStringLiteral("-Orientation#"), path});
    ASSERT_TRUE(tool.waitForFinished());
    QStringList theirs = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'));
    ASSERT_GE(theirs.size(), 5);
    box.LoadFromFile(path);
    ReadFileEXIFInfo(box, &list, path);
    auto value = [&](const char* raw) {
        return list.SubItem(exifRow(QString::fromLatin1(raw)), 1);
    };
    EXPECT_EQ(value("Make"), theirs[0]);
    EXPECT_EQ(value("ExposureTime"), theirs[1] + QStringLiteral(" s"));
    EXPECT_EQ(value("FNumber"), QStringLiteral("f/") + theirs[2]);
    EXPECT_EQ(value("FocalLength"), theirs[3].remove(QStringLiteral(".0")));
    EXPECT_EQ(theirs[4], QStringLiteral("1"));
}

TEST_F(ReadMetadata, ReadersAddRowsAndNeverEmptyTheList) {
    const QString path = jpeg("camera.jpg");
    addCameraExif(path);
    box.LoadFromFile(path);
    ReadFileEXIFInfo(box, &list, path);
    const int once = list.Count();
    ReadFileEXIFInfo(box, &list, path);
    EXPECT_EQ(list.Count(), 2 * once);
}

TEST_F(ReadMetadata, NoImageAddsNothingAndKeepsTheTag) {
    list.setTag(QStringLiteral("/earlier.jpg"));
    ReadFileEXIFInfo(box, &list, QStringLiteral("/now.jpg"));
    ReadFileIPTCInfo(box, &list, QStringLiteral("/now.jpg"));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Tag(), QStringLiteral("/earlier.jpg"));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(ReadMetadata, AFailureIsReportedWithTheReadersName) {
    const QString path = jpeg("plain.jpg");
    box.LoadFromFile(path);
    ReadFileEXIFInfo(box, nullptr, path);
    ReadFileIPTCInfo(box, nullptr, path);
    ASSERT_EQ(errors.reports().size(), 2u);
    EXPECT_EQ(errors.reports()[0].source, QStringLiteral("modMetadata.ReadFileEXIFInfo"));
    EXPECT_EQ(errors.reports()[1].source, QStringLiteral("modMetadata.ReadFileIPTCInfo"));
    EXPECT_EQ(errors.reports()[1].activity,
              QStringLiteral("Reading IPTC information from the selected file!"));
}
