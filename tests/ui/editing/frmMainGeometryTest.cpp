#include "browser/SelectionController.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "editing/ColorButton.h"
#include "editing/EditImageData.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/ui/editing/EditingWindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace picbasket;
using picbasket::test::EditingWindowTest;
using picbasket::test::gradient;
using picbasket::test::rgb;

namespace {

// The edit view on a 100 x 50 image, no task chosen.
class GeometryPanelTest : public EditingWindowTest {
protected:
    void SetUp() override {
        EditingWindowTest::SetUp();
        startOn(gradient(100, 50));
    }
    // What the batch makes of the stored task from the image as confirmed.
    QImage engineResult() const {
        ImageBox box;
        box.setImage(ConfirmedImageData);
        TaskRowList rows;
        rows.addTask(CurrentTask);
        fncRunTaskRows(rows, box);
        return rgb(box.image());
    }

    QImage shown() const { return rgb(w->previewPane().box()->box().image()); }

};

} // namespace

TEST_F(GeometryPanelTest, PreviewWithNothingChangedDoesNothing) {
    choose("Rotate");
    w->editView().TaskOptionsChanged = false;
    w->editView().cmdApply->setEnabled(true);
    EXPECT_FALSE(w->editView().cmdApply_Click());
    EXPECT_EQ(shown(), rgb(original));
    EXPECT_TRUE(w->editView().cmdApply->isEnabled());
    EXPECT_FALSE(w->editView().cmdReset->isEnabled());
    EXPECT_FALSE(w->editView().ImageModified);
}

TEST_F(GeometryPanelTest, EveryTaskPreviewsWhatTheEngineMakesOfItsRow) {
    struct Case {
        const char* key;
        std::function<void(frmMain&)> set;
    };
    const Case cases[] = {
        {"Flip", [](frmMain& f) { f.editView().optFlip[1]->setChecked(true); }},
        {"Rotate",
         [](frmMain& f) {
             f.editView().cmdAngle[3]->click();
             f.editView().chkRotateResample->setChecked(true);
             f.editView().picCropBackColor->setBackColor(0x000000FFu);
         }},
        {"Resize",
         [](frmMain& f) {
             f.editView().optResize[0]->setChecked(true);
             f.editView().chkResizeRatio->setChecked(false);
             f.editView().txtResizeWidth->setText(QStringLiteral("37"));
             f.editView().txtResizeHeight->setText(QStringLiteral("81"));
         }},
        {"Resize",
         [](frmMain& f) {
             f.editView().optResize[1]->setChecked(true);
             f.editView().txtScale->setText(QStringLiteral("12.5"));
         }},
        {"Crop",
         [](frmMain& f) {
             f.editView().optCropSelect[1]->setChecked(true);
             f.editView().txtCropLeft->setText(QStringLiteral("10"));
             f.editView().txtCropTop->setText(QStringLiteral("5"));
             f.editView().txtCropRight->setText(QStringLiteral("70"));
             f.editView().cmbCrop->setCurrentIndex(1);
         }},
        {"Invert", [](frmMain&) {}},
        {"Canvas",
         [](frmMain& f) {
             for (QLineEdit* box : f.editView().txtCanvasCustom)
                 box->setText(QStringLiteral("7"));
             f.editView().txtCanvasCustom[2]->setText(QStringLiteral("3"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        choose(c.key);
        c.set(*w);
        ASSERT_TRUE(w->editView().TaskOptionsChanged);
        ASSERT_TRUE(w->editView().cmdApply_Click());
        EXPECT_NE(shown(), rgb(original));
        EXPECT_EQ(shown(), engineResult());
        EXPECT_TRUE(w->editView().ImageModified);
        EXPECT_FALSE(w->previewPane().unchanged());
        EXPECT_FALSE(w->editView().TaskOptionsChanged);
        EXPECT_TRUE(w->editView().cmdReset->isEnabled());
        EXPECT_FALSE(w->editView().cmdApply->isEnabled());
        // Not confirmed: the next task starts from the image as it was.
        w->editView().ImageModified = false;
        w->previewPane().box()->box().setImage(ConfirmedImageData);
    }
}

TEST_F(GeometryPanelTest, TwoPreviewsDoNotAddUp) {
    choose("Rotate");
    w->editView().txtDegrees->setText(QStringLiteral("30"));
    ASSERT_TRUE(w->editView().cmdApply_Click());
    w->editView().txtDegrees->setText(QStringLiteral("90"));
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_EQ(CurrentTask.Param[2], QStringLiteral("90"));
    EXPECT_EQ(shown(), engineResult());
    EXPECT_EQ(shown().size(), QSize(50, 100));
}

TEST_F(GeometryPanelTest, CanvasMarginsGrowTheImage) {
    choose("Canvas");
    for (QLineEdit* box : w->editView().txtCanvasCustom)
        box->setText(QStringLiteral("10"));
    w->editView().picCropBackColor->setBackColor(0x0000FF00u);
    ASSERT_TRUE(w->editView().cmdApply_Click());
    const QImage result = shown();
    EXPECT_EQ(result.size(), QSize(120, 70));
    EXPECT_EQ(result.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(result.pixel(119, 69), qRgb(0, 255, 0));
    EXPECT_EQ(result.copy(10, 10, 100, 50), rgb(original));
}

TEST_F(GeometryPanelTest, BadNumbersAreRefusedAndChangeNothing) {
    const std::pair<const char*, std::function<void(frmMain&)>> cases[] = {
        {"Resize", [](frmMain& f) { f.editView().txtResizeWidth->setText(QStringLiteral("40000")); }},
        {"Resize",
         [](frmMain& f) {
             f.editView().optResize[1]->setChecked(true);
             f.editView().txtScale->setText(QStringLiteral("abc"));
         }},
        {"Crop",
         [](frmMain& f) {
             f.editView().txtCropLeft->setText(QStringLiteral("40"));
             f.editView().txtCropRight->setText(QStringLiteral("40"));
         }},
    };
    for (const auto& [key, set] : cases) {
        SCOPED_TRACE(key);
        choose(key);
        set(*w);
        w->editView().subMarkOptionsChanged();
        const typTask before = CurrentTask;
        const size_t shownBefore = messages.shown().size();
        EXPECT_FALSE(w->editView().cmdApply_Click());
        EXPECT_EQ(messages.shown().size(), shownBefore + 1);
        EXPECT_EQ(shown(), rgb(original));
        EXPECT_EQ(CurrentTask.Param, before.Param);
        EXPECT_FALSE(w->editView().ImageModified);
    }
}

TEST_F(GeometryPanelTest, RatioLockFollowsTheSizeAtEntry) {
    choose("Resize");
    w->editView().optResize[0]->setChecked(true);
    w->editView().chkResizeRatio->setChecked(true);
    // Box typed into, text -> the other box.
    const std::tuple<QLineEdit*, const char*, QLineEdit*, const char*> cases[] = {
        {w->editView().txtResizeWidth, "50", w->editView().txtResizeHeight, "25"},
        {w->editView().txtResizeHeight, "75", w->editView().txtResizeWidth, "150"},
        {w->editView().txtResizeWidth, "0", w->editView().txtResizeHeight, "0"},
        {w->editView().txtResizeWidth, "", w->editView().txtResizeHeight, "0"},
        {w->editView().txtResizeWidth, "3", w->editView().txtResizeHeight, "2"}, // 1.5 rounds to 2
        {w->editView().txtResizeWidth, "5", w->editView().txtResizeHeight, "2"}, // 2.5 rounds to 2
    };
    for (const auto& [typed, text, other, expected] : cases) {
        typed->setText(QString::fromLatin1(text));
        EXPECT_EQ(other->text(), QLatin1String(expected)) << text;
    }
    EXPECT_EQ(w->editView().txtResizeWidth->text(), QStringLiteral("5"));
    w->editView().chkResizeRatio->setChecked(false);
    w->editView().txtResizeWidth->setText(QStringLiteral("99"));
    EXPECT_EQ(w->editView().txtResizeHeight->text(), QStringLiteral("2"));
}

TEST_F(GeometryPanelTest, EditViewEntryWithTheLockOnKeepsTheImageSize) {
    w->editView().chkResizeRatio->setChecked(true);
    w->editView().CmdPreviewEdit_Click();
    const QImage other = gradient(64, 48);
    w->previewPane().box()->box().setImage(other);
    OriginalImageData = w->previewPane().box()->box().Picture();
    w->editView().CmdPreviewEdit_Click();
    EXPECT_EQ(w->editView().txtResizeWidth->text(), QStringLiteral("64"));
    EXPECT_EQ(w->editView().txtResizeHeight->text(), QStringLiteral("48"));
}

TEST_F(GeometryPanelTest, KeyInRefillsOnlyRightAndBottom) {
    choose("Crop");
    w->editView().optCropSelect[0]->setChecked(true);
    w->editView().txtCropLeft->setText(QStringLiteral("3"));
    w->editView().txtCropTop->setText(QStringLiteral("4"));
    w->editView().txtCropRight->setText(QStringLiteral("5"));
    w->editView().txtCropBot->setText(QStringLiteral("6"));
    w->editView().optCropSelect[1]->setChecked(true);
    EXPECT_EQ(w->editView().txtCropLeft->text(), QStringLiteral("3"));
    EXPECT_EQ(w->editView().txtCropTop->text(), QStringLiteral("4"));
    EXPECT_EQ(w->editView().txtCropRight->text(), QStringLiteral("100"));
    EXPECT_EQ(w->editView().txtCropBot->text(), QStringLiteral("50"));
    EXPECT_EQ(picbasket::Setup.TaskDefaults.CropMode, 1);
    EXPECT_TRUE(w->editView().TaskOptionsChanged);
    EXPECT_TRUE(w->editView().cmdApply->isEnabled());
}

TEST_F(GeometryPanelTest, RotatePresetsAndTypedAnglesKeepTheirText) {
    choose("Rotate");
    w->editView().cmdAngle[3]->click();
    EXPECT_EQ(w->editView().txtDegrees->text(), QStringLiteral("-45"));
    EXPECT_EQ(w->editView().sbDegrees->value(), -45);
    // The focus-out clamp keeps the preset and shows a large angle normalised.
    w->editView().txtDegrees->setText(QStringLiteral("-45"));
    emit w->editView().txtDegrees->editingFinished();
    EXPECT_EQ(w->editView().txtDegrees->text(), QStringLiteral("-45"));
    w->editView().txtDegrees->setText(QStringLiteral("300"));
    emit w->editView().txtDegrees->editingFinished();
    EXPECT_EQ(w->editView().txtDegrees->text(), QStringLiteral("300"));
    EXPECT_EQ(w->editView().sbDegrees->value(), -60);
    w->editView().txtDegrees->setText(QStringLiteral("400"));
    emit w->editView().txtDegrees->editingFinished();
    EXPECT_EQ(w->editView().txtDegrees->text(), QStringLiteral("360"));
    EXPECT_EQ(w->editView().sbDegrees->value(), 0);
}

TEST_F(GeometryPanelTest, StoredOptionsLoadAndConfirmedOptionsStore) {
    picbasket::Setup.TaskDefaults.RotateDegrees = 30;
    choose("Rotate");
    EXPECT_EQ(w->editView().txtDegrees->text(), QStringLiteral("30"));
    EXPECT_TRUE(w->editView().TaskOptionsChanged);
    EXPECT_FALSE(w->editView().FrameBackColor->isHidden());
    picbasket::Setup.TaskDefaults.RotateDegrees = 0;
    choose("Rotate");
    choose("Rotate");
    EXPECT_FALSE(w->editView().TaskOptionsChanged) << "angle 0 with the controls already at 0";

    choose("Canvas");
    w->editView().txtCanvasCustom[1]->setText(QStringLiteral("25"));
    w->editView().subSaveTaskOptions();
    EXPECT_EQ(picbasket::Setup.TaskDefaults.CanvasCustom[1], 25);
    choose("Flip");
    EXPECT_TRUE(w->editView().FrameBackColor->isHidden());
}

TEST_F(GeometryPanelTest, CropByMouseUsesTheBoxSelectionWhenFittedAndGripsAtActualSize) {
    choose("Crop");
    w->editView().optCropSelect[0]->setChecked(true);
    ImageBox& box = w->previewPane().box()->box();
    // Fit, preview size -> the selection tool in charge.
    struct Case {
        bool fit;
        QSize holder;
        bool boxTool;
    };
    const Case cases[] = {
        {true, {50, 25}, true}, {false, {400, 300}, false}, {true, {400, 300}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holder.width());
        w->editView().chkCropMouse->setChecked(false);
        box.setAutoZoom(c.fit);
        box.setWidth(c.holder.width());
        box.setHeight(c.holder.height());
        w->editView().chkCropMouse->setChecked(true);
        EXPECT_TRUE(w->previewPane().selection()->CropByMouseActive);
        EXPECT_TRUE(w->editView().TaskOptionsChanged);
        EXPECT_EQ(box.ActiveSelectionTool() == ImageBox::RectangleTool, c.boxTool);
        EXPECT_EQ(w->previewPane().selection()->PreviewMouseMode, c.boxTool ? 0 : 1);
        EXPECT_EQ(w->previewPane().selection()->PreviewToolMode, c.boxTool ? 0 : 2);
    }
}

TEST_F(GeometryPanelTest, MouseCropAtActualSizeCropsTheDraggedRectangle) {
    choose("Crop");
    w->editView().optCropSelect[0]->setChecked(true);
    ImageBox& box = w->previewPane().box()->box();
    box.setAutoZoom(false);
    w->editView().chkCropMouse->setChecked(true);
    SelectionController* s = w->previewPane().selection();
    // A drag to the upper left, ending past the image's top edge.
    s->mouseDown(1, 60, 40);
    s->mouseMove(10, -5);
    s->mouseUp(1, 10, -5);
    ASSERT_TRUE(w->editView().TaskOptionsChanged);
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_EQ(CurrentTask.Param[1], QStringLiteral("False"));
    EXPECT_EQ(CurrentTask.Param[2], QStringLiteral("10"));
    EXPECT_EQ(CurrentTask.Param[3], QStringLiteral("0"));
    EXPECT_EQ(CurrentTask.Param[4], QStringLiteral("60"));
    EXPECT_EQ(CurrentTask.Param[5], QStringLiteral("40"));
    EXPECT_TRUE(CurrentTask.Param[6].isEmpty());
    EXPECT_EQ(shown(), rgb(original.copy(10, 0, 50, 40)));
    EXPECT_EQ(shown(), engineResult());
    EXPECT_EQ(s->PreviewMouseMode, 0);
    EXPECT_EQ(s->PreviewToolMode, 0);
}

TEST_F(GeometryPanelTest, AClickWithoutADragIsNoCrop) {
    choose("Crop");
    w->editView().optCropSelect[0]->setChecked(true);
    w->previewPane().box()->box().setAutoZoom(false);
    w->editView().chkCropMouse->setChecked(true);
    w->previewPane().selection()->mouseDown(1, 20, 20);
    w->previewPane().selection()->mouseUp(1, 20, 20);
    const size_t before = messages.shown().size();
    EXPECT_FALSE(w->editView().cmdApply_Click());
    EXPECT_EQ(messages.shown().size(), before + 1);
    EXPECT_EQ(shown(), rgb(original));
}

TEST_F(GeometryPanelTest, LeavingTheEditViewEndsEveryPickMode) {
    choose("Crop");
    w->editView().chkCropBackColor->setChecked(true);
    EXPECT_EQ(w->previewPane().selection()->PreviewToolMode, 4);
    w->editView().chkSelectLocation->setChecked(true);
    EXPECT_TRUE(w->previewPane().selection()->LocationPickMode);
    w->editView().optCropSelect[0]->setChecked(true);
    w->editView().chkCropMouse->setChecked(true);
    w->editView().CmdPreviewEdit_Click();
    ASSERT_FALSE(w->editView().fncIsEditView());
    EXPECT_EQ(w->previewPane().selection()->PreviewToolMode, 0);
    EXPECT_EQ(w->previewPane().selection()->PreviewMouseMode, 0);
    EXPECT_FALSE(w->previewPane().selection()->LocationPickMode);
    EXPECT_FALSE(w->previewPane().selection()->CropByMouseActive);
    EXPECT_FALSE(w->editView().chkCropMouse->isChecked());
    EXPECT_FALSE(w->editView().chkSelectLocation->isChecked());
    EXPECT_FALSE(w->editView().chkCropBackColor->isChecked());
}

TEST_F(GeometryPanelTest, AColourPickFillsTheSwatchAndEndsWithTheClick) {
    choose("Rotate");
    ImageBox& box = w->previewPane().box()->box();
    box.setAutoZoom(false);
    w->subResize();
    w->editView().chkCropBackColor->setChecked(true);
    w->editView().TaskOptionsChanged = false;
    w->previewPane().selection()->mouseDown(1, 30, 20);
    EXPECT_EQ(w->editView().picCropBackColor->BackColor(), box.PixelColor(30, 20));
    EXPECT_TRUE(w->editView().TaskOptionsChanged);
    w->previewPane().selection()->mouseUp(1, 30, 20);
    EXPECT_FALSE(w->editView().chkCropBackColor->isChecked());
    EXPECT_EQ(w->previewPane().selection()->PreviewToolMode, 0);
}
