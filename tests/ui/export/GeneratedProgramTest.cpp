#include "controls/dialogs/FakeDialogBackend.h"
#include "core/Globals.h"
#include "core/setup/modSetup.h"
#include "engine/batch/BasketRows.h"
#include "export/modScreensaver.h"
#include "players/ProgramLayout.h"
#include "tests/common/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

struct Verified {
    int exitCode = -1;
    QString output;
};

// Runs a generated program with "--verify" and no display.
Verified verify(const QString& program) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {QStringLiteral("--verify")});
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll()).trimmed()};
}

QImage fixture(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    for (int x = 0; x < w; ++x)
        image.setPixelColor(x, h / 2, Qt::white);
    return image;
}

// Programs made from the embedded players with the real image preparation.
class GeneratedProgram : public ::testing::Test {
protected:
    void SetUp() override {
        picbasket::Setup = typSetup();
        CancelOperation = false;
        ASSERT_TRUE(fixture(64, 48, Qt::red).save(dir.filePath("red.jpg")));
        ASSERT_TRUE(fixture(40, 60, Qt::green).save(dir.filePath("green.png")));
        rows.addRow({"red.jpg", dir.filePath("red.jpg"), {}});
        rows.addRow({"green.png", dir.filePath("green.png"), {}});
        sources.lvPages = &rows;
    }

    QTemporaryDir dir;
    BasketRows rows;
    GeneratorSources sources;
    test::MessageRecorder messages;
    test::ErrorRecorder errors;
};

} // namespace

TEST_F(GeneratedProgram, SlideShowVerifiesItsImagesIntervalAndColour) {
    FakeDialogBackend dialogs;
    dialogs.chooseFile(dir.filePath("show"));
    SlideShowParams = {0x00FF0000, 2}; // blue
    int16_t quality = 80;
    uint8_t tasks = 0;
    MkSlideShow(sources, quality, tasks);
    ASSERT_TRUE(errors.reports().empty()) << errors.reports()[0].description.toStdString();
    const QString program = dir.filePath("show.run");
    ASSERT_TRUE(QFileInfo(program).isExecutable());
    const Verified run = verify(program);
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(run.output, "images=2 interval=2 color=0000FF");
}

TEST_F(GeneratedProgram, ScreensaverAndGreetingVerify) {
    const QString saverTemplate = fncGetExtractPluginPath("SCREENSAVER");
    ASSERT_FALSE(saverTemplate.isEmpty());
    subGenerateScreenSaver(sources, saverTemplate, dir.filePath("basket.scr"), true);
    EXPECT_EQ(verify(dir.filePath("basket.scr")).output, "images=2 interval=5 color=000000");

    const QString greetingTemplate = fncGetExtractPluginPath("GREETING");
    int16_t quality = 60;
    uint8_t tasks = 0;
    subMakeSingleScreensaver(sources, greetingTemplate, dir.filePath("hello.run"),
                             dir.filePath("green.png"), quality, tasks, true);
    const Verified run = verify(dir.filePath("hello.run"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "images=1 interval=0 color=000000");
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(GeneratedProgram, DamagedProgramsExitWithAFault) {
    const QString saverTemplate = fncGetExtractPluginPath("SCREENSAVER");
    const QString program = dir.filePath("basket.scr");
    subGenerateScreenSaver(sources, saverTemplate, program, true);
    QFile file(program);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    layout::ProgramContent content;
    QString error;
    ASSERT_TRUE(layout::fncReadProgramContent(whole, content, error));

    // A trailer whose magic is gone.
    file.seek(whole.size() - 15);
    file.write("\x09", 1);
    // An executable open for writing cannot be started.
    file.close();
    Verified run = verify(program);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.output.contains("trailer")) << run.output.toStdString();

    // A JPEG that no longer decodes.
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(whole.size() - 15);
    file.write("\x08", 1);
    file.seek(content.images[1].offset);
    file.write(QByteArray(int(content.images[1].length), 'x'));
    file.close();
    run = verify(program);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.output.contains("green.png")) << run.output.toStdString();
}
