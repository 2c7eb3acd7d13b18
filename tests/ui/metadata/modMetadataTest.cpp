#include "metadata/modMetadata.h"

#include "Version.h"
#include "core/Globals.h"
#include "platform/comctl/ListView.h"
#include "tests/common/TestSupport.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

class MetadataTables : public ::testing::Test {
protected:
    void SetUp() override { subInitMetadataTables(); }
    test::ErrorRecorder errors;
};

struct Interpretation {
    const char* name;
    const char* value;
    const char* expected;
};

} // namespace

TEST_F(MetadataTables, TablesHoldTheirNamesInOrder) {
    EXPECT_EQ(EditableExifNames.front(), QStringLiteral("Make"));
    EXPECT_EQ(EditableExifNames[8], QStringLiteral("UserComment"));
    EXPECT_EQ(EditableExifNames.back(), QStringLiteral("PixelYDimension"));
    EXPECT_EQ(DateExifNames, exifDateAttributeNames());
    EXPECT_EQ(IptcDateNames[2], QStringLiteral("Time Released"));
    EXPECT_EQ(SoftwareName, QString::fromUtf8(version::Title));
    EXPECT_NE(SoftwareName, QString());
}

TEST_F(MetadataTables, NameTestsTrimAndIgnoreCase) {
    EXPECT_TRUE(fncIsEditableAttribute(QStringLiteral(" make ")));
    EXPECT_TRUE(fncIsEditableAttribute(QStringLiteral("PIXELXDIMENSION")));
    EXPECT_FALSE(fncIsEditableAttribute(QStringLiteral("Software")));
    EXPECT_FALSE(fncIsEditableAttribute(QString()));
    EXPECT_TRUE(fncIsDateAttribute(QStringLiteral("datetime")));
    EXPECT_FALSE(fncIsDateAttribute(QStringLiteral("Date Created")));
    EXPECT_TRUE(fncIsIPTCDateAttribute(QStringLiteral("Time Created")));
    EXPECT_TRUE(fncIsIPTCDateAttribute(QStringLiteral("date created ")));
    EXPECT_FALSE(fncIsIPTCDateAttribute(QStringLiteral("DateTime")));
}

TEST_F(MetadataTables, AttributeNotInListComparesKeysExactly) {
    ListView list;
    EXPECT_TRUE(fncAttributeNotInList(&list, QStringLiteral("Make")));
    EXPECT_TRUE(fncAttributeNotInList(nullptr, QStringLiteral("Make")));
    list.AddItem(QStringLiteral("Exif Version")); // no key
    const int make = list.AddItem(QStringLiteral("Make"));
    list.setKey(make, QStringLiteral("Make"));
    EXPECT_FALSE(fncAttributeNotInList(&list, QStringLiteral("Make")));
    EXPECT_TRUE(fncAttributeNotInList(&list, QStringLiteral("make")));
    EXPECT_TRUE(fncAttributeNotInList(&list, QStringLiteral("Make ")));
    EXPECT_TRUE(fncAttributeNotInList(&list, QString()));
}

TEST_F(MetadataTables, RationalHalvesSplitAtTheLastSlash) {
    struct Case {
        const char* value;
        int32_t numerator;
        int32_t denominator;
    } cases[] = {
        {"10/1000", 10, 1000},  {"-1/3", -1, 3}, {"25", 0, 25}, {"1/2/3", 0, 3},
        {"a/4", 0, 4},          {"7/x", 7, 0},   {"", 0, 0},    {" 5 / 8 ", 5, 8},
        {"4294967295/1", 0, 1},
    };
    for (const Case& c : cases) {
        const QString value = QString::fromLatin1(c.value);
        EXPECT_EQ(fncRationalNumerator(value), c.numerator) << c.value;
        EXPECT_EQ(fncRationalDenominator(value), c.denominator) << c.value;
    }
}

TEST_F(MetadataTables, InterpretsRawValues) {
    const Interpretation cases[] = {
        {"ExposureTime", "1/250", "1/250 s"},
        {"ExposureTime", "10/1000", "1/100 s"},
        {"ExposureTime", "0/1", "1s"},
        {"FNumber", "28/10", "f/2.8"},
        {"ExposureBiasValue", "-1/3", "-0.33 EV"},
        {"ExposureBiasValue", "0/1", "0.00 EV"},
        {"ExposureBiasValue", "1/8", "0.12 EV"}, // 0.125: the half goes to even
        {"ExposureBiasValue", "-1/1000", "0.00 EV"},
        {"ApertureValue", "3/1", "f/2.8"},
        {"MaxApertureValue", "2/1", "f/2"},
        {"ShutterSpeedValue", "8/1", "1/256 s"},
        {"DigitalZoomRatio", "100/100", "100:100"},
        {"FocalLength", "50/3", "16.6666666666667 mm"},
        {"FocalLength", "35/1", "35 mm"},
        {"FocalLengthIn35mmFilm", "52", "52 mm"},
        {"CompressedBitsPerPixel", "4/1", "4"},
        {"CompressedBitsPerPixel", "5/2", "2.5"},
        {"ExifVersion", "30,32,32,30", "2.2"},
        {"FlashPixVersion", " 30,31,30,30 ", "1.0"},
        {"FlashPixVersion", "30,31,31,30", ""},
        {"ComponentsConfiguration", "01,02,03,00", "YCrCb"},
        {"ComponentsConfiguration", "04,05,06", "RGB"},
        {"ComponentsConfiguration", "04", "Red"},
        {"ComponentsConfiguration", "07", ""},
        {"Orientation", "1", "Upper Left"},
        {"Orientation", "3", "Bottom Right"},
        {"MeteringMode", "254", ""},
        {"MeteringMode", "255", "Other"},
        {"Flash", "2", ""},
        {"Flash", "25", "Flash fired, auto mode"},
        {"ColorSpace", "2", ""},
        {"ColorSpace", "65535", "Uncalibrated"},
        {"SceneType", "01", "Directly photographed image"},
        {"SceneType", "02", "Unknown"},
        {"FileSource", "03", "DSC (Digital Still Camera)"},
        {"FileSource", "00", "DSC (Digital Still Camera)"},
        {"FileSource", "01", "Other"},
        {"LightSource", "24", "ISO studio tungesten"},
        {"Compression", "32773", "PackBits"},
        {"ISOSpeedRatings", "17", "100"},
        {"ISOSpeedRatings", "100", ""},
        // Names are compared case-sensitively; attributes without a reading give none.
        {"Make", "Acme", ""},
        {"orientation", "1", ""},
    };
    for (const Interpretation& c : cases)
        EXPECT_EQ(fncEXIFInterpret(QString::fromLatin1(c.name), QString::fromLatin1(c.value)),
                  QString::fromLatin1(c.expected))
            << c.name << " " << c.value;
    EXPECT_TRUE(errors.reports().empty());
}

// Values cameras really write that have no reading give an empty text, so the raw
// value shows, and nothing is reported.
TEST_F(MetadataTables, ValuesWithoutAReadingGiveNoTextAndNoReport) {
    const Interpretation cases[] = {
        {"ISOSpeedRatings", "100,100", ""}, {"FNumber", "28/0", ""},
        {"FocalLength", "50/0", ""},        {"ExposureBiasValue", "1/0", ""},
        {"ApertureValue", "x/1", ""},       {"ExposureTime", "1/0", ""},
        {"ExposureTime", "0/0", "1s"},      {"ExposureTime", "fast", ""},
        {"ExifVersion", "30", ""},          {"ShutterSpeedValue", "100000/1", ""},
        {"ShutterSpeedValue", "-10/1", ""}, {"Orientation", "1.5", ""},
        {"MeteringMode", "", ""},           {"SceneType", "0A", ""},
    };
    for (const Interpretation& c : cases)
        EXPECT_EQ(fncEXIFInterpret(QString::fromLatin1(c.name), QString::fromLatin1(c.value)),
                  QString::fromLatin1(c.expected))
            << c.name << " " << c.value;
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(MetadataTables, InterpretSetsTheStatusSentence) {
    fncEXIFInterpret(QStringLiteral("FNumber"), QStringLiteral("28/10"));
    EXPECT_EQ(CurrentActivity, QStringLiteral("Read exif attribute - 'FNumber' with Value "
                                              "'28/10' and interpret it to readable format"));
    fncFormattedAttributed(QStringLiteral("FNumber"));
    EXPECT_EQ(CurrentActivity, QStringLiteral("Formatting Exif Attribute name"));
}

TEST_F(MetadataTables, DisplayNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"CFARepeatPatternDim", "CFA Repeat Pattern Dimension"},
        {"FNumber", "F-Number"},
        {"MaxApertureValue", "Max. Aperture Value"},
        {"FocalLengthIn35mmFilm", "FocalLength In 35mm Film"},
        {"DateTime", "Date/Time"},
        {"ReferenceBlackWhite", "Reference Black/White"},
        {"PixelYDimension", "Pixel Y Dimension"},
        {"Make", ""},
        {"Software", ""},
        {"Orientation", ""},
        {"fnumber", ""},
    };
    for (const auto& [raw, shown] : cases)
        EXPECT_EQ(fncFormattedAttributed(QString::fromLatin1(raw)), QString::fromLatin1(shown))
            << raw;
    const auto& table = exifDisplayNames();
    EXPECT_EQ(table.size(), 85);
    QSet<QString> distinct;
    for (auto it = table.begin(); it != table.end(); ++it) {
        EXPECT_FALSE(it.value().isEmpty()) << qPrintable(it.key());
        distinct.insert(it.value());
    }
    EXPECT_EQ(distinct.size(), 85);
}
