#include "browser/SelectionController.h"
#include "controls/dialogs/FakeDialogBackend.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "editing/ColorButton.h"
#include "editing/EditImageData.h"
#include "editing/FramePanel.h"
#include "editing/MaskPanel.h"
#include "editing/OptionControls.h"
#include "editing/PictureOptions.h"
#include "editing/RedEyePanel.h"
#include "editing/ShadowPanel.h"
#include "editing/TextPanel.h"
#include "editing/TonePanel.h"
#include "editing/WatermarkPanel.h"
#include "engine/tasks/FrameArtwork.h"
#include "engine/tasks/modFrames.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/Slider.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/ui/editing/EditingWindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <functional>

using namespace picbasket;
using picbasket::test::EditingWindowTest;
using picbasket::test::gradient;
using picbasket::test::rgb;

namespace {

// The edit view on a picture, no task chosen.
class EffectPanelTest : public EditingWindowTest {
protected:
    void SetUp() override {
        EditingWindowTest::SetUp();
        startOn(gradient(120, 80));
    }
    // What the batch makes of the image as loaded with the previewed task as its
    // only row.
    QImage engineResult() const {
        ImageBox box;
        box.setImage(OriginalImageData);
        TaskRowList rows;
        rows.addTask(CurrentTask);
        subProcessPages(nullptr, rows, box, nullptr, true);
        return rgb(box.image());
    }

    QImage shown() const { return rgb(w->previewPane().box()->box().image()); }

    // A small picture file to stamp: a red square with a white border.
    QString logo(const char* name = "logo.png") {
        QImage image(12, 10, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 2; y < 8; ++y)
            for (int x = 2; x < 10; ++x)
                image.setPixel(x, y, qRgb(255, 0, 0));
        const QString path = folder.file(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path));
        return path;
    }

    // Back to the confirmed state, as a new task choice would leave it.
    void dropPreview() {
        w->editView().setImageModified(false);
        w->previewPane().box()->box().setImage(ConfirmedImageData);
    }

};

} // namespace

TEST_F(EffectPanelTest, EveryEffectPreviewsWhatTheEngineMakesOfItsRow) {
    const QString stamp = logo();
    struct Case {
        const char* name;
        const char* key;
        std::function<void(frmMain&)> set;
    };
    const Case cases[] = {
        {"blur", "Blur", [](frmMain& f) { f.editView().blurPanel()->setValue(4); }},
        {"sharpen", "Sharpen", [](frmMain& f) { f.editView().sharpenPanel()->setValue(6); }},
        {"contrast", "Contrast",
         [](frmMain& f) {
             f.editView().contrastPanel()->setValue(85);
             f.editView().contrastPanel()->channel(1)->setChecked(false);
         }},
        {"brightness", "Brightness",
         [](frmMain& f) {
             f.editView().brightnessPanel()->setValue(20);
             f.editView().brightnessPanel()->channel(2)->setChecked(false);
         }},
        {"text", "Text",
         [](frmMain& f) {
             TextPanel* t = f.editView().textPanel();
             t->textBox()->setText(QStringLiteral("Sample"));
             f.editView().textPositionCombo()->setCurrentIndex(4);
             f.editView().fontSizeCombo()->setEditText(QStringLiteral("40"));
             t->alignmentOptions()->select(1);
             t->transparentBox()->setChecked(true);
             t->colourButton()->setBackColor(0x00FFFF00);
         }},
        {"text picked", "Text",
         [](frmMain& f) {
             TextPanel* t = f.editView().textPanel();
             f.editView().textPositionCombo()->setCurrentIndex(9);
             t->angleBox()->setText(QStringLiteral("20"));
             f.previewPane().selection()->TextPointX = 30;
             f.previewPane().selection()->TextPointY = 40;
         }},
        {"watermark", "Watermark",
         [&stamp](frmMain& f) {
             picbasket::Setup.TaskDefaults.Watermark.ImageFile = stamp;
             f.editView().subLoadWatermarkImage(stamp);
             f.editView().mergeStyleCombo()->setCurrentIndex(2);
             f.editView().watermarkPanel()->transparentColourButton()->setBackColor(0x00FFFFFF);
             f.editView().watermarkPanel()->transparencySlider()->setValue(30);
         }},
        {"picture frame", "Frame",
         [](frmMain& f) {
             f.editView().framePanel()->kindOptions()[0]->setChecked(true);
             f.editView().framePanel()->pictureOptions()->select(4);
         }},
        {"colour frame", "Frame",
         [](frmMain& f) {
             f.editView().framePanel()->kindOptions()[1]->setChecked(true);
             f.editView().framePanel()->sizeBox()->setText(QStringLiteral("7"));
             f.editView().backColourButton()->setBackColor(0x000000FF);
         }},
        {"mask", "Mask",
         [](frmMain& f) {
             f.editView().maskPanel()->pictureOptions()->select(3);
             f.editView().maskPanel()->levelSlider()->setValue(20);
         }},
        {"shadow", "Shadow",
         [](frmMain& f) { f.editView().shadowPanel()->pictureOptions()->select(5); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        choose(c.key);
        c.set(*w);
        ASSERT_TRUE(w->editView().taskOptionsChanged());
        ASSERT_TRUE(w->editView().cmdApply_Click());
        EXPECT_TRUE(messages.shown().empty());
        EXPECT_TRUE(errors.reports().empty());
        EXPECT_NE(shown(), rgb(original));
        EXPECT_EQ(shown(), engineResult());
        EXPECT_TRUE(w->editView().imageModified());
        EXPECT_FALSE(w->editView().taskOptionsChanged());
        EXPECT_FALSE(w->editView().applyButton()->isEnabled());
        EXPECT_TRUE(w->editView().resetButton()->isEnabled());
        dropPreview();
    }
}

TEST_F(EffectPanelTest, ToneSlotsHoldTheSliderAndTheChannels) {
    choose("Contrast");
    w->editView().contrastPanel()->setValue(64);
    w->editView().contrastPanel()->channel(0)->setChecked(false);
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_EQ(CurrentTask.Param[1], QStringLiteral("64"));
    EXPECT_EQ(CurrentTask.Param[2], QStringLiteral("0"));
    EXPECT_EQ(CurrentTask.Param[3], QStringLiteral("1"));
    EXPECT_EQ(CurrentTask.Param[4], QStringLiteral("1"));
    EXPECT_TRUE(CurrentTask.Param[5].isEmpty());
    // A second preview starts again from the confirmed image.
    w->editView().contrastPanel()->setValue(90);
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_EQ(shown(), engineResult());
}

TEST_F(EffectPanelTest, SlidersReportOnlyWhenLetGo) {
    choose("Blur");
    w->editView().setTaskOptionsChanged(false);
    Slider* slider = w->editView().blurPanel()->levelSlider();
    slider->setSliderDown(true);
    slider->setSliderPosition(7);
    EXPECT_EQ(w->editView().blurPanel()->valueLabel()->text(), QStringLiteral("7"));
    EXPECT_FALSE(w->editView().taskOptionsChanged());
    slider->setSliderDown(false);
    EXPECT_EQ(slider->Value(), 7);
    EXPECT_TRUE(w->editView().taskOptionsChanged());
}

TEST_F(EffectPanelTest, SingleWatermarkOnAHalfSizePreviewStampsInImagePixels) {
    startOn(gradient(400, 200));
    const QString stamp = logo();
    picbasket::Setup.TaskDefaults.Watermark.ImageFile = stamp;
    choose("Watermark");
    WatermarkPanel* wm = w->editView().watermarkPanel();
    w->editView().mergeStyleCombo()->setCurrentIndex(0);
    EXPECT_FALSE(w->editView().locationFrame()->isHidden());
    wm->transparentBox()->setChecked(false);
    wm->transparencySlider()->setValue(0);
    ImageBox& box = w->previewPane().box()->box();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        box.setAutoZoom(true);
        box.setWidth(200);
        box.setHeight(100);
        ASSERT_EQ(box.DisplayWidth(), 200);
        w->previewPane().selection()->WatermarkPointX = 100;
        w->previewPane().selection()->WatermarkPointY = 50;
        w->editView().subMarkOptionsChanged();
        ASSERT_TRUE(w->editView().cmdApply_Click());
        EXPECT_EQ(CurrentTask.Param[3], QStringLiteral("1"));
        EXPECT_EQ(CurrentTask.Param[6], QStringLiteral("100"));
        EXPECT_EQ(CurrentTask.Param[7], QStringLiteral("200"));
        EXPECT_EQ(CurrentTask.Param[8], QStringLiteral("True"));
        const QImage result = shown();
        EXPECT_EQ(result.pixel(204, 104), qRgb(255, 0, 0));
        EXPECT_EQ(result.pixel(200, 100), qRgb(255, 255, 255));
        EXPECT_EQ(result.pixel(199, 99), rgb(original).pixel(199, 99));
        EXPECT_EQ(result, engineResult());
        // The picked point itself is left as it was picked.
        EXPECT_EQ(w->previewPane().selection()->WatermarkPointX, 100);
    }
}

TEST_F(EffectPanelTest, WatermarkWithoutAStampableFileTellsWhyAndStampsNothing) {
    QFile broken(folder.file(QStringLiteral("broken.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\nbroken");
    broken.close();
    struct Case {
        QString file;
        const char* message; // "" for the error report
    };
    const Case cases[] = {
        {QString(), "Please select an image/logo for watermarking the image."},
        {folder.file(QStringLiteral("gone.png")),
         "The last watermark image/logo file has either moved, renamed or deleted.\r\n"
         "Please select an image/logo from disk."},
        {broken.fileName(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        picbasket::Setup.TaskDefaults.Watermark.ImageFile = c.file;
        choose("Watermark");
        w->editView().mergeStyleCombo()->setCurrentIndex(2);
        w->editView().subMarkOptionsChanged();
        const size_t shownBefore = messages.shown().size();
        const size_t reportsBefore = errors.reports().size();
        ASSERT_TRUE(w->editView().cmdApply_Click());
        if (*c.message) {
            ASSERT_EQ(messages.shown().size(), shownBefore + 1);
            EXPECT_EQ(messages.shown().back().text, QString::fromLatin1(c.message));
            EXPECT_EQ(errors.reports().size(), reportsBefore);
        } else {
            EXPECT_EQ(messages.shown().size(), shownBefore);
            EXPECT_EQ(errors.reports().size(), reportsBefore + 1);
        }
        EXPECT_EQ(shown(), rgb(original));
        EXPECT_EQ(CurrentTask.Param[3], QStringLiteral("2"));
        EXPECT_EQ(CurrentTask.Param[4], c.file);
        EXPECT_TRUE(w->editView().imageModified());
        dropPreview();
    }
}

TEST_F(EffectPanelTest, PickedTextPositionStoresNoOrientationNoAlignmentAndTheAngle) {
    choose("Text");
    TextPanel* t = w->editView().textPanel();
    t->orientationOptions()->select(1);
    w->editView().textPositionCombo()->setCurrentIndex(9);
    EXPECT_FALSE(w->editView().locationFrame()->isHidden());
    EXPECT_FALSE(t->anglePart()->isHidden());
    EXPECT_TRUE(t->orientationPart()->isHidden());
    EXPECT_TRUE(t->alignmentPart()->isHidden());
    t->angleSpin()->setSpinValue(-30);
    EXPECT_EQ(t->angleBox()->text(), QStringLiteral("-30"));
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_EQ(CurrentTask.Param[13], QStringLiteral("0"));
    EXPECT_EQ(CurrentTask.Param[5], QStringLiteral("0"));
    EXPECT_EQ(CurrentTask.Param[4], QStringLiteral("-30"));
    EXPECT_EQ(CurrentTask.Param[14], QStringLiteral("9"));
    w->editView().textPositionCombo()->setCurrentIndex(3);
    EXPECT_TRUE(w->editView().locationFrame()->isHidden());
    EXPECT_TRUE(t->anglePart()->isHidden());
    EXPECT_FALSE(t->orientationPart()->isHidden());
}

TEST_F(EffectPanelTest, TypedFontSizeAndMergeStyleMarkTheOptionsChanged) {
    choose("Text");
    w->editView().setTaskOptionsChanged(false);
    w->editView().fontSizeCombo()->setEditText(QStringLiteral("33"));
    EXPECT_TRUE(w->editView().taskOptionsChanged());
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_EQ(CurrentTask.Param[7], QStringLiteral("33"));

    choose("Watermark");
    w->editView().setTaskOptionsChanged(false);
    w->editView().mergeStyleCombo()->setCurrentIndex(3);
    EXPECT_TRUE(w->editView().taskOptionsChanged());
}

TEST_F(EffectPanelTest, AnEmptiedFontSizeIsRefusedBeforeAnythingIsDrawn) {
    choose("Text");
    w->editView().fontSizeCombo()->setEditText(QString());
    EXPECT_EQ(w->editView().fontSizeCombo()->currentText(), QStringLiteral("0"));
    const typTask before = CurrentTask;
    EXPECT_FALSE(w->editView().cmdApply_Click());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(shown(), rgb(original));
    EXPECT_EQ(CurrentTask.Param, before.Param);
    EXPECT_FALSE(w->editView().imageModified());
}

TEST_F(EffectPanelTest, AStoredFontBeyondTheListShowsTheFirstFamily) {
    picbasket::Setup.TaskDefaults.Text.FontFamily = 32000;
    choose("Text");
    EXPECT_EQ(w->editView().fontFamilyCombo()->currentIndex(), 0);
}

TEST_F(EffectPanelTest, ColourFrameAddsItsSizeOnEverySide) {
    startOn(gradient(300, 200));
    choose("Frame");
    FramePanel* f = w->editView().framePanel();
    f->kindOptions()[1]->setChecked(true);
    EXPECT_FALSE(w->editView().backColourFrame()->isHidden());
    EXPECT_TRUE(f->picturePart()->isHidden());
    f->sizeBox()->setText(QStringLiteral("20"));
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_EQ(shown().size(), QSize(340, 240));
    EXPECT_EQ(CurrentTask.Param[2], QStringLiteral("1"));
    EXPECT_EQ(CurrentTask.Param[3], QStringLiteral("20"));
    EXPECT_TRUE(CurrentTask.Param[4].isEmpty());
    f->kindOptions()[0]->setChecked(true);
    EXPECT_TRUE(w->editView().backColourFrame()->isHidden());
}

// A panel whose part is shown or hidden takes the height of what it then shows, and the
// dialog's shared frames and buttons move below it: nothing is cut off or overlaid.
TEST_F(EffectPanelTest, PanelsTakeTheHeightOfTheirShownPartsAndTheButtonsFollow) {
    struct Case {
        const char* key;
        const char* panel;
        // The other part shown (true) or the panel's first part (false).
        std::function<void(frmMain&, bool)> show;
    };
    const Case cases[] = {
        {"Text", "picText",
         [](frmMain& f, bool other) {
             f.editView().textPositionCombo()->setCurrentIndex(other ? 9 : 3);
         }},
        {"Frame", "picFrame",
         [](frmMain& f, bool other) {
             f.editView().framePanel()->kindOptions()[other ? 1 : 0]->setChecked(true);
         }},
    };
    auto checkFits = [this](QWidget* panel) {
        for (const QWidget* child : panel->findChildren<QWidget*>()) {
            if (!child->isVisibleTo(panel))
                continue;
            SCOPED_TRACE(child->metaObject()->className());
            EXPECT_LE(child->mapTo(panel, QPoint(0, child->height())).y(), panel->height());
        }
        int bottom = panel->y() + panel->height();
        for (const QWidget* frame : {static_cast<const QWidget*>(w->editView().backColourFrame()),
                                     static_cast<const QWidget*>(w->editView().locationFrame())}) {
            if (frame->isHidden())
                continue;
            EXPECT_GE(frame->y(), bottom);
            bottom = frame->y() + frame->height();
        }
        EXPECT_GE(w->editView().applyButton()->y(), bottom);
        EXPECT_GE(w->editView().optionsDialog()->height(),
                  w->editView().applyButton()->y() + w->editView().applyButton()->height());
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        choose(c.key);
        QWidget* panel = w->editView().taskPanel(QString::fromLatin1(c.panel));
        ASSERT_NE(panel, nullptr);
        c.show(*w, false);
        const int first = panel->height();
        checkFits(panel);
        c.show(*w, true);
        EXPECT_NE(panel->height(), first);
        checkFits(panel);
        c.show(*w, false);
        EXPECT_EQ(panel->height(), first);
        checkFits(panel);
    }
}

TEST_F(EffectPanelTest, FrameSizeSpinCoversTheWholeRangeOfItsBox) {
    choose("Frame");
    FramePanel* f = w->editView().framePanel();
    f->kindOptions()[1]->setChecked(true);
    f->sizeBox()->setText(QStringLiteral("500"));
    emit f->sizeBox()->editingFinished();
    EXPECT_EQ(f->sizeBox()->text(), QStringLiteral("500"));
    EXPECT_EQ(f->sizeSpin()->Value(), 500);
    f->sizeBox()->setText(QStringLiteral("900"));
    emit f->sizeBox()->editingFinished();
    EXPECT_EQ(f->sizeBox()->text(), QStringLiteral("800"));
    EXPECT_EQ(f->sizeSpin()->Value(), 800);
}

TEST_F(EffectPanelTest, ShadowAndStylesOfThePictureGroups) {
    choose("Shadow");
    EXPECT_EQ(w->editView().selectedStyle(), 8);
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_EQ(CurrentTask.Param[1], QStringLiteral("0"));
    w->editView().shadowPanel()->pictureOptions()->select(3);
    EXPECT_EQ(w->editView().selectedStyle(), 11);
    dropPreview();
    choose("Frame");
    EXPECT_EQ(w->editView().selectedStyle(), 0);
    choose("Mask");
    EXPECT_EQ(w->editView().selectedStyle(), 0);
    w->editView().maskPanel()->pictureOptions()->select(6);
    EXPECT_EQ(w->editView().selectedStyle(), 6);
    // A group always keeps one picture chosen.
    w->editView().maskPanel()->pictureOptions()->button(6)->click();
    EXPECT_TRUE(w->editView().maskPanel()->pictureOptions()->button(6)->isChecked());
}

TEST_F(EffectPanelTest, OnlyATickedMaskIsBlurred) {
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent);
        choose("Mask");
        w->editView().maskPanel()->pictureOptions()->select(2);
        w->editView().maskPanel()->transparentBox()->setChecked(transparent);
        w->editView().maskPanel()->levelSlider()->setValue(0);
        ASSERT_TRUE(w->editView().cmdApply_Click());
        ImageBox oracle;
        oracle.setImage(original);
        oracle.setMergeTransparentColor(0);
        oracle.setMergeTransparent(transparent);
        oracle.setMergeTransparency(0);
        subApplyMask(2, oracle);
        const QImage unblurred = rgb(oracle.image());
        oracle.Blur(2);
        EXPECT_EQ(shown(), transparent ? rgb(oracle.image()) : unblurred);
        EXPECT_EQ(CurrentTask.Param[1], transparent ? QStringLiteral("True") : QStringLiteral("False"));
        dropPreview();
    }
}

TEST_F(EffectPanelTest, RedEyeWorksInTheMarkedRegionAndLeavesSelectionOnlyOff) {
    QImage eyes = gradient(120, 80);
    for (int y = 20; y < 40; ++y)
        for (int x = 20; x < 40; ++x)
            eyes.setPixel(x, y, qRgb(230, 30, 30));
    for (int y = 20; y < 40; ++y)
        for (int x = 80; x < 100; ++x)
            eyes.setPixel(x, y, qRgb(230, 30, 30));
    startOn(eyes);
    choose("RedEye");
    EXPECT_FALSE(w->editView().applyButton()->isEnabled());
    ImageBox& box = w->previewPane().box()->box();
    w->editView().redEyePanel()->regionToggle()->setChecked(true);
    EXPECT_EQ(box.ActiveSelectionTool(), ImageBox::RedEyeTool);
    EXPECT_TRUE(w->editView().applyButton()->isEnabled());
    box.SelectRectangle(15, 15, 45, 45);
    w->previewPane().selection()->mouseUp(1, 45, 45);
    EXPECT_FALSE(w->editView().redEyePanel()->regionToggle()->isChecked());
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_FALSE(box.SelectionOnly());
    EXPECT_FALSE(box.HasSelection());
    const QImage result = shown();
    EXPECT_LT(qRed(result.pixel(30, 30)), 200);
    EXPECT_EQ(result.pixel(90, 30), qRgb(230, 30, 30));
    EXPECT_EQ(result.pixel(60, 60), rgb(eyes).pixel(60, 60));
}

TEST_F(EffectPanelTest, ColourButtonsTakeOnlyAConfirmedColour) {
    FakeDialogBackend dialogs;
    choose("Text");
    ColorButton* button = w->editView().textPanel()->colourButton();
    const OleColor before = button->BackColor();
    w->editView().setTaskOptionsChanged(false);
    dialogs.cancelColor();
    button->click();
    EXPECT_EQ(button->BackColor(), before);
    EXPECT_FALSE(w->editView().taskOptionsChanged());
    dialogs.chooseColor(0x00123456);
    button->click();
    EXPECT_EQ(button->BackColor(), 0x00123456u);
    EXPECT_TRUE(w->editView().taskOptionsChanged());
}

TEST_F(EffectPanelTest, WatermarkPictureShowsTheFileAndPicksItsColour) {
    FakeDialogBackend dialogs;
    const QString path = logo();
    choose("Watermark");
    WatermarkPanel* wm = w->editView().watermarkPanel();
    dialogs.chooseFile(path);
    wm->selectButton()->click();
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(dialogs.fileRequests()[0].title, QStringLiteral("Load Image for Merging"));
    EXPECT_EQ(picbasket::Setup.TaskDefaults.Watermark.ImageFile, path);
    EXPECT_EQ(w->editView().watermarkFile(), path);
    EXPECT_EQ(wm->resolutionLabel()->text(), QStringLiteral("12 x 10"));
    EXPECT_EQ(wm->picture()->file(), path);
    EXPECT_EQ(wm->picture()->image().size(), wm->pictureBox());
    // A cancelled dialog shows the same picture again.
    dialogs.cancelFile();
    wm->selectButton()->click();
    EXPECT_EQ(wm->picture()->file(), path);
    EXPECT_EQ(wm->resolutionLabel()->text(), QStringLiteral("12 x 10"));

    wm->colourPickToggle()->setChecked(true);
    EXPECT_TRUE(w->editView().pickingWatermarkColour());
    const QPoint centre(wm->pictureBox().width() / 2, wm->pictureBox().height() / 2);
    emit wm->picture()->MouseDown(centre.x(), centre.y());
    EXPECT_EQ(wm->transparentColourButton()->BackColor(),
              qColorToOle(QColor(wm->picture()->image().pixel(centre))));
    emit wm->picture()->MouseUp();
    EXPECT_FALSE(w->editView().pickingWatermarkColour());
    EXPECT_FALSE(wm->colourPickToggle()->isChecked());

    w->editView().subLoadWatermarkImage(QString());
    EXPECT_TRUE(wm->picture()->file().isEmpty());
    EXPECT_TRUE(wm->resolutionLabel()->text().isEmpty());
}

TEST_F(EffectPanelTest, FirstRunDefaults) {
    choose("Text");
    EXPECT_EQ(w->editView().textPanel()->textBox()->text(), QStringLiteral("Sample"));
    EXPECT_EQ(w->editView().fontSizeCombo()->currentText(), QStringLiteral("14"));
    choose("Blur");
    EXPECT_EQ(w->editView().blurPanel()->value(), 1);
    EXPECT_EQ(w->editView().blurPanel()->valueLabel()->text(), QStringLiteral("1"));
    choose("Sharpen");
    EXPECT_EQ(w->editView().sharpenPanel()->value(), 1);
    for (const char* key : {"Contrast", "Brightness"}) {
        choose(key);
        TonePanel* tone = QLatin1String(key) == QLatin1String("Contrast")
                              ? w->editView().contrastPanel()
                              : w->editView().brightnessPanel();
        EXPECT_EQ(tone->value(), 50) << key;
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(tone->channel(i)->isChecked()) << key << i;
    }
    choose("Crop");
    EXPECT_TRUE(w->editView().cropOptions()[1]->isChecked());
}

namespace {

QString ticks(std::initializer_list<const QAbstractButton*> buttons) {
    QString text;
    for (const QAbstractButton* b : buttons)
        text += b->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

QString colour(const ColorButton* button) {
    return QString::number(button->BackColor(), 16);
}

// Each task's stored controls: how a user sets them away from the defaults, and what
// the panel then shows.
struct StoredPanel {
    const char* key;
    std::function<void(frmMain&)> set;
    std::function<QStringList(const frmMain&)> read;
};

std::vector<StoredPanel> storedPanels(const QString& watermarkFile) {
    return {
        {"Flip", [](frmMain& f) { f.editView().flipOptions()[1]->setChecked(true); },
         [](const frmMain& f) {
             return QStringList{
                 ticks({f.editView().flipOptions()[0], f.editView().flipOptions()[1]})};
         }},
        {"Rotate",
         [](frmMain& f) {
             f.editView().degreesBox()->setText(QStringLiteral("30"));
             emit f.editView().degreesBox()->editingFinished();
             f.editView().rotateResample()->setChecked(true);
             f.editView().backColourButton()->setBackColor(0x00102030);
         },
         [](const frmMain& f) {
             return QStringList{f.editView().degreesBox()->text(),
                                QString::number(f.editView().degreesBar()->value()),
                                ticks({f.editView().rotateResample()}),
                                colour(f.editView().backColourButton())};
         }},
        {"Resize",
         [](frmMain& f) {
             f.editView().resizeOptions()[1]->setChecked(true);
             f.editView().scaleBox()->setText(QStringLiteral("75"));
             f.editView().keepRatio()->setChecked(false);
             f.editView().resizeResample()->setChecked(true);
         },
         [](const frmMain& f) {
             return QStringList{
                 ticks({f.editView().resizeOptions()[0], f.editView().resizeOptions()[1],
                        f.editView().keepRatio(), f.editView().resizeResample()}),
                 f.editView().scaleBox()->text()};
         }},
        {"Blur", [](frmMain& f) { f.editView().blurPanel()->setValue(6); },
         [](const frmMain& f) {
             return QStringList{QString::number(f.editView().blurPanel()->value()),
                                f.editView().blurPanel()->valueLabel()->text()};
         }},
        {"Contrast",
         [](frmMain& f) {
             f.editView().contrastPanel()->setValue(71);
             f.editView().contrastPanel()->channel(0)->setChecked(false);
         },
         [](const frmMain& f) {
             const TonePanel* t = f.editView().contrastPanel();
             return QStringList{QString::number(t->value()),
                                ticks({t->channel(0), t->channel(1), t->channel(2)})};
         }},
        {"Brightness",
         [](frmMain& f) {
             f.editView().brightnessPanel()->setValue(23);
             f.editView().brightnessPanel()->channel(2)->setChecked(false);
         },
         [](const frmMain& f) {
             const TonePanel* t = f.editView().brightnessPanel();
             return QStringList{QString::number(t->value()),
                                ticks({t->channel(0), t->channel(1), t->channel(2)})};
         }},
        {"Sharpen", [](frmMain& f) { f.editView().sharpenPanel()->setValue(9); },
         [](const frmMain& f) {
             return QStringList{QString::number(f.editView().sharpenPanel()->value())};
         }},
        {"Crop",
         [](frmMain& f) {
             f.editView().cropOptions()[0]->setChecked(true);
             f.editView().cropShapeCombo()->setCurrentIndex(1);
         },
         [](const frmMain& f) {
             return QStringList{
                 ticks({f.editView().cropOptions()[0], f.editView().cropOptions()[1]}),
                 QString::number(f.editView().cropShapeCombo()->currentIndex())};
         }},
        {"Watermark",
         [watermarkFile](frmMain& f) {
             WatermarkPanel* wm = f.editView().watermarkPanel();
             picbasket::Setup.TaskDefaults.Watermark.ImageFile = watermarkFile;
             f.editView().subLoadWatermarkImage(watermarkFile);
             f.editView().mergeStyleCombo()->setCurrentIndex(2);
             wm->transparencySlider()->setValue(70);
             wm->transparentBox()->setChecked(false);
             wm->transparentColourButton()->setBackColor(0x00445566);
         },
         [](const frmMain& f) {
             const WatermarkPanel* wm = f.editView().watermarkPanel();
             return QStringList{QString::number(f.editView().mergeStyleCombo()->currentIndex()),
                                QString::number(wm->transparencySlider()->Value()),
                                ticks({wm->transparentBox()}),
                                colour(wm->transparentColourButton()),
                                wm->picture()->file(),
                                wm->resolutionLabel()->text()};
         }},
        {"Text",
         [](frmMain& f) {
             TextPanel* t = f.editView().textPanel();
             t->textBox()->setText(QStringLiteral("Stored"));
             t->boldToggle()->setChecked(true);
             t->italicToggle()->setChecked(true);
             t->transparentBox()->setChecked(false);
             t->backgroundButton()->setBackColor(0x00ABCDEF);
             f.editView().fontFamilyCombo()->setCurrentIndex(
                 f.editView().fontFamilyCombo()->count() - 1);
             f.editView().fontSizeCombo()->setEditText(QStringLiteral("40"));
             f.editView().textPositionCombo()->setCurrentIndex(7);
             t->orientationOptions()->select(0);
             t->alignmentOptions()->select(2);
             t->colourButton()->setBackColor(0x00000080);
             f.editView().resizeFilterCombo()->setCurrentIndex(4);
             t->angleSpin()->setSpinValue(-45);
         },
         [](const frmMain& f) {
             const TextPanel* t = f.editView().textPanel();
             return QStringList{t->textBox()->text(),
                                ticks({t->boldToggle(), t->italicToggle(), t->underlineToggle(),
                                       t->transparentBox()}),
                                colour(t->backgroundButton()),
                                f.editView().fontFamilyCombo()->currentText(),
                                f.editView().fontSizeCombo()->currentText(),
                                QString::number(f.editView().textPositionCombo()->currentIndex()),
                                QString::number(t->orientationOptions()->selected()),
                                QString::number(t->alignmentOptions()->selected()),
                                colour(t->colourButton()),
                                QString::number(f.editView().resizeFilterCombo()->currentIndex()),
                                t->angleBox()->text(),
                                QString::number(t->angleSpin()->Value())};
         }},
        {"Invert", [](frmMain&) {}, [](const frmMain&) { return QStringList{}; }},
        {"Canvas",
         [](frmMain& f) {
             for (size_t i = 0; i < 4; ++i)
                 f.editView().canvasBoxes()[i]->setText(QString::number(11 * (i + 1)));
             f.editView().backColourButton()->setBackColor(0x00FF00FF);
         },
         [](const frmMain& f) {
             QStringList values;
             for (QLineEdit* box : f.editView().canvasBoxes())
                 values << box->text();
             return values << colour(f.editView().backColourButton());
         }},
        {"Frame",
         [](frmMain& f) {
             FramePanel* p = f.editView().framePanel();
             p->pictureOptions()->select(5);
             p->canvasBox()->setChecked(false);
             p->kindOptions()[1]->setChecked(true);
             p->sizeBox()->setText(QStringLiteral("33"));
             emit p->sizeBox()->editingFinished();
             f.editView().backColourButton()->setBackColor(0x00010203);
         },
         [](const frmMain& f) {
             const FramePanel* p = f.editView().framePanel();
             return QStringList{ticks({p->kindOptions()[0], p->kindOptions()[1], p->canvasBox()}),
                                QString::number(p->pictureOptions()->selected()),
                                QString::number(f.editView().selectedStyle()),
                                p->sizeBox()->text(),
                                QString::number(p->sizeSpin()->Value()),
                                colour(f.editView().backColourButton()),
                                f.editView().backColourFrame()->isHidden()
                                    ? QStringLiteral("hidden")
                                    : QStringLiteral("shown")};
         }},
        {"Mask",
         [](frmMain& f) {
             f.editView().maskPanel()->pictureOptions()->select(4);
             f.editView().maskPanel()->transparentBox()->setChecked(false);
             f.editView().maskPanel()->levelSlider()->setValue(40);
         },
         [](const frmMain& f) {
             return QStringList{
                 QString::number(f.editView().maskPanel()->pictureOptions()->selected()),
                 QString::number(f.editView().selectedStyle()),
                 ticks({f.editView().maskPanel()->transparentBox()}),
                 QString::number(f.editView().maskPanel()->levelSlider()->Value())};
         }},
        {"Shadow", [](frmMain& f) { f.editView().shadowPanel()->pictureOptions()->select(6); },
         [](const frmMain& f) {
             return QStringList{
                 QString::number(f.editView().shadowPanel()->pictureOptions()->selected()),
                 QString::number(f.editView().selectedStyle())};
         }},
        {"RedEye", [](frmMain&) {}, [](const frmMain&) { return QStringList{}; }},
    };
}

} // namespace

TEST_F(EffectPanelTest, EveryTasksStoredOptionsComeBackAfterARestart) {
    const QString file = logo();
    const auto panels = storedPanels(file);
    ASSERT_EQ(panels.size(), 16u);
    std::vector<QStringList> confirmed;
    for (const StoredPanel& p : panels) {
        SCOPED_TRACE(p.key);
        choose(p.key);
        p.set(*w);
        confirmed.push_back(p.read(*w));
        w->editView().subSaveTaskOptions();
    }
    // In the same run, then after the program starts again on the saved setup.
    for (int run = 0; run < 2; ++run) {
        if (run == 1) {
            closeWindow();
            picbasket::Setup = fncSetupDefaults();
            startOn(gradient(120, 80));
        }
        for (size_t i = 0; i < panels.size(); ++i) {
            SCOPED_TRACE(testing::Message() << panels[i].key << " run " << run);
            choose(panels[i].key);
            EXPECT_EQ(panels[i].read(*w), confirmed[i]);
        }
    }
}

// Each task confirmed in turn: the preview after the last Confirm is what the task
// engine makes of the whole basket on the image as loaded.
TEST_F(EffectPanelTest, ConfirmedPreviewEqualsTheBasketRunOnTheOriginal) {
    const QString stamp = logo();
    picbasket::Setup.TaskDefaults.Watermark.ImageFile = stamp;
    const std::pair<const char*, std::function<void(frmMain&)>> steps[] = {
        {"Blur", [](frmMain& f) { f.editView().blurPanel()->setValue(2); }},
        {"Contrast", [](frmMain& f) { f.editView().contrastPanel()->setValue(60); }},
        {"Brightness", [](frmMain& f) { f.editView().brightnessPanel()->setValue(55); }},
        {"Sharpen", [](frmMain& f) { f.editView().sharpenPanel()->setValue(3); }},
        {"Text",
         [](frmMain& f) {
             f.editView().textPositionCombo()->setCurrentIndex(4);
             f.editView().fontSizeCombo()->setEditText(QStringLiteral("18"));
         }},
        {"Watermark", [](frmMain& f) { f.editView().mergeStyleCombo()->setCurrentIndex(2); }},
        {"Frame", [](frmMain& f) { f.editView().framePanel()->pictureOptions()->select(1); }},
        {"Mask", [](frmMain& f) { f.editView().maskPanel()->pictureOptions()->select(0); }},
        {"Shadow", [](frmMain& f) { f.editView().shadowPanel()->pictureOptions()->select(0); }},
    };
    int rows = 0;
    for (const auto& [key, set] : steps) {
        SCOPED_TRACE(key);
        choose(key);
        set(*w);
        w->editView().cmdOK_Click();
        ASSERT_EQ(w->editView().taskRows().rowCount(), ++rows);
        ImageBox replay;
        replay.setImage(OriginalImageData);
        subProcessPages(nullptr, w->editView().taskRows(), replay, nullptr, true);
        EXPECT_EQ(shown(), rgb(replay.image()));
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(EffectPanelTest, AntiAliasAfterAPreviewMarksChangedButLeavesPreviewDisabled) {
    choose("Text");
    ASSERT_TRUE(w->editView().cmdApply_Click());
    ASSERT_FALSE(w->editView().applyButton()->isEnabled());
    w->editView().textPanel()->antiAliasBox()->setChecked(
        !w->editView().textPanel()->antiAliasBox()->isChecked());
    EXPECT_TRUE(w->editView().taskOptionsChanged());
    EXPECT_FALSE(w->editView().applyButton()->isEnabled());
    // Confirm previews the changed option first.
    w->editView().cmdOK_Click();
    ASSERT_EQ(w->editView().taskRows().rowCount(), 1);
    EXPECT_EQ(w->editView().taskRows().row(0).SubItems[1], QStringLiteral("True"));
}
