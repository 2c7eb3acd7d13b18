#include "controls/common/NumberGroup.h"
#include "controls/dialogs/FakeDialogBackend.h"
#include "core/setup/modSetup.h"
#include "export/frmSaveDialogExtensionAllFormats.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

typFormatOptions& formats() {
    return picbasket::Setup.SaveOptions.Formats;
}

class SaveOptionsPanelTest : public ::testing::Test {
protected:
    void SetUp() override { picbasket::Setup = fncSetupDefaults(); }
    void TearDown() override { picbasket::Setup = fncSetupDefaults(); }
};

} // namespace

TEST_F(SaveOptionsPanelTest, FillsFromTheStoredOptionsWithEveryFrameHidden) {
    typSaveOptions& o = picbasket::Setup.SaveOptions;
    o.Formats.GIF = {1, 1, rgbOle(1, 2, 3), 1};
    o.Formats.PNG = {1, 0, rgbOle(4, 5, 6)};
    o.Formats.JPG = {1, 33, 1};
    o.Formats.JPEG2000 = {0, 7};
    o.Formats.PNM.Format = 0;
    o.Formats.TIFF.Compression = 4;
    o.AppendMode = 1;
    o.OutputMode = 1;
    const typSaveOptions before = o;

    frmSaveDialogExtensionAllFormats panel;
    EXPECT_TRUE(panel.optGIFCompression[1]->isChecked());
    EXPECT_TRUE(panel.chkGIFTransparent->isChecked());
    EXPECT_TRUE(panel.cmdGIFTransparentColor->isEnabled());
    EXPECT_EQ(frmSaveDialogExtensionAllFormats::buttonColor(panel.cmdGIFTransparentColor),
              rgbOle(1, 2, 3));
    EXPECT_TRUE(panel.optPNGColorDepth[1]->isChecked());
    EXPECT_FALSE(panel.cmdPNGtransprentColor->isEnabled());
    EXPECT_TRUE(panel.optJPGColorDepth[1]->isChecked());
    EXPECT_TRUE(panel.optJPGEncoding[1]->isChecked());
    EXPECT_EQ(panel.sldJPGQuality->value(), 33);
    EXPECT_EQ(panel.txtJPGQuality->text(), "33");
    EXPECT_TRUE(panel.optJPG2000Compression[0]->isChecked());
    EXPECT_TRUE(panel.picFrameJPG2000Lossy->isHidden());
    EXPECT_EQ(panel.txtJPG2000Compression->text(), "7");
    EXPECT_EQ(panel.jpeg2000Rate()->spinValue(), 7);
    EXPECT_TRUE(panel.optPNMFormat[0]->isChecked());
    EXPECT_EQ(panel.cboTIFFCompression->currentIndex(), 4);
    EXPECT_EQ(panel.cboTIFFCompression->count(), 7);
    EXPECT_EQ(panel.cboTIFFCompression->itemText(3), "CCITT Group 3 Fax");
    EXPECT_EQ(panel.cboAppendMode->currentText(), "End of file");
    EXPECT_EQ(panel.cboOutputMode->currentText(), "New File");
    EXPECT_EQ(picbasket::Setup.SaveOptions, before) << "filling the panel changes no option";
    for (QWidget* frame : {panel.picFrameGIF, panel.picFramePNG, panel.picFrameJPG,
                           panel.picFrameJPG2000, panel.picFramePNM, panel.picFrameTiff,
                           panel.picFrameTiffOnly})
        EXPECT_TRUE(frame->isHidden()) << frame->objectName().toStdString();
    EXPECT_EQ(panel.picFrameJPG->geometry(), QRect(8, 0, 400, 70));
}

TEST_F(SaveOptionsPanelTest, EachControlStoresItsOptionAtOnce) {
    frmSaveDialogExtensionAllFormats panel;
    const struct {
        const char* what;
        std::function<void()> act;
        std::function<int()> stored;
        int expected;
    } rows[] = {
        {"GIF LZW", [&] { panel.optGIFCompression[1]->setChecked(true); },
         [] { return int(formats().GIF.Compression); }, 1},
        {"GIF transparent", [&] { panel.chkGIFTransparent->setChecked(true); },
         [] { return int(formats().GIF.Transparent); }, 1},
        {"PNG 8bit", [&] { panel.optPNGColorDepth[1]->setChecked(true); },
         [] { return int(formats().PNG.ColorDepth); }, 1},
        {"PNG transparent", [&] { panel.chkPNGTransparent->setChecked(true); },
         [] { return int(formats().PNG.Transparent); }, 1},
        {"JPEG 8bit", [&] { panel.optJPGColorDepth[1]->setChecked(true); },
         [] { return int(formats().JPG.ColorDepth); }, 1},
        {"JPEG progressive", [&] { panel.optJPGEncoding[1]->setChecked(true); },
         [] { return int(formats().JPG.Encoding); }, 1},
        {"JPEG quality slider", [&] { panel.sldJPGQuality->setValue(30); },
         [] { return int(formats().JPG.Quality); }, 30},
        {"JPEG quality spin up", [&] {
             panel.txtJPGQualityD->triggerAction(QAbstractSlider::SliderSingleStepSub);
         },
         [] { return int(formats().JPG.Quality); }, 31},
        {"JPEG 2000 lossless", [&] { panel.optJPG2000Compression[0]->setChecked(true); },
         [] { return int(formats().JPEG2000.Lossy); }, 0},
        {"JPEG 2000 rate", [&] { panel.sldJPEG2000Compression->setValue(12); },
         [] { return int(formats().JPEG2000.Rate); }, 12},
        {"PNM raw", [&] { panel.optPNMFormat[0]->setChecked(true); },
         [] { return int(formats().PNM.Format); }, 0},
        {"TIFF LZW", [&] { panel.cboTIFFCompression->setCurrentIndex(4); },
         [] { return int(formats().TIFF.Compression); }, 4},
        {"append at end", [&] { panel.cboAppendMode->setCurrentIndex(1); },
         [] { return int(picbasket::Setup.SaveOptions.AppendMode); }, 1},
        {"new file", [&] { panel.cboOutputMode->setCurrentIndex(1); },
         [] { return int(picbasket::Setup.SaveOptions.OutputMode); }, 1},
    };
    for (const auto& r : rows) {
        r.act();
        EXPECT_EQ(r.stored(), r.expected) << r.what;
    }
    EXPECT_TRUE(panel.cmdGIFTransparentColor->isEnabled());
    EXPECT_TRUE(panel.picFrameJPG2000Lossy->isHidden());
    panel.optJPG2000Compression[1]->setChecked(true);
    EXPECT_FALSE(panel.picFrameJPG2000Lossy->isHidden());
    EXPECT_EQ(formats().JPEG2000.Lossy, 1);
}

TEST_F(SaveOptionsPanelTest, QualityBoxClampsOnLeavingAndRefillsWhenEmptied) {
    QWidget window;
    auto* panel = new frmSaveDialogExtensionAllFormats(&window);
    auto* elsewhere = new QLineEdit(&window);
    elsewhere->move(0, 200);
    window.show();
    window.activateWindow();
    panel->picFrameJPG->show();
    QApplication::processEvents();
    formats().JPG.Quality = 80;
    panel->txtJPGQuality->setFocus();
    panel->txtJPGQuality->setText("150");
    elsewhere->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(panel->txtJPGQuality->text(), "100");
    EXPECT_EQ(panel->sldJPGQuality->value(), 100);
    EXPECT_EQ(formats().JPG.Quality, 100);

    panel->txtJPGQuality->setText("");
    EXPECT_EQ(panel->txtJPGQuality->text(), "100") << "the stored quality comes back";

    panel->txtJPG2000Compression->setFocus();
    panel->txtJPG2000Compression->setText("40");
    elsewhere->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(panel->txtJPG2000Compression->text(), "25");
    EXPECT_EQ(formats().JPEG2000.Rate, 25);
}

TEST_F(SaveOptionsPanelTest, ColourButtonsTakeTheChosenColourAndKeepItOnCancel) {
    FakeDialogBackend dialogs;
    frmSaveDialogExtensionAllFormats panel;
    panel.chkPNGTransparent->setChecked(true);
    dialogs.chooseColor(rgbOle(10, 200, 30));
    panel.cmdPNGtransprentColor->click();
    EXPECT_EQ(formats().PNG.TransparentColor, rgbOle(10, 200, 30));
    EXPECT_EQ(frmSaveDialogExtensionAllFormats::buttonColor(panel.cmdPNGtransprentColor),
              rgbOle(10, 200, 30));
    dialogs.cancelColor();
    panel.cmdPNGtransprentColor->click();
    EXPECT_EQ(formats().PNG.TransparentColor, rgbOle(10, 200, 30));

    panel.chkGIFTransparent->setChecked(true);
    dialogs.chooseColor(rgbOle(255, 0, 255));
    panel.cmdGIFTransparentColor->click();
    EXPECT_EQ(formats().GIF.TransparentColor, rgbOle(255, 0, 255));
    ASSERT_EQ(dialogs.colorRequests().size(), 3u);
}
