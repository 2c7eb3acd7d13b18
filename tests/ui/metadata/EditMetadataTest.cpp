// The editing routines of the metadata module, without the window: the date texts
// of the dialogs, setting and deleting one attribute and writing it into the file,
// and the ".xiff" attribute file class. Written files are read back with Exiv2.
#include "metadata/clsFileEXIF.h"
#include "metadata/modMetadata.h"

#include "core/AppError.h"
#include "core/Globals.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

Exiv2::ExifData exifOf(const QString& path) {
    auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    return image->exifData();
}

Exiv2::IptcData iptcOf(const QString& path) {
    auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    return image->iptcData();
}

QString exifText(const QString& path, const char* key) {
    const Exiv2::ExifData exif = exifOf(path);
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    return it == exif.end() ? QString() : QString::fromStdString(it->toString());
}

QString iptcText(const QString& path, const char* key) {
    const Exiv2::IptcData iptc = iptcOf(path);
    const auto it = iptc.findKey(Exiv2::IptcKey(key));
    return it == iptc.end() ? QString() : QString::fromStdString(it->toString());
}

class EditMetadata : public ::testing::Test {
protected:
    void SetUp() override {
        subInitMetadataTables();
        path = dir.filePath(QStringLiteral("photo.jpg"));
        test::writeJpeg(path);
        test::editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData& iptc) {
            exif["Exif.Image.Make"] = "Acme";
            exif["Exif.Image.Artist"] = "Ann";
            exif["Exif.Image.DateTime"] = "2004:05:06 07:08:09";
            iptc["Iptc.Application2.Caption"] = "a caption";
            iptc["Iptc.Application2.DateCreated"] = "2004-05-06";
        });
        box.LoadFromFile(path);
        box.setTag(path);
    }

    QTemporaryDir dir;
    QString path;
    ImageBox box;
    test::ErrorRecorder errors;
    test::MessageRecorder messages;
};

} // namespace

TEST(MetadataDateText, ReadsTheDialogFormsInOneFixedForm) {
    struct Case {
        const char* text;
        bool parses;
        QDateTime value;
        bool hasTime;
    };
    const Case cases[] = {
        {"5/6/2004 7:08:09 AM", true, QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9)), true},
        {"12/31/1999 11:59:59 PM", true, QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)), true},
        {"1/2/2003 12:00:00 AM", true, QDateTime(QDate(2003, 1, 2), QTime(0, 0)), true},
        {"1/2/2003 12:30:00 PM", true, QDateTime(QDate(2003, 1, 2), QTime(12, 30)), true},
        {"5/6/2004", true, QDateTime(QDate(2004, 5, 6), QTime(0, 0)), false},
        {" 5/6/2004 ", true, QDateTime(QDate(2004, 5, 6), QTime(0, 0)), false},
        {"2/29/2001", false, {}, false},
        {"13/1/2004", false, {}, false},
        {"5/6/2004 13:00:00 PM", false, {}, false},
        {"5/6/2004 0:10:00 AM", false, {}, false},
        {"2004:05:06 07:08:09", false, {}, false},
        {"6.5.2004", false, {}, false},
        {"", false, {}, false},
    };
    for (const Case& c : cases) {
        const std::optional<DateText> read = fncParseDateText(QString::fromLatin1(c.text));
        ASSERT_EQ(read.has_value(), c.parses) << c.text;
        if (!read)
            continue;
        EXPECT_EQ(read->value, c.value) << c.text;
        EXPECT_EQ(read->hasTime, c.hasTime) << c.text;
    }
    const QDateTime evening(QDate(2004, 5, 6), QTime(19, 8, 9));
    EXPECT_EQ(fncDatePartText(evening), QStringLiteral("5/6/2004"));
    EXPECT_EQ(fncTimePartText(evening), QStringLiteral("7:08:09 PM"));
}

TEST(MetadataFileTypes, JpeTiffAndPsdTakeMetadataAndOnlyJpegAndTiffTakeExif) {
    for (const char* name : {"a.jpg", "a.JPEG", "a.jpe", "a.tif", "a.TIFF", "a.psd"})
        EXPECT_TRUE(fncTakesMetadata(QString::fromLatin1(name))) << name;
    for (const char* name : {"a.png", "a.bmp", "a", "a.jp2"})
        EXPECT_FALSE(fncTakesMetadata(QString::fromLatin1(name))) << name;
    EXPECT_TRUE(fncTakesExif(QStringLiteral("a.jpe")));
    EXPECT_FALSE(fncTakesExif(QStringLiteral("a.psd")));
}

// Dates go in as the dialogs' texts and come out in the EXIF form; every EXIF
// change stamps the program.
TEST_F(EditMetadata, UpdateWritesExifWithTheSoftwareStamp) {
    ASSERT_TRUE(fncUpdateAttribute(path, false, "Artist", "Bob", box));
    ASSERT_TRUE(fncUpdateAttribute(path, false, "DateTime", "12/31/2009 11:59:58 PM", box));
    EXPECT_EQ(exifText(path, "Exif.Image.Artist"), "Bob");
    EXPECT_EQ(exifText(path, "Exif.Image.DateTime"), "2009:12:31 23:59:58");
    EXPECT_EQ(exifText(path, "Exif.Image.Software"), SoftwareName);
    EXPECT_EQ(exifText(path, "Exif.Image.Make"), "Acme");
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(EditMetadata, RefusedValuesWriteNothing) {
    const QByteArray before = test::readFile(path);
    EXPECT_FALSE(fncUpdateAttribute(path, false, "DateTime", "not a date", box));
    EXPECT_FALSE(fncUpdateAttribute(path, false, "PixelXDimension", "wide", box));
    EXPECT_FALSE(fncUpdateAttribute(path, false, "NoSuchTag", "x", box));
    EXPECT_FALSE(fncUpdateAttribute(path, true, "Date Created", "yesterday", box));
    EXPECT_FALSE(fncUpdateAttribute(path, true, "Keywords", "a,b", box));
    EXPECT_EQ(test::readFile(path), before);
    EXPECT_TRUE(box.ExifValueByName("Software").isEmpty());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(EditMetadata, IptcTextsAndDatesAreSetAndAnEmptyValueRemovesThem) {
    ASSERT_TRUE(fncUpdateAttribute(path, true, "City", "Oslo", box));
    ASSERT_TRUE(fncUpdateAttribute(path, true, "Custom Field 20", "twenty", box));
    ASSERT_TRUE(fncUpdateAttribute(path, true, "Date Released", "7/8/2010", box));
    EXPECT_EQ(iptcText(path, "Iptc.Application2.City"), "Oslo");
    EXPECT_EQ(iptcText(path, "Iptc.Application2.ReleaseDate"), "2010-07-08");
    EXPECT_EQ(box.IptcCustomField(20), "twenty");
    ASSERT_TRUE(fncUpdateAttribute(path, true, "Caption", "", box));
    ASSERT_TRUE(fncUpdateAttribute(path, true, "Date Created", "", box));
    EXPECT_TRUE(iptcText(path, "Iptc.Application2.Caption").isEmpty());
    EXPECT_TRUE(iptcText(path, "Iptc.Application2.DateCreated").isEmpty());
    EXPECT_EQ(iptcText(path, "Iptc.Application2.City"), "Oslo");
    // IPTC changes carry no stamp.
    EXPECT_TRUE(exifText(path, "Exif.Image.Software").isEmpty());
}

// A file that cannot take the write leaves the box as the file is, so a later
// change never writes the failed one along with it.
TEST_F(EditMetadata, AFailedWriteIsReportedAndTheBoxKeepsWhatTheFileHolds) {
    QFile::remove(path);
    test::writeFile(path, "this is no JPEG any more");
    EXPECT_FALSE(fncUpdateAttribute(path, false, "Artist", "Bob", box));
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].source, "modMetadata.fncUpdateAttribute");
    EXPECT_EQ(box.ExifValueByName("Artist"), "Ann");
    EXPECT_TRUE(box.ExifValueByName("Software").isEmpty());
}

TEST_F(EditMetadata, DeleteRemovesTheSelectedRowAndTheAttribute) {
    ListView list;
    list.AddColumn("Attribute");
    list.AddColumn("Value");
    ReadFileEXIFInfo(box, &list, path);
    int artist = 0;
    for (int row = 1; row <= list.Count(); ++row)
        if (list.Tag(row) == "Artist")
            artist = row;
    ASSERT_GT(artist, 0);
    const int rows = list.Count();
    list.setSelectedItem(artist);
    ASSERT_TRUE(fncDeleteAttribute("Artist", box, &list));
    EXPECT_EQ(list.Count(), rows - 1);
    EXPECT_TRUE(exifText(path, "Exif.Image.Artist").isEmpty());
    EXPECT_EQ(exifText(path, "Exif.Image.Software"), SoftwareName);
    EXPECT_FALSE(fncDeleteAttribute("Artist", box, &list));
    EXPECT_EQ(list.Count(), rows - 1);
}

TEST_F(EditMetadata, ListDeleteEmptiesKeywordsOrCategoriesOnly) {
    box.AddIptcKeyword("k");
    box.AddIptcSupplementalCategory("s");
    ASSERT_TRUE(fncDeleteIPTC_Keywords_suppCat(path, "Keywords", box));
    EXPECT_EQ(box.IptcKeywordCount(), 0);
    EXPECT_EQ(iptcText(path, "Iptc.Application2.SuppCategory"), "s");
    ASSERT_TRUE(fncDeleteIPTC_Keywords_suppCat(path, "Supplemental Categories", box));
    EXPECT_TRUE(iptcText(path, "Iptc.Application2.SuppCategory").isEmpty());
    const QByteArray before = test::readFile(path);
    EXPECT_FALSE(fncDeleteIPTC_Keywords_suppCat(path, "Caption", box));
    EXPECT_EQ(test::readFile(path), before);
}

// ---- The attribute file ----

TEST(clsFileEXIF, WritesQuotedPairsAndReadsThemBackWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("set.xiff");
    clsFileEXIF out;
    ASSERT_TRUE(out.OpenForWrite(path));
    out.WriteEXIF("Make", "Acme");
    out.WriteEXIF("ImageDescription", "a \"quoted\" word, and a comma");
    out.closefile();
    EXPECT_FALSE(out.IsOpen());
    EXPECT_EQ(test::readFile(path), QByteArray("\"Make\",\"Acme\"\r\n"
                                               "\"ImageDescription\",\"a \"\"quoted\"\" word, and "
                                               "a comma\"\r\n"));
    clsFileEXIF in;
    ASSERT_TRUE(in.OpenForRead(path));
    QString name, value;
    in.ReadEXIF(name, value);
    EXPECT_EQ(name, "Make");
    EXPECT_EQ(value, "Acme");
    EXPECT_EQ(in.readLine(), "\"ImageDescription\",\"a \"\"quoted\"\" word, and a comma\"");
    EXPECT_TRUE(in.fEof());
    EXPECT_TRUE(in.readLine().isEmpty());
}

TEST(clsFileEXIF, RefusesFilesThatAreNoPairsAndReadsNothingFromThem) {
    QTemporaryDir dir;
    const std::pair<const char*, QByteArray> files[] = {
        {"three fields", "\"Make\",\"Acme\"\r\n\"Model\",\"X\",\"extra\"\r\n"},
        {"one field", "\"Make\"\r\n"},
        {"unquoted", "Make,Acme\r\n"},
        {"no closing quote", "\"Make\",\"Acme\r\n"},
    };
    for (const auto& [label, bytes] : files) {
        const QString path = dir.filePath("bad.xiff");
        test::writeFile(path, bytes);
        clsFileEXIF in;
        EXPECT_FALSE(in.OpenForRead(path)) << label;
        EXPECT_FALSE(in.ReadError().isEmpty()) << label;
        EXPECT_TRUE(in.fEof()) << label;
    }
    clsFileEXIF missing;
    EXPECT_FALSE(missing.OpenForRead(dir.filePath("missing.xiff")));
    EXPECT_TRUE(missing.fEof());
    EXPECT_TRUE(missing.readLine().isEmpty());
}

// Files of older editions were written in the Windows code page.
TEST(clsFileEXIF, ReadsWindows1252FilesAndLfLineEnds) {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.xiff");
    test::writeFile(path, "\"Artist\",\"Ren\xe9\"\n\"Make\",\"Acme\"");
    clsFileEXIF in;
    ASSERT_TRUE(in.OpenForRead(path));
    QString name, value;
    in.ReadEXIF(name, value);
    EXPECT_EQ(value, QString::fromUtf8("Ren\xc3\xa9"));
    in.ReadEXIF(name, value);
    EXPECT_EQ(name, "Make");
    EXPECT_TRUE(in.fEof());
}

TEST(clsFileEXIF, AnEmptyFileDiscardedIsNeverWrittenAndAnOldOneStays) {
    QTemporaryDir dir;
    const QString fresh = dir.filePath("fresh.xiff");
    clsFileEXIF out;
    ASSERT_TRUE(out.OpenForWrite(fresh));
    out.closefile(true);
    EXPECT_FALSE(QFile::exists(fresh));
    const QString old = dir.filePath("old.xiff");
    test::writeFile(old, "\"Make\",\"Acme\"\r\n");
    ASSERT_TRUE(out.OpenForWrite(old));
    out.closefile(true);
    EXPECT_EQ(test::readFile(old), QByteArray("\"Make\",\"Acme\"\r\n"));
    EXPECT_FALSE(out.OpenForWrite(dir.filePath("no/such/folder/x.xiff")));
}

// Every cut copy of an attribute file, and copies with a byte turned into a quote or a
// line end, is read whole or refused with a reason; nothing is half read.
TEST(clsFileEXIFCorrupt, CutAndDamagedFilesAreReadWholeOrRefused) {
    QTemporaryDir dir;
    const QByteArray good = "\"Make\",\"Acme\"\r\n\"ImageDescription\",\"a \"\"q\"\", b\"\r\n";
    std::vector<QByteArray> copies;
    for (int n = 0; n < good.size(); ++n)
        copies.push_back(good.left(n));
    for (int i = 0; i < good.size(); ++i)
        for (char c : {'"', '\n', ','}) {
            QByteArray copy = good;
            copy[i] = c;
            copies.push_back(copy);
        }
    const QString path = dir.filePath("damaged.xiff");
    for (const QByteArray& bytes : copies) {
        test::writeFile(path, bytes);
        clsFileEXIF in;
        if (!in.OpenForRead(path)) {
            EXPECT_FALSE(in.ReadError().isEmpty()) << bytes.toStdString();
            EXPECT_TRUE(in.fEof()) << bytes.toStdString();
            continue;
        }
        int pairs = 0;
        QString name, value;
        while (!in.fEof() && pairs < 10) {
            in.ReadEXIF(name, value);
            ++pairs;
        }
        EXPECT_LE(pairs, 2) << bytes.toStdString();
    }
}
