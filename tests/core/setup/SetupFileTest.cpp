#include "core/AppPaths.h"
#include "core/ScreenTwips.h"
#include "core/setup/SetupCodec.h"
#include "core/setup/SetupLayout.h"
#include "core/setup/SetupRanges.h"
#include "core/setup/modSetup.h"
#include "tests/common/TestSupport.h"
#include "tests/core/setup/SetupBytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QScreen>
#include <QTemporaryDir>
#include <functional>
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

// The capture and scan folders are named by the defaults and made by the first capture
// or scan, so a start alone leaves nothing in the user's pictures folder.
TEST_F(SetupFileTest, DefaultsNameTheCaptureAndScanFoldersWithoutMakingThem) {
    subLoadSetup();
    EXPECT_EQ(picbasket::Setup.Capture.Folder, app.path() + "/Captured");
    EXPECT_EQ(picbasket::Setup.Twain.Folder, app.path() + "/Acquired/");
    EXPECT_FALSE(QFileInfo::exists(picbasket::Setup.Capture.Folder));
    EXPECT_FALSE(QFileInfo::exists(picbasket::Setup.Twain.Folder));
    EXPECT_EQ(picbasket::Setup.LastFolder, app.path());
    EXPECT_EQ(picbasket::Setup.BatchSave.DestinationFolder, app.path());
}

// An installed program's folder is not writable: the batch outputs, the captures and
// the scans default to the data root.
TEST_F(SetupFileTest, OutputFoldersDefaultToTheDataRootNotTheProgramFolder) {
    QTemporaryDir data;
    AppPaths::overrideDataRoot(data.path());
    const typSetup defaults = fncSetupDefaults();
    AppPaths::overrideDataRoot(app.path());
    EXPECT_EQ(defaults.BatchSave.DestinationFolder, data.path());
    EXPECT_EQ(defaults.Capture.Folder, data.path() + "/Captured");
    EXPECT_EQ(defaults.Twain.Folder, data.path() + "/Acquired/");
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

// Records at the edges the program's own controls reach. Each row changes the
// defaults the way a user could have, and must come back from the file unchanged.
struct Edge {
    const char* name;
    std::function<void(typSetup&)> change;
};

template <class Array> void setEach(Array& values, int value) {
    for (auto& v : values)
        v = int16_t(value);
}

void setEveryColumn(typSetup& s, int width) {
    setEach(s.FolderList.ColumnWidth, width);
    setEach(s.BasketList.ColumnWidth, width);
    setEach(s.MetadataLists.ExifColumnWidth, width);
    setEach(s.MetadataLists.IptcColumnWidth, width);
}

void setThumbnails(typSetup& s, int side) {
    s.FolderList.ThumbnailWidth = s.FolderList.ThumbnailHeight = int16_t(side);
    s.BasketList.ThumbnailWidth = s.BasketList.ThumbnailHeight = int16_t(side);
}

// Every slider, spin bar and clamped number box at its lowest value, or its highest.
void setSliders(typSetup& s, bool highest) {
    auto pick = [highest](int low, int high) { return int16_t(highest ? high : low); };
    typTaskDefaults& t = s.TaskDefaults;
    s.SaveOptions.Formats.JPG.Quality = pick(1, 100);
    s.SaveOptions.Formats.JPEG2000.Rate = s.BatchSave.Rate = pick(1, 25);
    setEach(t.CanvasCustom, pick(0, 800));
    t.RotateDegrees = pick(-180, 360);
    t.ContrastLevel = t.BrightnessLevel = pick(0, 100);
    t.BlurLevel = pick(1, 10);
    t.SharpenLevel = uint8_t(pick(1, 10));
    t.Text.FontSize = pick(0, 200);
    t.Text.Angle = pick(-180, 180);
    t.Watermark.Transparency = t.Mask.Level = pick(0, 100);
    t.Frame.Size = pick(0, 800);
    s.Screensaver.Quality = s.SlideShow.Quality = s.Greeting.Quality = pick(1, 100);
    s.SlideShow.Interval = pick(0, 9);
}

// Every option group, list and check box on its first entry, or its last.
void setChoices(typSetup& s, bool last) {
    auto pick = [last](int lastEntry) { return last ? lastEntry : 0; };
    typFormatOptions& f = s.SaveOptions.Formats;
    f.JPG.ColorDepth = pick(1);
    f.JPG.Encoding = f.JPEG2000.Lossy = f.GIF.Compression = f.GIF.Transparent = uint8_t(pick(1));
    f.PNG.ColorDepth = pick(1);
    f.PNG.Transparent = f.PNM.Format = uint8_t(pick(1));
    f.TIFF.Compression = int16_t(pick(6));
    s.SaveOptions.ProcessTasks = s.SaveOptions.AppendMode = s.SaveOptions.OutputMode =
        uint8_t(pick(1));
    typBatchSave& b = s.BatchSave;
    b.Lossy = b.Codestream = b.DestinationMode = b.Overwrite = b.ProcessTasks = uint8_t(pick(1));
    b.NameMode = int16_t(pick(2));
    s.AllowTip = uint8_t(pick(1));
    s.Preview.Fit = s.Preview.Type = uint8_t(pick(1));
    s.FolderList.ViewMode = pick(3);
    s.FolderList.FileSizeFormat = uint8_t(pick(1));
    s.FolderList.FullRowSelect = s.BasketList.FullRowSelect = last;
    typTaskDefaults& t = s.TaskDefaults;
    for (uint8_t* box : {&t.ResizeMode, &t.ResizeKeepRatio, &t.ResizeResample, &t.RotateResample,
                         &t.ContrastRed, &t.ContrastGreen, &t.ContrastBlue, &t.BrightnessRed,
                         &t.BrightnessGreen, &t.BrightnessBlue, &t.CropMode, &t.CropPreset,
                         &t.FlipMode, &t.Text.Transparent, &t.Text.Bold, &t.Text.Style2,
                         &t.Text.Style3, &t.Text.Orientation, &t.Watermark.Transparent,
                         &t.Frame.Kind, &t.Frame.ResizeCanvas, &t.Mask.Transparent})
        *box = uint8_t(pick(1));
    t.Text.Filter = int16_t(pick(5));
    t.Text.Position = int16_t(pick(9));
    t.Text.FontFamily = int16_t(last ? 400 : -1);
    t.Text.Alignment = uint8_t(pick(2));
    t.Watermark.MergeStyle = int16_t(pick(3));
    t.Frame.Style = t.Mask.Style = t.ShadowStyle = int16_t(pick(7));
    s.Twain.Destination = s.Twain.FileMode = s.Twain.Overwrite = uint8_t(pick(1));
    s.Twain.SinglePageFormat = int16_t(pick(5));
    s.Twain.MultiPageFormat = int16_t(pick(1));
    s.Capture.Mode = int16_t(pick(2));
    s.Screensaver.ProcessTasks = s.SlideShow.ProcessTasks = s.Greeting.ProcessTasks =
        uint8_t(pick(1));
}

struct TextSetter {
    QString text;
    template <class T> void operator()(T&) {}
    void operator()(QString& v) { v = text; }
};

void setEveryText(typSetup& s, const QString& text) {
    TextSetter texts{text};
    visitSetup(texts, s);
}

void setColours(typSetup& s, OleColor colour) {
    typTaskDefaults& t = s.TaskDefaults;
    for (OleColor* c :
         {&s.SaveOptions.Formats.GIF.TransparentColor, &s.SaveOptions.Formats.PNG.TransparentColor,
          &t.CanvasColor, &t.RotateColor, &t.Text.BackColor, &t.Text.ForeColor,
          &t.Watermark.TransparentColor, &t.Frame.Color, &s.SlideShow.BackColor})
        *c = colour;
}

const std::vector<Edge>& edges() {
    static const std::vector<Edge> rows = {
        {"narrowest columns", [](typSetup& s) { setEveryColumn(s, 0); }},
        {"widest columns", [](typSetup& s) { setEveryColumn(s, 32767); }},
        {"splitters at the near and far limits",
         [](typSetup& s) { s.Splitters = {10, 90, 10, 90}; }},
        {"splitters at the far and near limits",
         [](typSetup& s) { s.Splitters = {90, 10, 90, 10}; }},
        {"smallest thumbnails", [](typSetup& s) { setThumbnails(s, 20); }},
        {"largest thumbnails", [](typSetup& s) { setThumbnails(s, 300); }},
        {"sliders and boxes at their lowest", [](typSetup& s) { setSliders(s, false); }},
        {"sliders and boxes at their highest", [](typSetup& s) { setSliders(s, true); }},
        {"first entry of every choice", [](typSetup& s) { setChoices(s, false); }},
        {"last entry of every choice", [](typSetup& s) { setChoices(s, true); }},
        {"every folder and text empty", [](typSetup& s) { setEveryText(s, QString()); }},
        {"every text long and not ASCII",
         [](typSetup& s) { setEveryText(s, QString(300, QChar(0x5199))); }},
        {"black everywhere", [](typSetup& s) { setColours(s, 0); }},
        {"white everywhere", [](typSetup& s) { setColours(s, rgbOle(255, 255, 255)); }},
        {"the last system colour", [](typSetup& s) { setColours(s, syscolor::InfoBackground); }},
        {"print settings at their lowest",
         [](typSetup& s) { s.Print = {-1, 0, 0, 0, 0, 1, 0.001, 0, false, false}; }},
        {"print settings at their highest",
         [](typSetup& s) {
             s.Print = {int32_t(QPageSize::LastPageSize), 1, 2, 1000, 1000, 999, 1000, 1, true, true};
         }},
        {"values nothing interprets",
         [](typSetup& s) {
             s.MainWindow = {0, INT32_MAX, 255};
             s.SaveOptions.Formats.GIF.Reserved = -1;
             s.SaveOptions.Formats.PNM.Reserved = INT32_MIN;
             s.SaveOptions.Formats.TIFF.Reserved = 77;
             s.BasketList.ReservedBC = s.BasketList.ReservedC0 = -5;
             s.AllowTip = 9;
             s.BatchSave.Confirmed = true;
             s.TaskDefaults.ResizeScale = -32768;
         }},
    };
    return rows;
}

TEST_F(SetupFileTest, ARecordSavedAtTheEdgesOfItsControlsLoadsUnchanged) {
    SetupFile = setupPath();
    for (const Edge& edge : edges()) {
        typSetup saved = fncSetupDefaults();
        edge.change(saved);
        picbasket::Setup = saved;
        subSaveSetup();

        picbasket::Setup = typSetup{};
        subLoadSetup();
        EXPECT_EQ(picbasket::Setup, saved) << edge.name;
        EXPECT_TRUE(QFileInfo::exists(setupPath())) << edge.name;
        EXPECT_EQ(fncSetupRangeFault(saved), QString()) << edge.name;
    }
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(errors.reports().empty());
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
