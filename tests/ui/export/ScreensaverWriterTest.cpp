#include "controls/dialogs/FakeDialogBackend.h"
#include "core/Globals.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "engine/batch/BasketRows.h"
#include "engine/batch/ProgressIndicator.h"
#include "export/modScreensaver.h"
#include "players/ProgramLayout.h"
#include "tests/common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The wait dialog as a list of what it was told; `onMessage` may act on a row.
class RecordingWait : public GeneratorWait, public ProgressIndicator {
public:
    void showWaiting() override { log << "show"; }
    void setStatus(const QString& text) override { log << "status " + text; }
    void setMessage(const QString& text) override {
        log << "message " + text;
        if (onMessage)
            onMessage(text);
    }
    ProgressIndicator& progress() override { return *this; }
    void closeWaiting() override { log << "close"; }
    void setMaximum(int maximum) override { log << QStringLiteral("max %1").arg(maximum); }
    void setValue(int value) override { log << QStringLiteral("value %1").arg(value); }
    void setVisible(bool visible) override { log << (visible ? "bar shown" : "bar hidden"); }

    QStringList log;
    std::function<void(const QString&)> onMessage;
};

// Writers fed with a template and JPEG bytes of chosen sizes: the preparer writes
// the bytes of each image's file (the file's own bytes, so each is recognisable)
// to the temporary JPEG the real one would write.
class ScreensaverWriter : public ::testing::Test {
protected:
    void SetUp() override {
        picbasket::Setup = typSetup();
        CancelOperation = false;
        templatePath = dir.filePath("plugin-template");
        writeBytes(templatePath, QByteArray(1000, 'T'));
        previousPreparer =
            setImagePreparer([this](const GeneratorSources&, ImageBox&, const QString& imagePath,
                                    int number, int16_t& quality, uint8_t& tasks) {
                prepared << QStringLiteral("%1 %2 q%3 t%4")
                                .arg(QFileInfo(imagePath).fileName())
                                .arg(number)
                                .arg(quality)
                                .arg(tasks);
                const QByteArray bytes = fileBytes(imagePath);
                if (bytes.isEmpty())
                    return QString();
                const QString jpeg = fncGetTempPath() + QStringLiteral("temp000%1.jpg").arg(number);
                writeBytes(jpeg, bytes);
                return jpeg;
            });
        previousSource = setPluginSource(
            [](const QString& name) { return QByteArray(100, 'P') + name.toLatin1(); });
        sources.lvPages = &rows;
        sources.wait = &wait;
    }
    void TearDown() override {
        setImagePreparer(previousPreparer);
        setPluginSource(previousSource);
    }

    // A basket row whose file holds `size` bytes of `fill`; size 0 names a file that
    // does not exist.
    void addRow(const QString& name, int size, char fill) {
        const QString path = dir.filePath(name);
        if (size > 0)
            writeBytes(path, QByteArray(size, fill));
        rows.addRow({name, path, {}});
    }

    layout::ProgramContent read(const QString& path) {
        layout::ProgramContent content;
        QString error;
        EXPECT_TRUE(layout::fncReadProgramContent(fileBytes(path), content, error))
            << error.toStdString();
        return content;
    }

    QTemporaryDir dir;
    QString templatePath;
    QStringList prepared;
    BasketRows rows;
    RecordingWait wait;
    GeneratorSources sources;
    test::MessageRecorder messages;
    test::ErrorRecorder errors;
    ImagePreparer previousPreparer;
    PluginSource previousSource;
};

} // namespace

TEST_F(ScreensaverWriter, SingleImageProgramHasTheExactLayoutAndIsExecutable) {
    const QString image = dir.filePath("photo.jpg");
    writeBytes(image, QByteArray(5000, 'J'));
    const QString output = dir.filePath("single.scr");
    int16_t quality = 77;
    uint8_t tasks = 0;
    subMakeSingleScreensaver(sources, templatePath, output, image, quality, tasks, true);

    const QByteArray file = fileBytes(output);
    QByteArray expected = QByteArray(1000, 'T') + '\0' + QByteArray(5000, 'J') + '\0';
    expected += "Single;1001;5000;\r\n";
    expected += '\0';
    expected += QByteArray("\x08\x00\x0B\x00"
                           "6002      "
                           "\x00",
                           15);
    EXPECT_EQ(file, expected);
    EXPECT_EQ(prepared, QStringList{"photo.jpg 1 q77 t0"});
    EXPECT_TRUE(QFileInfo(output).isExecutable());
    // rwxr-xr-x
    EXPECT_EQ(int(QFileInfo(output).permissions()) & 0x7077, 0x7055);
    EXPECT_EQ(fileBytes(fncGetTempPath() + "ImageExe.lst"), "Single;1001;5000;\r\n");
    EXPECT_FALSE(QFile::exists(fncGetTempPath() + "temp0001.jpg"));
    EXPECT_TRUE(errors.reports().empty());
    // Nothing but the output is left in its folder (no temporary name).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

TEST_F(ScreensaverWriter, ImageThatCannotBePreparedLeavesNoFile) {
    const QString output = dir.filePath("single.run");
    int16_t quality = 80;
    uint8_t tasks = 1;
    subMakeSingleScreensaver(sources, templatePath, output, dir.filePath("gone.jpg"), quality,
                             tasks, true);
    EXPECT_FALSE(QFile::exists(output));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.contains("could not be prepared"));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(ScreensaverWriter, ReplacingAnExistingFileIsAskedAndNoKeepsIt) {
    const QString image = dir.filePath("photo.jpg");
    writeBytes(image, QByteArray(50, 'J'));
    const QString output = dir.filePath("old.scr");
    writeBytes(output, "old");
    int16_t quality = 80;
    uint8_t tasks = 1;
    messages.answerNext(mb::No);
    subMakeSingleScreensaver(sources, templatePath, output, image, quality, tasks, true);
    EXPECT_EQ(fileBytes(output), "old");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              "This File ('" + output + "') Already Exists!\r\nWould You Like To Replace It?");
    EXPECT_EQ(messages.shown()[0].style, mb::YesNo + mb::Question);
    EXPECT_TRUE(prepared.isEmpty());

    messages.answerNext(mb::Yes);
    subMakeSingleScreensaver(sources, templatePath, output, image, quality, tasks, true);
    EXPECT_EQ(read(output).images.size(), 1);
    // Without asking, the old file is replaced at once.
    subMakeSingleScreensaver(sources, templatePath, output, image, quality, tasks, false);
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(read(output).images.size(), 1);
}

TEST_F(ScreensaverWriter, BasketScreensaverSkipsMissingFilesAndHasNoOptions) {
    addRow("one.jpg", 300, 'A');
    addRow("missing.jpg", 0, 'B');
    addRow("three;x.jpg", 200, 'C');
    picbasket::Setup.Screensaver.Quality = 55;
    picbasket::Setup.Screensaver.ProcessTasks = 0;
    const QString output = dir.filePath("basket.scr");
    subGenerateScreenSaver(sources, templatePath, output, true);

    const layout::ProgramContent content = read(output);
    ASSERT_EQ(content.images.size(), 2);
    EXPECT_EQ(content.images[0].name, "one.jpg");
    EXPECT_EQ(content.images[0].offset, 1001);
    EXPECT_EQ(content.images[1].name, "three;x.jpg");
    EXPECT_EQ(content.images[1].offset, 1001 + 300 + 1);
    EXPECT_EQ(fileBytes(output).mid(content.images[1].offset, 200), QByteArray(200, 'C'));
    EXPECT_FALSE(content.hasOptions);
    EXPECT_FALSE(fileBytes(output).contains("OPTIONS;"));
    EXPECT_EQ(prepared, (QStringList{"one.jpg 1 q55 t0", "three;x.jpg 3 q55 t0"}));
    EXPECT_EQ(wait.log,
              (QStringList{"show", "status Loading Template...", "bar hidden", "max 3", "value 0",
                           "bar shown", "message one.jpg", "value 1", "message missing.jpg",
                           "value 2", "message three;x.jpg", "value 3", "status Saving Options...",
                           "bar hidden", "close"}));
}

TEST_F(ScreensaverWriter, CancelMidRunLeavesAValidFileAndClearsTheFlag) {
    addRow("one.jpg", 30, 'A');
    addRow("two.jpg", 40, 'B');
    addRow("three.jpg", 50, 'C');
    wait.onMessage = [](const QString& row) {
        if (row == "two.jpg")
            CancelOperation = true;
    };
    const QString output = dir.filePath("cancelled.scr");
    subGenerateScreenSaver(sources, templatePath, output, true);
    const layout::ProgramContent content = read(output);
    ASSERT_EQ(content.images.size(), 1);
    EXPECT_EQ(content.images[0].name, "one.jpg");
    EXPECT_FALSE(CancelOperation);
    EXPECT_EQ(wait.log.last(), "close");
}

TEST_F(ScreensaverWriter, SlideShowAsksForARunFileAndNoAsksAgain) {
    addRow("one.jpg", 70, 'A');
    addRow("two.jpg", 30, 'B');
    const QString existing = dir.filePath("show.run");
    writeBytes(existing, "old");
    FakeDialogBackend dialogs;
    dialogs.chooseFile(existing);
    dialogs.chooseFile(dir.filePath("fresh"));
    messages.answerNext(mb::No);
    SlideShowParams = {0x00FF0000, 2};
    int16_t quality = 90;
    uint8_t tasks = 1;
    MkSlideShow(sources, quality, tasks);

    ASSERT_EQ(dialogs.fileRequests().size(), 2u);
    EXPECT_EQ(dialogs.fileRequests()[0].title, "Save Slide As...");
    EXPECT_TRUE(dialogs.fileRequests()[0].nameFilters.value(0).endsWith("(*.run)"));
    EXPECT_EQ(messages.shown()[0].text,
              "This File ('" + existing + "') Already Exists!\r\nWould You Like To Overwrite It?");
    EXPECT_EQ(fileBytes(existing), "old");
    const QString output = dir.filePath("fresh.run");
    const layout::ProgramContent content = read(output);
    ASSERT_EQ(content.images.size(), 2);
    const int64_t second = 100 + 9 + 1 + 70 + 1; // the template is 100 bytes and "SLIDESHOW"
    EXPECT_EQ(content.images[0].offset, 110);
    EXPECT_EQ(content.images[1].offset, second);
    ASSERT_TRUE(content.hasOptions);
    EXPECT_EQ(content.options.backColor, 0x00FF0000);
    EXPECT_EQ(content.options.interval, 2);
    EXPECT_EQ(content.listOffset, second + 30 + 1 + 6);
    EXPECT_TRUE(fileBytes(output).startsWith(QByteArray(100, 'P') + "SLIDESHOW"));
    EXPECT_FALSE(QFile::exists(fncGetTempPath() + "plugin.tmp"));
    EXPECT_EQ(prepared, (QStringList{"one.jpg 1 q90 t1", "two.jpg 2 q90 t1"}));
    EXPECT_TRUE(wait.log.contains("status Loading plugin..."));
}

TEST_F(ScreensaverWriter, CancelledSlideShowDialogWritesNothing) {
    addRow("one.jpg", 70, 'A');
    FakeDialogBackend dialogs;
    int16_t quality = 90;
    uint8_t tasks = 1;
    MkSlideShow(sources, quality, tasks);
    EXPECT_EQ(dialogs.fileRequests().size(), 1u);
    EXPECT_TRUE(wait.log.isEmpty());
    EXPECT_TRUE(prepared.isEmpty());
}

TEST_F(ScreensaverWriter, TemplateExtractionWritesThePluginAndSetsTheActivity) {
    const QString path = fncGetExtractPluginPath("GREETING");
    EXPECT_EQ(path, fncGetTempPath() + "plugin.tmp");
    EXPECT_EQ(fileBytes(path), QByteArray(100, 'P') + "GREETING");
    EXPECT_EQ(CurrentActivity, "Extracting plugin 'GREETING' from resource file");
}
