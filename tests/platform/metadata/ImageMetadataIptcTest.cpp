#include "core/AppError.h"
#include "core/OleDate.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/meta/ImageMetadata.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace picbasket {
namespace {

Exiv2::IptcData iptcOfFile(const QString& path) {
    std::unique_ptr<Exiv2::Image> image(Exiv2::ImageFactory::open(path.toStdString()).release());
    image->readMetadata();
    return image->iptcData();
}

TEST(Iptc, KeywordsKeepTheirOrderAndTextIsWrittenAsMarkedUtf8) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keywords.jpg");
    test::writeJpeg(path);
    ImageBox box;
    for (const char* word : {"a", "b", "c"}) {
        box.AddIptcKeyword(QString::fromLatin1(word));
    }
    box.setIptcCaption(QStringLiteral("Straße in Köln €"));
    box.SaveJpegMetadata(path);

    const Exiv2::IptcData raw = iptcOfFile(path);
    auto marker = raw.findKey(Exiv2::IptcKey("Iptc.Envelope.CharacterSet"));
    ASSERT_NE(marker, raw.end());
    EXPECT_EQ(marker->toString(), "\x1B%G");
    EXPECT_EQ(raw.findKey(Exiv2::IptcKey("Iptc.Application2.Caption"))->toString(),
              "Straße in Köln €");

    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.iptcList(iptc::Keywords), QStringList({"a", "b", "c"}));
    EXPECT_EQ(read.iptcText(iptc::Caption), QStringLiteral("Straße in Köln €"));
}

TEST(Iptc, UnmarkedTextIsReadAsWindows1252) {
    QTemporaryDir dir;
    const QString path = dir.filePath("legacy.jpg");
    test::writeJpeg(path);
    test::editWithExiv2(path, [](Exiv2::ExifData&, Exiv2::IptcData& iptc) {
        iptc["Iptc.Application2.Caption"] = std::string("Caf\xE9 \x80 \x93quoted\x94");
        iptc["Iptc.Application2.Keywords"] = std::string("na\xEFve");
    });
    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.iptcText(iptc::Caption), QStringLiteral("Café € “quoted”"));
    EXPECT_EQ(read.iptcList(iptc::Keywords), QStringList({QStringLiteral("naïve")}));
}

TEST(Iptc, ListsAreClearedAndIndexedFromZero) {
    ImageBox box;
    EXPECT_EQ(box.IptcKeywordCount(), 0);
    box.AddIptcSupplementalCategory("News");
    box.AddIptcSupplementalCategory(" Sport ");
    EXPECT_EQ(box.IptcSupplementalCategoryCount(), 2);
    EXPECT_EQ(box.IptcSupplementalCategory(1), " Sport ");
    EXPECT_THROW(box.IptcSupplementalCategory(2), AppError);
    EXPECT_THROW(box.IptcKeyword(0), AppError);
    box.ClearIptcSupplementalCategories();
    EXPECT_EQ(box.IptcSupplementalCategoryCount(), 0);
    EXPECT_FALSE(box.HasIptc());
}

TEST(Iptc, UrgencyIsANumberWithZeroForNone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("urgent.jpg");
    test::writeJpeg(path);
    ImageBox box;
    EXPECT_EQ(box.IptcUrgency(), 0);
    box.setIptcUrgency(5);
    EXPECT_TRUE(box.HasIptc());
    box.SaveJpegMetadata(path);
    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.iptcUrgency(), 5);
    EXPECT_EQ(read.iptcText(iptc::Urgency), "5");

    box.setIptcUrgency(0);
    EXPECT_FALSE(box.HasIptc());
    for (int bad : {-1, 10}) {
        EXPECT_THROW(box.setIptcUrgency(bad), AppError) << bad;
    }
}

TEST(Iptc, DatesAndTimesAreEmptyWhenAbsentAndRemovedByAnEmptyValue) {
    QTemporaryDir dir;
    const QString path = dir.filePath("dates.jpg");
    test::writeJpeg(path);
    ImageBox box;
    EXPECT_FALSE(box.IptcDateCreated().isValid());
    EXPECT_FALSE(box.IptcTimeCreated().isValid());
    box.setIptcDateCreated(QDateTime(QDate(2024, 7, 3), QTime(16, 5, 9)));
    box.setIptcTimeCreated(QDateTime(QDate(2024, 7, 3), QTime(16, 5, 9)));
    box.setIptcDateReleased(QDateTime(QDate(2024, 12, 31), QTime(0, 0)));
    box.setIptcReferenceDate(QDateTime(QDate(1999, 1, 2), QTime(0, 0)));
    box.SaveJpegMetadata(path);

    const Exiv2::IptcData raw = iptcOfFile(path);
    EXPECT_EQ(raw.findKey(Exiv2::IptcKey("Iptc.Application2.DateCreated"))->toString(),
              "2024-07-03");
    ImageMetadata read;
    ASSERT_TRUE(read.readFrom(path));
    EXPECT_EQ(read.iptcDate(iptc::DateCreated), QDate(2024, 7, 3));
    EXPECT_EQ(read.iptcTime(iptc::TimeCreated), QTime(16, 5, 9));
    EXPECT_EQ(read.iptcDate(iptc::DateReleased), QDate(2024, 12, 31));
    EXPECT_EQ(read.iptcDate(iptc::ReferenceDate), QDate(1999, 1, 2));
    EXPECT_EQ(box.IptcDateCreated(), QDateTime(QDate(2024, 7, 3), QTime(0, 0)));
    EXPECT_EQ(box.IptcTimeCreated(), QDateTime(QDate(1899, 12, 30), QTime(16, 5, 9)));

    box.setIptcDateCreated(QDateTime());
    box.setIptcDateReleased(fromOleDate(0));
    box.setIptcTimeCreated(QDateTime());
    EXPECT_FALSE(box.IptcDateCreated().isValid());
    EXPECT_FALSE(box.IptcDateReleased().isValid());
    EXPECT_FALSE(box.IptcTimeCreated().isValid());
}

TEST(Iptc, TextFieldsHaveTheirDatasetsAndAnAuthorAlias) {
    ImageBox box;
    box.setIptcAuthor("Jane");
    EXPECT_EQ(box.IptcByline(), "Jane");
    box.setIptcHeadline("Head");
    box.setIptcCustomField(20, "last custom");
    box.setIptcImageNotes("notes");
    EXPECT_EQ(box.IptcCustomField(20), "last custom");
    EXPECT_THROW(box.IptcCustomField(0), AppError);
    EXPECT_THROW(box.setIptcCustomField(21, "x"), AppError);
}

// Saves every kind of field into an IPTC file and reads it into a fresh box.
TEST(IptcFile, RoundTripsEveryKindOfField) {
    QTemporaryDir dir;
    const QString ffo = dir.filePath("info.ffo");
    ImageBox box;
    box.setIptcCaption(QStringLiteral("Ünïcode caption"));
    box.setIptcCity("Bern");
    box.setIptcCustomField(7, "seven");
    box.setIptcImageUrl("http://example.org/a.jpg");
    box.setIptcDateCreated(QDateTime(QDate(2020, 2, 29), QTime(0, 0)));
    box.setIptcTimeReleased(QDateTime(QDate(1899, 12, 30), QTime(23, 59, 58)));
    box.setIptcUrgency(3);
    box.AddIptcKeyword("x");
    box.AddIptcKeyword("y");
    box.SaveIptcToFile(ffo);

    const QByteArray stream = test::readFile(ffo);
    ASSERT_FALSE(stream.isEmpty());
    EXPECT_EQ(stream.left(3), QByteArray("\x1C\x01\x5A", 3));

    ImageBox loaded;
    loaded.LoadIptcFromFile(ffo);
    EXPECT_EQ(loaded.IptcCaption(), QStringLiteral("Ünïcode caption"));
    EXPECT_EQ(loaded.IptcCity(), "Bern");
    EXPECT_EQ(loaded.IptcCustomField(7), "seven");
    EXPECT_EQ(loaded.IptcImageUrl(), "http://example.org/a.jpg");
    EXPECT_EQ(loaded.IptcDateCreated().date(), QDate(2020, 2, 29));
    EXPECT_EQ(loaded.IptcTimeReleased().time(), QTime(23, 59, 58));
    EXPECT_EQ(loaded.IptcUrgency(), 3);
    EXPECT_EQ(loaded.IptcKeywordCount(), 2);
    EXPECT_EQ(loaded.IptcKeyword(1), "y");
}

TEST(IptcFile, AnEmptySetStillGivesALoadableFile) {
    QTemporaryDir dir;
    const QString ffo = dir.filePath("empty.ffo");
    ImageBox box;
    box.SaveIptcToFile(ffo);
    ImageBox loaded;
    loaded.setIptcCaption("replaced");
    loaded.LoadIptcFromFile(ffo);
    EXPECT_FALSE(loaded.HasIptc());
}

TEST(IptcFileCorrupt, BadFilesRaiseAndChangeNothing) {
    QTemporaryDir dir;
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("hello"),
        QByteArray("\x1C\x02\x78\x00\x10"
                   "abc",
                   8), // length beyond the end
        QByteArray("\x1C\x02\x78\x00\x03"
                   "abcX",
                   9), // stray byte after a dataset
        QByteArray("\x1C\x02\x78\x80\x09"
                   "\x00\x00",
                   7),             // bad extended length
        QByteArray("\x1C\x02", 2), // header cut short
    };
    for (const QByteArray& bytes : cases) {
        const QString ffo = dir.filePath("bad.ffo");
        test::writeFile(ffo, bytes);
        ImageBox box;
        box.setIptcCaption("kept");
        box.AddIptcKeyword("k");
        EXPECT_THROW(box.LoadIptcFromFile(ffo), AppError) << bytes.toHex().constData();
        EXPECT_EQ(box.IptcCaption(), "kept");
        EXPECT_EQ(box.IptcKeywordCount(), 1);
    }
    ImageBox box;
    EXPECT_THROW(box.LoadIptcFromFile(dir.filePath("missing.ffo")), AppError);
}

} // namespace
} // namespace picbasket
