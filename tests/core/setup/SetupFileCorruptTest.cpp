#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/ScreenTwips.h"
#include "core/setup/SetupCodec.h"
#include "core/setup/modSetup.h"
#include "tests/common/TestSupport.h"
#include "tests/core/setup/SetupBytes.h"

#include <QFile>
#include <QFileInfo>
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
};

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
