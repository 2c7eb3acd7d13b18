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
#include <algorithm>
#include <functional>
#include <vector>

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
    w->editView().setTaskOptionsChanged(false);
    w->editView().applyButton()->setEnabled(true);
    EXPECT_FALSE(w->editView().cmdApply_Click());
    EXPECT_EQ(shown(), rgb(original));
    EXPECT_TRUE(w->editView().applyButton()->isEnabled());
    EXPECT_FALSE(w->editView().resetButton()->isEnabled());
    EXPECT_FALSE(w->editView().imageModified());
}

TEST_F(GeometryPanelTest, EveryTaskPreviewsWhatTheEngineMakesOfItsRow) {
    struct Case {
        const char* key;
        std::function<void(frmMain&)> set;
    };
    const Case cases[] = {
        {"Flip", [](frmMain& f) { f.editView().flipOptions()[1]->setChecked(true); }},
        {"Rotate",
         [](frmMain& f) {
             f.editView().angleButtons()[3]->click();
             f.editView().rotateResample()->setChecked(true);
             f.editView().backColourButton()->setBackColor(0x000000FFu);
         }},
        {"Resize",
         [](frmMain& f) {
             f.editView().resizeOptions()[0]->setChecked(true);
             f.editView().keepRatio()->setChecked(false);
             f.editView().widthBox()->setText(QStringLiteral("37"));
             f.editView().heightBox()->setText(QStringLiteral("81"));
         }},
        {"Resize",
         [](frmMain& f) {
             f.editView().resizeOptions()[1]->setChecked(true);
             f.editView().scaleBox()->setText(QStringLiteral("12.5"));
         }},
        {"Crop",
         [](frmMain& f) {
             f.editView().cropOptions()[1]->setChecked(true);
             f.editView().cropLeftBox()->setText(QStringLiteral("10"));
             f.editView().cropTopBox()->setText(QStringLiteral("5"));
             f.editView().cropRightBox()->setText(QStringLiteral("70"));
             f.editView().cropShapeCombo()->setCurrentIndex(1);
         }},
        {"Invert", [](frmMain&) {}},
        {"Canvas",
         [](frmMain& f) {
             for (QLineEdit* box : f.editView().canvasBoxes())
                 box->setText(QStringLiteral("7"));
             f.editView().canvasBoxes()[2]->setText(QStringLiteral("3"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        choose(c.key);
        c.set(*w);
        ASSERT_TRUE(w->editView().taskOptionsChanged());
        ASSERT_TRUE(w->editView().cmdApply_Click());
        EXPECT_NE(shown(), rgb(original));
        EXPECT_EQ(shown(), engineResult());
        EXPECT_TRUE(w->editView().imageModified());
        EXPECT_FALSE(w->previewPane().unchanged());
        EXPECT_FALSE(w->editView().taskOptionsChanged());
        EXPECT_TRUE(w->editView().resetButton()->isEnabled());
        EXPECT_FALSE(w->editView().applyButton()->isEnabled());
        // Not confirmed: the next task starts from the image as it was.
        w->editView().setImageModified(false);
        w->previewPane().box()->box().setImage(ConfirmedImageData);
    }
}

TEST_F(GeometryPanelTest, TwoPreviewsDoNotAddUp) {
    choose("Rotate");
    w->editView().degreesBox()->setText(QStringLiteral("30"));
    ASSERT_TRUE(w->editView().cmdApply_Click());
    w->editView().degreesBox()->setText(QStringLiteral("90"));
    ASSERT_TRUE(w->editView().cmdApply_Click());
    EXPECT_EQ(CurrentTask.Param[2], QStringLiteral("90"));
    EXPECT_EQ(shown(), engineResult());
    EXPECT_EQ(shown().size(), QSize(50, 100));
}

TEST_F(GeometryPanelTest, CanvasMarginsGrowTheImage) {
    choose("Canvas");
    for (QLineEdit* box : w->editView().canvasBoxes())
        box->setText(QStringLiteral("10"));
    w->editView().backColourButton()->setBackColor(0x0000FF00u);
    ASSERT_TRUE(w->editView().cmdApply_Click());
    const QImage result = shown();
    EXPECT_EQ(result.size(), QSize(120, 70));
    EXPECT_EQ(result.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(result.pixel(119, 69), qRgb(0, 255, 0));
    EXPECT_EQ(result.copy(10, 10, 100, 50), rgb(original));
}

TEST_F(GeometryPanelTest, BadNumbersAreRefusedAndChangeNothing) {
    const std::pair<const char*, std::function<void(frmMain&)>> cases[] = {
        {"Resize", [](frmMain& f) { f.editView().widthBox()->setText(QStringLiteral("40000")); }},
        {"Resize",
         [](frmMain& f) {
             f.editView().resizeOptions()[1]->setChecked(true);
             f.editView().scaleBox()->setText(QStringLiteral("abc"));
         }},
        {"Crop",
         [](frmMain& f) {
             f.editView().cropLeftBox()->setText(QStringLiteral("40"));
             f.editView().cropRightBox()->setText(QStringLiteral("40"));
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
        EXPECT_FALSE(w->editView().imageModified());
    }
}

TEST_F(GeometryPanelTest, RatioLockFollowsTheSizeAtEntry) {
    choose("Resize");
    w->editView().resizeOptions()[0]->setChecked(true);
    w->editView().keepRatio()->setChecked(true);
    // Box typed into, text -> the other box.
    const std::tuple<QLineEdit*, const char*, QLineEdit*, const char*> cases[] = {
        {w->editView().widthBox(), "50", w->editView().heightBox(), "25"},
        {w->editView().heightBox(), "75", w->editView().widthBox(), "150"},
        {w->editView().widthBox(), "0", w->editView().heightBox(), "0"},
        {w->editView().widthBox(), "", w->editView().heightBox(), "0"},
        {w->editView().widthBox(), "3", w->editView().heightBox(), "2"}, // 1.5 rounds to 2
        {w->editView().widthBox(), "5", w->editView().heightBox(), "2"}, // 2.5 rounds to 2
    };
    for (const auto& [typed, text, other, expected] : cases) {
        typed->setText(QString::fromLatin1(text));
        EXPECT_EQ(other->text(), QLatin1String(expected)) << text;
    }
    EXPECT_EQ(w->editView().widthBox()->text(), QStringLiteral("5"));
    w->editView().keepRatio()->setChecked(false);
    w->editView().widthBox()->setText(QStringLiteral("99"));
    EXPECT_EQ(w->editView().heightBox()->text(), QStringLiteral("2"));
}

TEST_F(GeometryPanelTest, EditViewEntryWithTheLockOnKeepsTheImageSize) {
    w->editView().keepRatio()->setChecked(true);
    w->editView().CmdPreviewEdit_Click();
    const QImage other = gradient(64, 48);
    w->previewPane().box()->box().setImage(other);
    OriginalImageData = w->previewPane().box()->box().Picture();
    w->editView().CmdPreviewEdit_Click();
    EXPECT_EQ(w->editView().widthBox()->text(), QStringLiteral("64"));
    EXPECT_EQ(w->editView().heightBox()->text(), QStringLiteral("48"));
}

TEST_F(GeometryPanelTest, KeyInRefillsOnlyRightAndBottom) {
    choose("Crop");
    w->editView().cropOptions()[0]->setChecked(true);
    w->editView().cropLeftBox()->setText(QStringLiteral("3"));
    w->editView().cropTopBox()->setText(QStringLiteral("4"));
    w->editView().cropRightBox()->setText(QStringLiteral("5"));
    w->editView().cropBottomBox()->setText(QStringLiteral("6"));
    w->editView().cropOptions()[1]->setChecked(true);
    EXPECT_EQ(w->editView().cropLeftBox()->text(), QStringLiteral("3"));
    EXPECT_EQ(w->editView().cropTopBox()->text(), QStringLiteral("4"));
    EXPECT_EQ(w->editView().cropRightBox()->text(), QStringLiteral("100"));
    EXPECT_EQ(w->editView().cropBottomBox()->text(), QStringLiteral("50"));
    EXPECT_EQ(picbasket::Setup.TaskDefaults.CropMode, 1);
    EXPECT_TRUE(w->editView().taskOptionsChanged());
    EXPECT_TRUE(w->editView().applyButton()->isEnabled());
}

TEST_F(GeometryPanelTest, RotatePresetsAndTypedAnglesKeepTheirText) {
    choose("Rotate");
    w->editView().angleButtons()[3]->click();
    EXPECT_EQ(w->editView().degreesBox()->text(), QStringLiteral("-45"));
    EXPECT_EQ(w->editView().degreesBar()->value(), -45);
    // The focus-out clamp keeps the preset and shows a large angle normalised.
    w->editView().degreesBox()->setText(QStringLiteral("-45"));
    emit w->editView().degreesBox()->editingFinished();
    EXPECT_EQ(w->editView().degreesBox()->text(), QStringLiteral("-45"));
    w->editView().degreesBox()->setText(QStringLiteral("300"));
    emit w->editView().degreesBox()->editingFinished();
    EXPECT_EQ(w->editView().degreesBox()->text(), QStringLiteral("300"));
    EXPECT_EQ(w->editView().degreesBar()->value(), -60);
    w->editView().degreesBox()->setText(QStringLiteral("400"));
    emit w->editView().degreesBox()->editingFinished();
    EXPECT_EQ(w->editView().degreesBox()->text(), QStringLiteral("360"));
    EXPECT_EQ(w->editView().degreesBar()->value(), 0);
}

TEST_F(GeometryPanelTest, StoredOptionsLoadAndConfirmedOptionsStore) {
    picbasket::Setup.TaskDefaults.RotateDegrees = 30;
    choose("Rotate");
    EXPECT_EQ(w->editView().degreesBox()->text(), QStringLiteral("30"));
    EXPECT_TRUE(w->editView().taskOptionsChanged());
    EXPECT_FALSE(w->editView().backColourFrame()->isHidden());
    picbasket::Setup.TaskDefaults.RotateDegrees = 0;
    choose("Rotate");
    choose("Rotate");
    EXPECT_FALSE(w->editView().taskOptionsChanged()) << "angle 0 with the controls already at 0";

    choose("Canvas");
    w->editView().canvasBoxes()[1]->setText(QStringLiteral("25"));
    w->editView().subSaveTaskOptions();
    EXPECT_EQ(picbasket::Setup.TaskDefaults.CanvasCustom[1], 25);
    choose("Flip");
    EXPECT_TRUE(w->editView().backColourFrame()->isHidden());
}

TEST_F(GeometryPanelTest, CropByMouseUsesTheBoxSelectionWhenFittedAndGripsAtActualSize) {
    choose("Crop");
    w->editView().cropOptions()[0]->setChecked(true);
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
        w->editView().cropMouseToggle()->setChecked(false);
        box.setAutoZoom(c.fit);
        box.setWidth(c.holder.width());
        box.setHeight(c.holder.height());
        w->editView().cropMouseToggle()->setChecked(true);
        EXPECT_TRUE(w->previewPane().selection()->CropByMouseActive);
        EXPECT_TRUE(w->editView().taskOptionsChanged());
        EXPECT_EQ(box.ActiveSelectionTool() == ImageBox::RectangleTool, c.boxTool);
        EXPECT_EQ(w->previewPane().selection()->PreviewMouseMode, c.boxTool ? 0 : 1);
        EXPECT_EQ(w->previewPane().selection()->PreviewToolMode, c.boxTool ? 0 : 2);
    }
}

TEST_F(GeometryPanelTest, MouseCropAtActualSizeCropsTheDraggedRectangle) {
    choose("Crop");
    w->editView().cropOptions()[0]->setChecked(true);
    ImageBox& box = w->previewPane().box()->box();
    box.setAutoZoom(false);
    w->editView().cropMouseToggle()->setChecked(true);
    SelectionController* s = w->previewPane().selection();
    // A drag to the upper left, ending past the image's top edge.
    s->mouseDown(1, 60, 40);
    s->mouseMove(10, -5);
    s->mouseUp(1, 10, -5);
    ASSERT_TRUE(w->editView().taskOptionsChanged());
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
    w->editView().cropOptions()[0]->setChecked(true);
    w->previewPane().box()->box().setAutoZoom(false);
    w->editView().cropMouseToggle()->setChecked(true);
    w->previewPane().selection()->mouseDown(1, 20, 20);
    w->previewPane().selection()->mouseUp(1, 20, 20);
    const size_t before = messages.shown().size();
    EXPECT_FALSE(w->editView().cmdApply_Click());
    EXPECT_EQ(messages.shown().size(), before + 1);
    EXPECT_EQ(shown(), rgb(original));
}

TEST_F(GeometryPanelTest, LeavingTheEditViewEndsEveryPickMode) {
    choose("Crop");
    w->editView().backColourPick()->setChecked(true);
    EXPECT_EQ(w->previewPane().selection()->PreviewToolMode, 4);
    w->editView().locationPick()->setChecked(true);
    EXPECT_TRUE(w->previewPane().selection()->LocationPickMode);
    w->editView().cropOptions()[0]->setChecked(true);
    w->editView().cropMouseToggle()->setChecked(true);
    w->editView().CmdPreviewEdit_Click();
    ASSERT_FALSE(w->editView().fncIsEditView());
    EXPECT_EQ(w->previewPane().selection()->PreviewToolMode, 0);
    EXPECT_EQ(w->previewPane().selection()->PreviewMouseMode, 0);
    EXPECT_FALSE(w->previewPane().selection()->LocationPickMode);
    EXPECT_FALSE(w->previewPane().selection()->CropByMouseActive);
    EXPECT_FALSE(w->editView().cropMouseToggle()->isChecked());
    EXPECT_FALSE(w->editView().locationPick()->isChecked());
    EXPECT_FALSE(w->editView().backColourPick()->isChecked());
}

// The rectangle dragged on the preview at actual size is erased, grips and all, by each
// step that ends the drag: another task, the Preview that crops it, leaving the view.
TEST_F(GeometryPanelTest, TheDraggedRectangleIsErasedWhenTheDragEnds) {
    const std::pair<const char*, std::function<void(frmMain&)>> ends[] = {
        {"another task", [this](frmMain&) { choose("Rotate"); }},
        {"Preview", [](frmMain& f) { ASSERT_TRUE(f.editView().cmdApply_Click()); }},
        {"leaving", [](frmMain& f) { f.editView().CmdPreviewEdit_Click(); }},
    };
    for (const auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        if (!w->editView().fncIsEditView())
            w->editView().CmdPreviewEdit_Click();
        choose("Crop");
        w->editView().cropOptions()[0]->setChecked(true);
        w->previewPane().box()->box().setAutoZoom(false);
        w->editView().cropMouseToggle()->setChecked(true);
        SelectionController* s = w->previewPane().selection();
        s->mouseDown(1, 20, 10);
        s->mouseMove(70, 40);
        s->mouseUp(1, 70, 40);
        ASSERT_NE(s->SelX2, 0);
        ASSERT_TRUE(std::any_of(s->Grips.begin(), s->Grips.end(),
                                [](const SelectionController::Grip& g) { return g.Visible; }));
        end(*w);
        EXPECT_EQ(std::vector<int>({s->SelX1, s->SelY1, s->SelX2, s->SelY2}),
                  std::vector<int>({0, 0, 0, 0}));
        EXPECT_TRUE(std::none_of(s->Grips.begin(), s->Grips.end(),
                                 [](const SelectionController::Grip& g) { return g.Visible; }));
        w->previewPane().box()->box().setImage(original);
        ConfirmedImageData = w->previewPane().box()->box().Picture();
    }
}

TEST_F(GeometryPanelTest, AColourPickFillsTheSwatchAndEndsWithTheClick) {
    choose("Rotate");
    ImageBox& box = w->previewPane().box()->box();
    box.setAutoZoom(false);
    w->subResize();
    w->editView().backColourPick()->setChecked(true);
    w->editView().setTaskOptionsChanged(false);
    w->previewPane().selection()->mouseDown(1, 30, 20);
    EXPECT_EQ(w->editView().backColourButton()->BackColor(), box.PixelColor(30, 20));
    EXPECT_TRUE(w->editView().taskOptionsChanged());
    w->previewPane().selection()->mouseUp(1, 30, 20);
    EXPECT_FALSE(w->editView().backColourPick()->isChecked());
    EXPECT_EQ(w->previewPane().selection()->PreviewToolMode, 0);
}
