#include "engine/batch/modNamingRules.h"
#include "core/DateFormat.h"
#include "core/fileinfo/clsFileInfo.h"
#include "engine/batch/ExifDateNames.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// 3 July 2024 at 16:05:09, the example of the date forms.
const QDateTime kNow(QDate(2024, 7, 3), QTime(16, 5, 9));

class NamingRules : public ::testing::Test {
protected:
    void SetUp() override {
        previousClock_ = setNamingClock([] { return kNow; });
        QImage image(30, 20, QImage::Format_RGB888);
        image.fill(Qt::darkCyan);
        box_.setImage(image);
        box_.setTag(QStringLiteral("40x50"));
    }
    void TearDown() override { setNamingClock(previousClock_); }

    QString token(const QString& text, const QString& extension = QStringLiteral("jp2")) {
        return fncRetrieveNamingString(box_, text, QString(), extension);
    }

    ImageBox box_;
    NamingClock previousClock_;
};

} // namespace

TEST(NamingSeparator, KeywordsTypedTextAndUnsafeCharacters) {
    const struct {
        const char* given;
        const char* expected;
    } cases[] = {
        {"[WhiteSpace]", " "},
        {"[No Separator]", ""},
        {"_", "_"},
        {"AND", "AND"},
        {"", ""},
        {"[whitespace]", "[whitespace]"}, // keywords are case-sensitive
        {"a/b", "a_b"},                   // "/" would leave the destination folder
    };
    for (const auto& c : cases)
        EXPECT_EQ(fncGetSeparator(QString::fromLatin1(c.given)), QString::fromLatin1(c.expected))
            << c.given;
}

TEST_F(NamingRules, TokensOfTheImageTheClockAndTypedText) {
    const struct {
        const char* token;
        const char* expected;
    } cases[] = {
        {"[No Prefix]", ""},
        {"[Resulting resolution]", "30x20"},
        {"[Source resolution]", "40x50"},
        {"[Date Today-Time]", "7.3.2024 4.05.09 PM"},
        {"[Date Today]", "7.3.2024"},
        {"[date today]", "[date today]"}, // case-sensitive: used as typed
        {"Holiday 2024", "Holiday 2024"},
        {"../x", ".._x"},
        {"[Resulting size]", ""}, // jp2 has no image-box format
        {"[EXIF Make & Model]", ""},
        {"[EXIF X-Y Dimension]", ""},
        {"[EXIF Date]", ""},
        {"[IPTC Headline]", ""},
        {"[IPTC Ref. Date]", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(token(QString::fromLatin1(c.token)), QString::fromUtf8(c.expected)) << c.token;
}

TEST_F(NamingRules, EmptyBoxGivesEmptyTextForEveryToken) {
    box_.Clear();
    for (const char* text : {"[Date Today]", "[Source resolution]", "typed text"})
        EXPECT_EQ(token(QString::fromLatin1(text)), QString()) << text;
}

TEST_F(NamingRules, ExifTokensWithSlashInTheModelStayInsideTheFolder) {
    ASSERT_TRUE(box_.SetExifAttribute("Make", "Canon"));
    ASSERT_TRUE(box_.SetExifAttribute("Model", "EOS 5D/Mark II"));
    ASSERT_TRUE(box_.SetExifAttribute("Artist", "Ann"));
    ASSERT_TRUE(box_.SetExifAttribute("PixelXDimension", "640"));
    ASSERT_TRUE(box_.SetExifAttribute("PixelYDimension", "480"));
    EXPECT_EQ(token("[EXIF Make]"), "Canon");
    EXPECT_EQ(token("[EXIF Model]"), "EOS 5D_Mark II");
    EXPECT_EQ(token("[EXIF Make & Model]"), "Canon-EOS 5D_Mark II");
    EXPECT_EQ(token("[EXIF Artist]"), "Ann");
    EXPECT_EQ(token("[EXIF X-Y Dimension]"), "640x480");
}

TEST_F(NamingRules, ExifTextTokensDropTheCamerasPadding) {
    const QString nul(QChar(0));
    const struct {
        const char* what;
        QString make, model;
        const char* makeAndModel;
    } cases[] = {
        {"blanks", "PENTAX Corporation ", "PENTAX K10D        ", "PENTAX Corporation-PENTAX K10D"},
        {"NULs", "Canon" + nul + nul, "EOS 5D" + nul + nul + nul, "Canon-EOS 5D"},
        {"both, both ends", " NIKON" + nul + " ", "  D70 " + nul + " ", "NIKON-D70"},
        {"only padding", "    ", nul + nul, ""},
        {"inner blanks stay", "Fuji  Film", "X 100", "Fuji  Film-X 100"},
    };
    for (const auto& c : cases) {
        box_.DeleteAllExif();
        ASSERT_TRUE(box_.SetExifAttribute("Make", c.make)) << c.what;
        ASSERT_TRUE(box_.SetExifAttribute("Model", c.model)) << c.what;
        ASSERT_TRUE(box_.SetExifAttribute("Artist", c.make)) << c.what;
        const QString make = QString::fromLatin1(c.makeAndModel).section('-', 0, 0);
        EXPECT_EQ(token("[EXIF Make & Model]"), QString::fromLatin1(c.makeAndModel)) << c.what;
        EXPECT_EQ(token("[EXIF Make]"), make) << c.what;
        EXPECT_EQ(token("[EXIF Artist]"), make) << c.what;
    }
    box_.DeleteAllExif();
    ASSERT_TRUE(box_.SetExifAttribute("PixelXDimension", "640"));
    ASSERT_TRUE(box_.SetExifAttribute("PixelYDimension", "480"));
    ASSERT_TRUE(box_.SetExifAttribute("DateTimeOriginal", "2004:05:06 19:08:09" + nul + " "));
    EXPECT_EQ(token("[EXIF X-Y Dimension]"), "640x480");
    EXPECT_EQ(token("[EXIF Date]"), "5.6.2004");
}

TEST_F(NamingRules, ExifDateFromTheFirstDateAttributeOrToday) {
    ASSERT_TRUE(box_.SetExifAttribute("Make", "Canon"));
    // EXIF without any date attribute: today.
    EXPECT_EQ(token("[EXIF Date]"), "7.3.2024");
    ASSERT_TRUE(box_.SetExifAttribute("DateTimeOriginal", "2004:05:06 19:08:09"));
    EXPECT_EQ(token("[EXIF Date]"), "5.6.2004");
    EXPECT_EQ(token("[EXIF Date-Time]"), "5.6.2004 7.08.09 PM");
}

TEST_F(NamingRules, UnknownExifDatesGiveNoTextAndNoError) {
    // What cameras with an unset clock write into DateTimeOriginal.
    const char* unknown[] = {"0000:00:00 00:00:00", "    :  :     :  :  ", "", "2004:05:06",
                             "2004:13:40 25:61:61"};
    test::ErrorRecorder errors;
    for (const char* value : unknown) {
        box_.DeleteAllExif();
        ASSERT_TRUE(box_.SetExifAttribute("DateTimeOriginal", QString::fromLatin1(value))) << value;
        EXPECT_EQ(token("[EXIF Date]"), QString()) << value;
        EXPECT_EQ(token("[EXIF Date-Time]"), QString()) << value;
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(NamingRules, IptcTokensBothSpellingsOfTheReferenceKeys) {
    box_.setIptcHeadline("Head");
    box_.setIptcAuthor("Bob");
    box_.setIptcReferenceNumber("R/7");
    box_.setIptcReferenceDate(QDateTime(QDate(2020, 12, 31), QTime(0, 0, 0)));
    ASSERT_TRUE(box_.HasIptc());
    EXPECT_EQ(token("[IPTC Headline]"), "Head");
    EXPECT_EQ(token("[IPTC Author]"), "Bob");
    EXPECT_EQ(token("[IPTC Ref. Number]"), "R_7");
    EXPECT_EQ(token("[IPTC Reference Number]"), "R_7");
    EXPECT_EQ(token("[IPTC Ref. Date]"), "12.31.2020 12.00.00 AM");
    EXPECT_EQ(token("[IPTC Reference Date]"), "12.31.2020 12.00.00 AM");
}

// The tokens offered to the user are the naming rules' own keys: each expands on an
// image with EXIF and IPTC data rather than being taken as typed text, and the list is
// the offered order with the short "Ref." spellings.
TEST_F(NamingRules, EveryOfferedTokenIsARuleOfItsOwn) {
    ASSERT_TRUE(box_.SetExifAttribute("Make", "Canon"));
    ASSERT_TRUE(box_.SetExifAttribute("Model", "EOS"));
    ASSERT_TRUE(box_.SetExifAttribute("Artist", "Ann"));
    ASSERT_TRUE(box_.SetExifAttribute("ImageDescription", "Lake"));
    ASSERT_TRUE(box_.SetExifAttribute("PixelXDimension", "640"));
    ASSERT_TRUE(box_.SetExifAttribute("PixelYDimension", "480"));
    box_.setIptcHeadline("Head");
    box_.setIptcReferenceNumber("R7");
    const QStringList& tokens = fncNamingTokens();
    ASSERT_EQ(tokens.size(), 25);
    EXPECT_EQ(tokens.first(), "[No Prefix]");
    EXPECT_EQ(tokens.indexOf("[EXIF Date-Time]") + 1, tokens.indexOf("[EXIF Make]"));
    EXPECT_EQ(tokens.mid(23), (QStringList{"[IPTC Ref. Date]", "[IPTC Ref. Number]"}));
    EXPECT_EQ(QSet<QString>(tokens.begin(), tokens.end()).size(), tokens.size());
    for (const QString& t : tokens)
        EXPECT_NE(token(t), t) << t.toStdString();
}

TEST(NamingSize, KilobytesRoundHalvesToEven) {
    const struct {
        int64_t bytes;
        const char* expected;
    } cases[] = {{0, "0Kb"}, {1536, "2Kb"}, {2560, "2Kb"}, {3584, "4Kb"}, {1535, "1Kb"}};
    for (const auto& c : cases)
        EXPECT_EQ(fncSizeInKb(c.bytes), QString::fromLatin1(c.expected)) << c.bytes;
}

TEST_F(NamingRules, ResultingSizeEncodesInTheTargetFormat) {
    EXPECT_EQ(token("[Resulting size]", "png"), fncSizeInKb(box_.EncodedSize(ImageBox::FormatPng)));
    EXPECT_EQ(token("[Resulting size]", "bmp"), fncSizeInKb(box_.EncodedSize(ImageBox::FormatBmp)));
    EXPECT_EQ(fncNamingFormatCode("wbm"), ImageBox::FormatWbmp);
    EXPECT_EQ(fncNamingFormatCode("jpc"), -1);
}

TEST_F(NamingRules, SourceFileTokensReadTheRowsFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("source.bin");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(5000, 'x'));
    file.close();
    clsFileInfo info;
    info.setFilePath(path);
    EXPECT_EQ(fncRetrieveNamingString(box_, "[Source size]", path, "jp2"), info.fSizeFormated(0));
    EXPECT_FALSE(info.fSizeFormated(0).isEmpty());
    EXPECT_EQ(fncRetrieveNamingString(box_, "[Source Date Modified]", path, "jp2"),
              formatDate(info.dateModified(), "m.d.yyyy h.mm.ss AM/PM"));
}

TEST(ExifDateNames, TrimmedNamesInAnyCase) {
    EXPECT_TRUE(fncIsDateAttribute(" DateTime "));
    EXPECT_TRUE(fncIsDateAttribute("DATETIMEORIGINAL"));
    EXPECT_TRUE(fncIsDateAttribute("DateTimeDigitized"));
    EXPECT_FALSE(fncIsDateAttribute("GPSDateStamp"));
    EXPECT_FALSE(fncIsDateAttribute(""));
}
