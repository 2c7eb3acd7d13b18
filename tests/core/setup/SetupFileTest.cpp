#include "core/AppPaths.h"
#include "core/ScreenTwips.h"
#include "core/setup/SetupCodec.h"
#include "core/setup/SetupLayout.h"
#include "core/setup/modSetup.h"
#include "tests/common/TestSupport.h"
#include "tests/core/setup/SetupBytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

using namespace picbasket;
using picbasket::test::SetupBytes;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Each test runs in its own program folder at 15 twips per pixel with a fresh record.
class SetupFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        overrideTwipsPerPixel(15, 15);
        picbasket::Setup = typSetup{};
        SetupFile.clear();
    }
    void TearDown() override {
        resetTwipsPerPixel();
        picbasket::Setup = typSetup{};
        SetupFile.clear();
    }
    QString setupPath() const { return app.file(QStringLiteral("picbasket.setup")); }

    test::TempAppFolder app;
    test::MessageRecorder messages;
    test::ErrorRecorder errors;
};

// The first-run record as the member tables give it, byte by byte.
QByteArray defaultRecordBytes(const QString& program) {
    const int64_t highlightText = 0x8000000E, windowText = 0x80000008, captionText = 0x80000009;
    SetupBytes b;
    // SaveOptions
    b.str("tif").i32(0).i16(80).u8(0).u8(1).i16(20);
    b.u8(0).u8(0).i32(highlightText).i32(1);
    b.i32(0).u8(0).i32(highlightText);
    b.u8(1).i32(0).i16(0).i32(0);
    b.u8(1).u8(0).u8(0);
    // BatchSave
    b.u8(1).i16(20).u8(0).str("").str("").str("_").str("_").i16(0).str("Sample");
    b.str("[Starting 1]").u8(0).str(program).u8(1).i16(0).u8(1);
    // AllowTip, MainWindow (640 x 480 pixels in twips), Splitters, LastFolder, Preview
    b.u8(1);
    b.i32(9600).i32(7200).u8(0);
    b.i16(70).i16(30).i16(50).i16(50);
    b.str(program);
    b.u8(0).u8(1);
    // FolderList
    b.i32(0);
    for (int i = 0; i < 8; ++i)
        b.i16(100);
    b.i16(0).i16(40).i16(40).u8(0);
    // BasketList
    for (int i = 0; i < 5; ++i)
        b.i16(100);
    b.i16(0).i16(40).i16(40).i32(0).i32(0).str(program);
    // MetadataLists
    b.i16(100).i16(200).i16(100).i16(200);
    // Twain
    b.u8(0).u8(0).str("Twain").i16(0).i16(0).u8(0).str(program + "/Acquired/");
    // TaskDefaults
    b.u8(0).u8(1).u8(0).i16(50).i32(highlightText).i16(10).i16(10).i16(10).i16(10);
    b.i16(0).u8(0).i32(highlightText).i16(50).u8(1).u8(1).u8(1).i16(50).u8(1).u8(1).u8(1);
    b.i16(1).u8(1).u8(1).u8(0);
    b.str("Sample").u8(1).i32(highlightText).i16(0).i16(0).i16(0).i16(14).i32(windowText);
    b.u8(0).u8(0).u8(0).i16(0).u8(0).u8(0);
    b.u8(0);
    b.u8(1).i16(0).i32(captionText).i16(50).str("");
    b.u8(0).i16(20).i32(highlightText).i16(0).u8(1);
    b.i16(0).u8(1).i16(0);
    b.i16(0);
    // Screensaver, SlideShow, Capture, Greeting
    b.u8(1).i16(80);
    b.i32(0).i16(3).u8(1).i16(80);
    b.i16(0).str("Captured").str(program + "/Captured");
    b.u8(1).i16(80);
    // Print
    b.i32(-1).i32(0).u8(0).f64(0).f64(0).i32(1).f64(100).u8(0).i16(0).i16(0);
    return b.bytes();
}

// Gives every stored member a value unlike its default: negative numbers, true truth
// values, fractional doubles, non-ASCII text.
struct Scrambler {
    int n = 0;
    void operator()(uint8_t& v) { v = uint8_t(200 + n++ % 50); }
    void operator()(int16_t& v) { v = int16_t(-2 - n++); }
    void operator()(int32_t& v) { v = -100000 - n++; }
    void operator()(uint32_t& v) { v = 0x00123400u + uint32_t(n++); }
    void operator()(bool& v) { v = (++n, true); }
    void operator()(double& v) { v = -12.375 - n++; }
    void operator()(QString& v) { v = QStringLiteral("Grüße-€-写真-%1").arg(n++); }
};

typSetup scrambledRecord() {
    typSetup record;
    Scrambler scrambler;
    visitSetup(scrambler, record);
    return record;
}

} // namespace

TEST(SetupLayout, FixedPartAndStringCountMatchTheMemberTables) {
    const SetupLayoutSize size = setupLayoutSize();
    EXPECT_EQ(size.fixedBytes, 289);
    EXPECT_EQ(size.strings, 16);
    EXPECT_EQ(size.minimumFileSize(), 321);
}

TEST_F(SetupFileTest, FirstRunWritesTheDefaultRecordByteForByte) {
    subLoadSetup();
    EXPECT_EQ(SetupFile, setupPath());
    EXPECT_FALSE(QFileInfo::exists(setupPath())) << "loading must never create the file";
    subSaveSetup();

    const QByteArray expected = defaultRecordBytes(app.path());
    const QByteArray written = fileBytes(setupPath());
    EXPECT_TRUE(written.startsWith(QByteArray("\x03\x00tif", 5)));
    // The texts of the default strings, five of them holding the program folder.
    const qsizetype stringBytes =
        3 + 1 + 1 + 6 + 12 + 5 + 10 + 6 + 8 + 9 + 5 * app.path().toUtf8().size();
    EXPECT_EQ(written.size(), 289 + 32 + stringBytes);
    EXPECT_EQ(written.toHex(' '), expected.toHex(' '));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(SetupFileTest, DefaultsCreateTheCaptureAndScanFolders) {
    subLoadSetup();
    EXPECT_EQ(picbasket::Setup.Capture.Folder, app.path() + "/Captured");
    EXPECT_EQ(picbasket::Setup.Twain.Folder, app.path() + "/Acquired/");
    EXPECT_TRUE(QFileInfo(picbasket::Setup.Capture.Folder).isDir());
    EXPECT_TRUE(QFileInfo(picbasket::Setup.Twain.Folder).isDir());
    EXPECT_EQ(picbasket::Setup.LastFolder, app.path());
    EXPECT_EQ(picbasket::Setup.BatchSave.DestinationFolder, app.path());
}

TEST(SetupCodec, RoundTripRestoresEveryMember) {
    const typSetup original = scrambledRecord();
    ASSERT_NE(original, typSetup{});
    typSetup read;
    ASSERT_TRUE(decodeSetup(encodeSetup(original), read));
    EXPECT_EQ(read, original);
    EXPECT_TRUE(read.Print.P8C);
    EXPECT_EQ(read.Print.P85, original.Print.P85);
    EXPECT_EQ(read.TaskDefaults.Text.Caption, original.TaskDefaults.Text.Caption);
}

TEST(SetupCodec, TruthValuesAreStoredAsMinusOneAndAnyNonZeroReadsTrue) {
    typSetup record;
    record.Print.P8D = true;
    QByteArray bytes = encodeSetup(record);
    EXPECT_EQ(bytes.right(2), QByteArray("\xFF\xFF", 2));
    bytes[bytes.size() - 2] = 1;
    bytes[bytes.size() - 1] = 0;
    typSetup read;
    read.Print.P8D = false;
    ASSERT_TRUE(decodeSetup(bytes, read));
    EXPECT_TRUE(read.Print.P8D);
}

TEST(SetupCodec, StringsAreUtf8AndOldSingleByteTextStillReads) {
    const struct {
        const char* name;
        QByteArray stored;
        QString text;
    } rows[] = {
        {"utf-8", QByteArray("Caf\xC3\xA9 \xE2\x82\xAC"), QStringLiteral("Café €")},
        {"windows-1252", QByteArray("Caf\xE9 \x80\x96"), QStringLiteral("Caf\u00E9 \u20AC\u2013")},
        {"cut utf-8 sequence", QByteArray("ab\xE2\x82"), QStringLiteral("ab\u00E2\u201A")},
        {"empty", QByteArray(), QString()},
    };
    for (const auto& r : rows)
        EXPECT_EQ(decodeSetupText(r.stored), r.text) << r.name;
}

TEST(SetupCodec, OverlongStringIsCutAtAWholeCharacter) {
    typSetup record;
    record.SaveOptions.DefaultFormat = QString(40000, QChar(0x00E9)); // two bytes each
    const QByteArray bytes = encodeSetup(record);
    EXPECT_EQ(uint8_t(bytes[0]) | (uint8_t(bytes[1]) << 8), 65534);
    typSetup read;
    ASSERT_TRUE(decodeSetup(bytes, read));
    EXPECT_EQ(read.SaveOptions.DefaultFormat, QString(32767, QChar(0x00E9)));
    EXPECT_EQ(read.BatchSave, record.BatchSave);
}

TEST_F(SetupFileTest, SavedRecordLoadsBackBroughtIntoRange) {
    SetupFile = setupPath();
    picbasket::Setup = scrambledRecord();
    typSetup expected = picbasket::Setup;
    subBringSetupIntoRange(expected);
    subSaveSetup();

    picbasket::Setup = typSetup{};
    subLoadSetup();
    EXPECT_EQ(picbasket::Setup, expected);
    EXPECT_EQ(picbasket::Setup.Print, scrambledRecord().Print)
        << "print values are never interpreted";
    EXPECT_TRUE(errors.reports().empty());
}

TEST(SetupRange, ValuesLaterCodeIndexesWithAreBroughtIntoRange) {
    typSetup s;
    s.FolderList.ThumbnailWidth = 5;
    s.FolderList.ThumbnailHeight = 3000;
    s.BasketList.ThumbnailWidth = -1;
    s.BasketList.ThumbnailHeight = 301;
    s.FolderList.ColumnWidth[7] = -40;
    s.MetadataLists.IptcColumnWidth[1] = -1;
    s.SaveOptions.Formats.TIFF.Compression = 7;
    s.SaveOptions.Formats.JPG.Quality = 0;
    s.BatchSave.NameMode = -3;
    s.BatchSave.Rate = 26;
    s.TaskDefaults.Text.Position = 10;
    s.TaskDefaults.ShadowStyle = 8;
    s.Capture.Mode = 3;
    s.Twain.SinglePageFormat = 6;
    subBringSetupIntoRange(s);

    EXPECT_EQ(s.FolderList.ThumbnailWidth, 20);
    EXPECT_EQ(s.FolderList.ThumbnailHeight, 300);
    EXPECT_EQ(s.BasketList.ThumbnailWidth, 20);
    EXPECT_EQ(s.BasketList.ThumbnailHeight, 300);
    EXPECT_EQ(s.FolderList.ColumnWidth[7], 0);
    EXPECT_EQ(s.MetadataLists.IptcColumnWidth[1], 0);
    EXPECT_EQ(s.SaveOptions.Formats.TIFF.Compression, 6);
    EXPECT_EQ(s.SaveOptions.Formats.JPG.Quality, 1);
    EXPECT_EQ(s.BatchSave.NameMode, 0);
    EXPECT_EQ(s.BatchSave.Rate, 25);
    EXPECT_EQ(s.TaskDefaults.Text.Position, 9);
    EXPECT_EQ(s.TaskDefaults.ShadowStyle, 7);
    EXPECT_EQ(s.Capture.Mode, 2);
    EXPECT_EQ(s.Twain.SinglePageFormat, 5);

    typSetup defaults;
    subBringSetupIntoRange(defaults);
    EXPECT_EQ(defaults, typSetup{}) << "the defaults are in range";
}

TEST_F(SetupFileTest, SavingOverALongerOldFileLeavesExactlyTheNewRecord) {
    SetupFile = setupPath();
    writeFile(setupPath(), QByteArray(5000, '\x7F'));
    subSaveSetup();
    EXPECT_EQ(fileBytes(setupPath()), encodeSetup(picbasket::Setup));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(SetupFileTest, BytesBeyondTheRecordAreIgnored) {
    typSetup stored;
    stored.LastFolder = QStringLiteral("/photos");
    writeFile(setupPath(), encodeSetup(stored) + QByteArray(300, '\x55'));
    subLoadSetup();
    EXPECT_EQ(picbasket::Setup.LastFolder, QStringLiteral("/photos"));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(QFileInfo::exists(setupPath()));
}

TEST_F(SetupFileTest, SaveFailureIsReportedAndKeepsTheOldFile) {
    SetupFile = app.file(QStringLiteral("no-such-folder/picbasket.setup"));
    subSaveSetup();
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].source, QStringLiteral("subSaveSetup"));
}

TEST_F(SetupFileTest, DeleteRemovesTheFileAndIgnoresAMissingOne) {
    subLoadSetup();
    subSaveSetup();
    ASSERT_TRUE(QFileInfo::exists(setupPath()));
    subDeleteSetupFile();
    EXPECT_FALSE(QFileInfo::exists(setupPath()));
    subDeleteSetupFile();
    EXPECT_TRUE(errors.reports().empty());
}

TEST(SetupFilePath, IsBesideTheProgramWithItsOwnExtensionAndOneSeparator) {
    AppPaths::overrideDataRoot(QStringLiteral("/"));
    AppPaths::overrideExecutableName(QStringLiteral("picbasket"));
    EXPECT_EQ(AppPaths::setupFile(), QStringLiteral("/picbasket.setup"));
    AppPaths::overrideDataRoot(QStringLiteral("/opt/pb"));
    EXPECT_EQ(AppPaths::setupFile(), QStringLiteral("/opt/pb/picbasket.setup"));
    AppPaths::resetOverrides();

    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
    EXPECT_NE(QFileInfo(AppPaths::setupFile()).absoluteFilePath(), program);
    EXPECT_TRUE(AppPaths::setupFile().endsWith(QStringLiteral(".setup")));
}

// A path that names a program or a folder is never read, written or deleted.
TEST_F(SetupFileTest, ProgramsAndFoldersAreNeverTakenForTheSetupFile) {
    const QByteArray program("\x7F"
                             "ELF not really a setup file");
    writeFile(setupPath(), program);
    QFile(setupPath())
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    subLoadSetup();
    EXPECT_EQ(picbasket::Setup, fncSetupDefaults()) << "the defaults are used";
    subSaveSetup();
    subDeleteSetupFile();
    EXPECT_EQ(fileBytes(setupPath()), program);
    EXPECT_EQ(errors.reports().size(), 2u) << "load and save each report the refusal";

    QFile::remove(setupPath());
    ASSERT_TRUE(QDir().mkdir(setupPath()));
    subLoadSetup();
    subSaveSetup();
    subDeleteSetupFile();
    EXPECT_TRUE(QFileInfo(setupPath()).isDir());
}

TEST(ScreenTwips, FollowTheScreenUnlessFixed) {
    resetTwipsPerPixel();
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_DOUBLE_EQ(twipsPerPixelX(), 1440.0 / screen->logicalDotsPerInchX());
    EXPECT_DOUBLE_EQ(twipsPerPixelY(), 1440.0 / screen->logicalDotsPerInchY());
    overrideTwipsPerPixel(12, 10);
    EXPECT_EQ(twipsPerPixelX(), 12);
    EXPECT_EQ(twipsPerPixelY(), 10);
    EXPECT_EQ(fncSetupDefaults().MainWindow.Width, 640 * 12);
    EXPECT_EQ(fncSetupDefaults().MainWindow.Height, 480 * 10);
    resetTwipsPerPixel();
}
