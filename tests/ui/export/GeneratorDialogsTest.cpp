#include "controls/dialogs/FakeDialogBackend.h"
#include "core/setup/modSetup.h"
#include "editing/ColorButton.h"
#include "export/frmGreetingDemo.h"
#include "export/frmScreensaverDemo.h"
#include "export/frmSlideShow.h"
#include "export/modScreensaver.h"
#include "shell/dialogs/frmAbout.h"
#include "tests/common/TestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// Types into the box as a user would, then moves the focus away.
void typeAndLeave(QWidget& dialog, QLineEdit* box, const QString& text) {
    dialog.show();
    box->setFocus();
    QApplication::processEvents();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
    box->clearFocus();
    QApplication::processEvents();
}

class GeneratorDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        picbasket::Setup = typSetup();
        previousSource = setPluginSource([](const QString&) { return QByteArray(10, 'P'); });
        previousPreparer =
            setImagePreparer([this](const GeneratorSources&, ImageBox&, const QString& path, int,
                                    int16_t& quality, uint8_t& tasks) {
                prepared << QStringLiteral("%1 q%2 t%3").arg(path).arg(quality).arg(tasks);
                return QString();
            });
        sources.previewedFile = QStringLiteral("/photos/shown.jpg");
    }
    void TearDown() override {
        setPluginSource(previousSource);
        setImagePreparer(previousPreparer);
    }

    GeneratorSources sources;
    QStringList prepared;
    test::MessageRecorder messages;
    test::ErrorRecorder errors;
    PluginSource previousSource;
    ImagePreparer previousPreparer;
    QTemporaryDir dir;
};

} // namespace

TEST_F(GeneratorDialogs, SlideShowIntervalIsOneDigitFromOneToNine) {
    picbasket::Setup.SlideShow.Interval = 4;
    frmSlideShow dialog(sources);
    EXPECT_EQ(dialog.txtInterval->text(), "4");
    EXPECT_EQ(dialog.txtInterval->maxLength(), 1);
    // The spin's upper arrow raises the number.
    dialog.vsInterval->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(dialog.txtInterval->text(), "5");
    const struct {
        const char* typed;
        const char* left;
    } cases[] = {{"0", "1"}, {"", "3"}, {"7", "7"}, {"x", "7"}};
    for (const auto& c : cases) {
        typeAndLeave(dialog, dialog.txtInterval, QString::fromLatin1(c.typed));
        EXPECT_EQ(dialog.txtInterval->text(), c.left) << c.typed;
    }
}

TEST_F(GeneratorDialogs, SlideShowLoadsAndStoresItsBlock) {
    picbasket::Setup.SlideShow = {0x00123456, 6, 0, 42};
    frmSlideShow dialog(sources);
    EXPECT_EQ(dialog.cmdPageBackgroundColor->BackColor(), 0x00123456u);
    EXPECT_EQ(dialog.sldQuality->value(), 42);
    EXPECT_EQ(dialog.lblQuality->text(), "42");
    EXPECT_FALSE(dialog.chkProcessEditingList->isChecked());
    dialog.sldQuality->setValue(70);
    EXPECT_EQ(dialog.lblQuality->text(), "70");

    FakeDialogBackend dialogs;
    dialogs.chooseColor(0x00FF0000);
    dialog.cmdPageBackgroundColor_Click();
    EXPECT_EQ(dialog.cmdPageBackgroundColor->BackColor(), 0x00FF0000u);
    dialogs.cancelColor();
    dialog.cmdPageBackgroundColor_Click();
    EXPECT_EQ(dialog.cmdPageBackgroundColor->BackColor(), 0x00FF0000u);

    dialog.txtInterval->setText("2");
    dialog.chkProcessEditingList->setChecked(true);
    dialog.cmdCreate_Click(); // the Save dialog is cancelled: nothing is written
    EXPECT_EQ(picbasket::Setup.SlideShow.BackColor, 0x00FF0000u);
    EXPECT_EQ(picbasket::Setup.SlideShow.Interval, 2);
    EXPECT_EQ(picbasket::Setup.SlideShow.Quality, 70);
    EXPECT_EQ(picbasket::Setup.SlideShow.ProcessTasks, 1);
    EXPECT_EQ(SlideShowParams.BackColor, 0x00FF0000u);
    EXPECT_EQ(SlideShowParams.Interval, 2);
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(dialogs.fileRequests()[0].title, "Save Slide As...");
}

TEST_F(GeneratorDialogs, ScreensaverNameGetsScrUnlessItEndsInItInAnyCase) {
    const struct {
        const char* chosen;
        const char* written;
    } cases[] = {{"name", "name.scr"}, {"name.SCR", "name.SCR"}, {"a.scr.txt", "a.scr.txt.scr"}};
    for (const auto& c : cases) {
        FakeDialogBackend dialogs;
        dialogs.chooseFile(dir.filePath(c.chosen));
        frmScreensaverDemo dialog(sources);
        dialog.lngGenerateMode = 0;
        dialog.cmdGenerate_Click();
        ASSERT_EQ(dialogs.fileRequests().size(), 1u);
        EXPECT_EQ(dialogs.fileRequests()[0].title, "Save as single-image screensaver");
        EXPECT_EQ(dialogs.fileRequests()[0].nameFilters.size(), 1);
        EXPECT_TRUE(
            dialogs.fileRequests()[0].nameFilters[0].startsWith("Screensaver file (*.scr)"));
        // The preparer refuses, so the writer says so and names no file.
        ASSERT_FALSE(messages.shown().empty());
        EXPECT_TRUE(messages.shown().back().text.contains("/photos/shown.jpg")) << c.chosen;
        EXPECT_FALSE(QFile::exists(dir.filePath(c.written)));
    }
    EXPECT_EQ(prepared.size(), 3);
}

TEST_F(GeneratorDialogs, GenerateStoresTheBlockAndExitKeepsIt) {
    picbasket::Setup.Greeting.Quality = 33;
    {
        frmGreetingDemo dialog(sources);
        EXPECT_EQ(dialog.sldQuality->value(), 33);
        EXPECT_EQ(dialog.tTransition->text(), "33");
        EXPECT_EQ(dialog.lstTemplate->currentItem()->text(), "Fireworks!");
        dialog.sldQuality->setValue(90);
        EXPECT_EQ(dialog.tTransition->text(), "90");
        dialog.cmdCancel->click();
    }
    EXPECT_EQ(picbasket::Setup.Greeting.Quality, 33);

    FakeDialogBackend dialogs;
    dialogs.chooseFile(dir.filePath("hello"));
    frmGreetingDemo dialog(sources);
    dialog.sldQuality->setValue(90);
    dialog.chkProcessTaskBasket->setChecked(false);
    dialog.cmdGenerate_Click();
    EXPECT_EQ(picbasket::Setup.Greeting.Quality, 90);
    EXPECT_EQ(picbasket::Setup.Greeting.ProcessTasks, 0);
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(dialogs.fileRequests()[0].title, "Save as greeting image");
    EXPECT_EQ(prepared, QStringList{"/photos/shown.jpg q90 t0"});
}

TEST_F(GeneratorDialogs, QualityBoxFallsBackToOneAndClampsToAHundred) {
    frmScreensaverDemo dialog(sources);
    typeAndLeave(dialog, dialog.tTransition, "");
    EXPECT_EQ(dialog.tTransition->text(), "1");
    typeAndLeave(dialog, dialog.tTransition, "250");
    EXPECT_EQ(dialog.tTransition->text(), "100");
    EXPECT_EQ(dialog.sldQuality->value(), 100);
}

TEST_F(GeneratorDialogs, TheLinkOpensTheAboutBoxAddress) {
    QStringList opened;
    frmScreensaverDemo dialog(sources, nullptr, [&](const QString& address) {
        opened << address;
        return true;
    });
    dialog.show();
    QTest::mouseClick(dialog.lblCorvane, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{frmAbout::webPage()});
}
