#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/ScreenTwips.h"
#include "core/setup/SetupCodec.h"
#include "core/setup/SetupLayout.h"
#include "core/setup/SetupRanges.h"
#include "core/setup/modSetup.h"
#include "tests/common/TestSupport.h"
#include "tests/core/setup/SetupBytes.h"

#include <QFile>
#include <QFileInfo>
#include <functional>
#include <QPageSize>
#include <cmath>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A valid record whose last string (Capture.Folder) is "abc": truncating it or
// raising its length field gives the damaged files below.
QByteArray validRecord() {
    typSetup record;
    record.Capture.Folder = QStringLiteral("abc");
    return encodeSetup(record);
}

QByteArray withLastLength(int length) {
    QByteArray bytes = validRecord();
    // The length field stands before "abc", Greeting (3 bytes) and Print (42 bytes).
    const qsizetype lengthAt = bytes.size() - 42 - 3 - 3 - 2;
    bytes[lengthAt] = char(length & 0xFF);
    bytes[lengthAt + 1] = char(length >> 8);
    return bytes;
}

struct Damage {
    const char* name;
    QByteArray bytes;
    // For a record that reads whole: the member its fault names.
    const char* faultyMember = nullptr;
};

// The defaults with one member set to a value the program never stores.
Damage outOfRange(const char* name, const char* member, const std::function<void(typSetup&)>& change) {
    typSetup record = fncSetupDefaults();
    change(record);
    return {name, encodeSetup(record), member};
}

struct Zero {
    template <class T> void operator()(T& v) { v = T{}; }
};

// Every number 0, every truth value false, every string empty.
QByteArray blankRecord() {
    Zero zero;
    typSetup record;
    visitSetup(zero, record);
    return encodeSetup(record);
}

std::vector<Damage> damagedFiles() {
    const QByteArray valid = validRecord();
    return {
        {"empty", QByteArray()},
        {"one byte", QByteArray(1, '\x03')},
        {"shorter than the fixed part", valid.left(setupLayoutSize().minimumFileSize() - 1)},
        {"cut inside the last member", valid.left(valid.size() - 1)},
        {"last string length past the end", withLastLength(4)},
        {"first string length past the end", QByteArray("\xFF\xFFtif", 5)},
        {"huge string length in a short file", withLastLength(0xFFFF)},
        {"470 zero bytes", QByteArray(470, '\0'), "every number"},
        {"a record of zeros and empty strings", blankRecord(), "every number"},
        outOfRange("thumbnail width below 20", "FolderList.ThumbnailWidth",
                   [](typSetup& s) { s.FolderList.ThumbnailWidth = 5; }),
        outOfRange("basket thumbnail height above 300", "BasketList.ThumbnailHeight",
                   [](typSetup& s) { s.BasketList.ThumbnailHeight = 301; }),
        outOfRange("negative column width", "FolderList.ColumnWidth",
                   [](typSetup& s) { s.FolderList.ColumnWidth[7] = -40; }),
        outOfRange("negative metadata column", "MetadataLists.IptcColumnWidth",
                   [](typSetup& s) { s.MetadataLists.IptcColumnWidth[1] = -1; }),
        outOfRange("splitter below its limit", "Splitters.View",
                   [](typSetup& s) { s.Splitters.View = 9; }),
        outOfRange("splitter above its limit", "Splitters.Main",
                   [](typSetup& s) { s.Splitters.Main = 91; }),
        outOfRange("TIFF compression past the list", "SaveOptions.Formats.TIFF.Compression",
                   [](typSetup& s) { s.SaveOptions.Formats.TIFF.Compression = 7; }),
        outOfRange("JPEG quality 0", "SaveOptions.Formats.JPG.Quality",
                   [](typSetup& s) { s.SaveOptions.Formats.JPG.Quality = 0; }),
        outOfRange("negative naming mode", "BatchSave.NameMode",
                   [](typSetup& s) { s.BatchSave.NameMode = -3; }),
        outOfRange("batch rate 26", "BatchSave.Rate", [](typSetup& s) { s.BatchSave.Rate = 26; }),
        outOfRange("print scale past the list", "Print.P88", [](typSetup& s) { s.Print.P88 = 3; }),
        outOfRange("no copies", "Print.P8A", [](typSetup& s) { s.Print.P8A = 0; }),
        outOfRange("negative print offset", "Print.P85", [](typSetup& s) { s.Print.P85 = -0.5; }),
        outOfRange("print percent of no number", "Print.P8B",
                   [](typSetup& s) { s.Print.P8B = std::nan(""); }),
        outOfRange("custom page size", "Print.P87",
                   [](typSetup& s) { s.Print.P87 = int32_t(QPageSize::Custom); }),
        outOfRange("check box holding 2", "BatchSave.Overwrite",
                   [](typSetup& s) { s.BatchSave.Overwrite = 2; }),
        outOfRange("preview type past the menu", "Preview.Type",
                   [](typSetup& s) { s.Preview.Type = 2; }),
        outOfRange("view mode of no view", "FolderList.ViewMode",
                   [](typSetup& s) { s.FolderList.ViewMode = 1; }),
        outOfRange("text position past the list", "TaskDefaults.Text.Position",
                   [](typSetup& s) { s.TaskDefaults.Text.Position = 10; }),
        outOfRange("font size above the box", "TaskDefaults.Text.FontSize",
                   [](typSetup& s) { s.TaskDefaults.Text.FontSize = 201; }),
        outOfRange("blur level 0", "TaskDefaults.BlurLevel",
                   [](typSetup& s) { s.TaskDefaults.BlurLevel = 0; }),
        outOfRange("shadow past the pictures", "TaskDefaults.ShadowStyle",
                   [](typSetup& s) { s.TaskDefaults.ShadowStyle = 8; }),
        outOfRange("no colour", "TaskDefaults.Frame.Color",
                   [](typSetup& s) { s.TaskDefaults.Frame.Color = 0x12345678u; }),
        outOfRange("capture mode past the options", "Capture.Mode",
                   [](typSetup& s) { s.Capture.Mode = 3; }),
        outOfRange("scan format past the list", "Twain.SinglePageFormat",
                   [](typSetup& s) { s.Twain.SinglePageFormat = 6; }),
        outOfRange("slide interval of two digits", "SlideShow.Interval",
                   [](typSetup& s) { s.SlideShow.Interval = 10; }),
    };
}

} // namespace

TEST(SetupFileCorrupt, DamagedFileIsReportedDeletedAndReplacedByTheDefaults) {
    overrideTwipsPerPixel(15, 15);
    for (const Damage& damage : damagedFiles()) {
        test::TempAppFolder app;
        test::MessageRecorder messages;
        test::ErrorRecorder errors;
        const QString path = app.file(QStringLiteral("picbasket.setup"));
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << damage.name;
            file.write(damage.bytes);
        }
        picbasket::Setup = typSetup{};
        picbasket::Setup.Splitters.Main = 10;

        if (damage.faultyMember) {
            typSetup read;
            ASSERT_TRUE(decodeSetup(damage.bytes, read)) << damage.name;
            EXPECT_TRUE(fncSetupRangeFault(read).startsWith(QLatin1String(damage.faultyMember)))
                << damage.name << ": " << fncSetupRangeFault(read).toStdString();
        }

        subLoadSetup();

        ASSERT_EQ(messages.shown().size(), 1u) << damage.name;
        const MessageRequest& shown = messages.shown()[0];
        EXPECT_EQ(shown.text, QStringLiteral("Configuration data file is corrupted\r\n"
                                             "Setting values will be initilized to default"));
        EXPECT_EQ(shown.style & 0x70, mb::Exclamation) << damage.name;
        EXPECT_EQ(shown.title, ApplicationTitle);
        EXPECT_FALSE(QFileInfo::exists(path)) << damage.name;
        EXPECT_EQ(picbasket::Setup, fncSetupDefaults()) << damage.name;
        EXPECT_TRUE(errors.reports().empty()) << damage.name;
    }
    resetTwipsPerPixel();
    picbasket::Setup = typSetup{};
}

TEST(SetupFileCorrupt, TheUndamagedFixtureLoads) {
    typSetup read;
    ASSERT_TRUE(decodeSetup(validRecord(), read));
    EXPECT_EQ(read.Capture.Folder, QStringLiteral("abc"));
    EXPECT_EQ(withLastLength(3), validRecord()) << "the length field is found where it is";
}
