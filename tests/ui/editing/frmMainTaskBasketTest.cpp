#include "controls/dialogs/DialogBackend.h"
#include "controls/dialogs/FakeDialogBackend.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "editing/ColorButton.h"
#include "editing/EditImageData.h"
#include "editing/TaskBasketReplay.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/ui/editing/EditingWindowFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace picbasket;
using picbasket::test::EditingWindowTest;
using picbasket::test::gradient;
using picbasket::test::rgb;

namespace {

QImage decoded(const QImage& held) {
    ImageBox box;
    box.setImage(held);
    return rgb(box.image());
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The edit view on a 100 x 50 image with an empty task basket.
class TaskBasketTest : public EditingWindowTest {
protected:
    void SetUp() override {
        EditingWindowTest::SetUp();
        startOn(gradient(100, 50));
        previous = setDialogBackend(&dialogs);
    }
    void TearDown() override {
        setDialogBackend(previous);
        EditingWindowTest::TearDown();
    }

    // Rotate by 90 degrees, a canvas of 4 pixels all round, and a vertical flip,
    // each confirmed with the edit view's button.
    void confirmThree() {
        choose("Rotate");
        w->editView().degreesBox()->setText(QStringLiteral("90"));
        w->editView().confirmButton()->click();
        choose("Canvas");
        for (QLineEdit* box : w->editView().canvasBoxes())
            box->setText(QStringLiteral("4"));
        w->editView().confirmButton()->click();
        choose("Flip");
        w->editView().flipOptions()[1]->setChecked(true);
        w->editView().confirmButton()->click();
        ASSERT_EQ(w->editView().taskRows().rowCount(), 3);
    }

    // The whole basket run by the engine on the image as loaded.
    QImage independentReplay() const {
        ImageBox box;
        box.setImage(OriginalImageData);
        fncRunTaskRows(w->editView().taskRows(), box);
        return rgb(box.image());
    }

    QImage shown() const { return rgb(w->previewPane().box()->box().image()); }

    QStringList rows(const ListView& list) const {
        QStringList out;
        for (int r = 1; r <= list.Count(); ++r)
            out << list.Text(r);
        return out;
    }

    QStringList batchKeys() const {
        QStringList out;
        for (const TaskRow& row : w->editView().taskRows().rows())
            out << row.Tag;
        return out;
    }

    FakeDialogBackend dialogs;
    DialogBackend* previous = nullptr;
};

} // namespace

TEST_F(TaskBasketTest, ConfirmAddsTheRowToAllThreeListsAndTakesTheCopy) {
    confirmThree();
    EXPECT_EQ(rows(*w->editView().taskList()), (QStringList{"Rotate", "Canvas", "Orientation"}));
    EXPECT_EQ(rows(*w->editView().editTaskList()), rows(*w->editView().taskList()));
    EXPECT_EQ(batchKeys(), (QStringList{"rotate", "canvas", "flip"}));
    EXPECT_EQ(w->editView().taskRows().row(0).SubItems[2], "90");
    EXPECT_EQ(shown().size(), QSize(58, 108));
    EXPECT_EQ(decoded(ConfirmedImageData), independentReplay());
    EXPECT_EQ(shown(), independentReplay());
    EXPECT_EQ(CurrentTask.TaskID, 0);
    EXPECT_EQ(w->editView().confirmButton()->text(), "Finish");
    EXPECT_FALSE(w->editView().imageModified());
    EXPECT_EQ(picbasket::Setup.TaskDefaults.RotateDegrees, 90);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(TaskBasketTest, ConfirmWithNothingChangedAddsARowWithEmptySlots) {
    choose("Rotate");
    // As a task whose stored options need no Preview.
    w->editView().setTaskOptionsChanged(false);
    w->editView().cmdOK_Click();
    ASSERT_EQ(w->editView().taskRows().rowCount(), 1);
    const TaskRow& row = w->editView().taskRows().row(0);
    EXPECT_EQ(row.Text, "2");
    for (int k = 1; k <= TaskParamCount; ++k)
        EXPECT_TRUE(row.SubItems[size_t(k)].isEmpty()) << k;
    EXPECT_EQ(shown(), rgb(original));
}

TEST_F(TaskBasketTest, RedEyeIsNeverQueuedButItsPreviewIsConfirmed) {
    choose("RedEye");
    QImage corrected = original;
    corrected.setPixel(5, 5, qRgb(0, 0, 0));
    w->previewPane().box()->box().setImage(corrected);
    w->editView().cmdOK_Click();
    EXPECT_EQ(w->editView().taskRows().rowCount(), 0);
    EXPECT_EQ(w->editView().taskList()->Count(), 0);
    EXPECT_EQ(decoded(ConfirmedImageData), rgb(corrected));
}

TEST_F(TaskBasketTest, AFailedPreviewStopsTheConfirm) {
    choose("Resize");
    w->editView().widthBox()->setText(QStringLiteral("40000"));
    const QImage before = ConfirmedImageData;
    w->editView().cmdOK_Click();
    EXPECT_EQ(w->editView().taskRows().rowCount(), 0);
    EXPECT_EQ(ConfirmedImageData, before);
    EXPECT_EQ(CurrentTask.TaskID, int32_t(TaskType::Resize));
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_F(TaskBasketTest, ResetBeforeAnyPreviewChangesNothing) {
    choose("Rotate");
    w->editView().degreesBox()->setText(QStringLiteral("45"));
    w->editView().cmdReset_Click();
    EXPECT_EQ(w->editView().degreesBox()->text(), "45");
    ASSERT_TRUE(w->editView().cmdApply_Click());
    w->editView().resetButton()->click();
    EXPECT_EQ(shown(), rgb(original));
    EXPECT_EQ(w->editView().degreesBox()->text(), "0");
}

TEST_F(TaskBasketTest, RemoveTakesTheRowSelectedInTheActiveList) {
    confirmThree();
    ASSERT_EQ(ActiveTaskList, 1);
    // Nothing selected: nothing changes.
    w->editView().editTaskButtons()[3]->click();
    EXPECT_EQ(w->editView().taskRows().rowCount(), 3);
    // A selection in the other list does not count.
    w->editView().taskList()->setSelected(1, true);
    w->editView().editTaskButtons()[3]->click();
    EXPECT_EQ(w->editView().taskRows().rowCount(), 3);

    w->editView().editTaskList()->setSelected(2, true);
    w->editView().editTaskButtons()[3]->click();
    EXPECT_EQ(rows(*w->editView().taskList()), (QStringList{"Rotate", "Orientation"}));
    EXPECT_EQ(rows(*w->editView().editTaskList()), rows(*w->editView().taskList()));
    EXPECT_EQ(batchKeys(), (QStringList{"rotate", "flip"}));
    EXPECT_EQ(w->editView().editTaskList()->SelectedCount(), 0);
    EXPECT_EQ(shown(), independentReplay());
    EXPECT_EQ(decoded(ConfirmedImageData), independentReplay());
}

TEST_F(TaskBasketTest, ClearAndOriginalImageGoBackToTheImageAsLoaded) {
    // On an empty basket neither does anything: no question, preview untouched.
    choose("Rotate");
    w->editView().degreesBox()->setText(QStringLiteral("30"));
    ASSERT_TRUE(w->editView().cmdApply_Click());
    const QImage previewed = shown();
    w->editView().editTaskButtons()[0]->click();
    w->editView().cmdOriginalImage_Click();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(shown(), previewed);
    w->editView().cmdReset_Click();

    confirmThree();
    messages.answerNext(mb::No);
    w->editView().cmdOriginalImage_Click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(w->editView().taskRows().rowCount(), 3);
    messages.answerNext(mb::Yes);
    w->editView().cmdOriginalImage_Click();
    EXPECT_EQ(w->editView().taskRows().rowCount(), 0);
    EXPECT_EQ(w->editView().taskList()->Count(), 0);
    EXPECT_EQ(w->editView().editTaskList()->Count(), 0);
    EXPECT_EQ(shown(), rgb(original));
    EXPECT_EQ(ConfirmedImageData, OriginalImageData);
}

// A row click shows the basket up to that row; the next Preview and Confirm start
// from the confirmed image, so the copy stays the whole basket applied.
TEST_F(TaskBasketTest, RowClickThenPreviewStartsFromTheConfirmedImage) {
    confirmThree();
    const QImage confirmed = ConfirmedImageData;
    w->editView().editTaskList()->setSelected(1, true);
    w->editView().lvEditPreview_ItemClick(1);
    EXPECT_EQ(shown().size(), QSize(50, 100));
    EXPECT_EQ(ConfirmedImageData, confirmed);

    // Choosing another task in between does not make the partial image the base.
    choose("Invert");
    ASSERT_TRUE(w->editView().cmdApply_Click());
    w->editView().cmdOK_Click();
    ASSERT_EQ(w->editView().taskRows().rowCount(), 4);
    EXPECT_EQ(shown(), independentReplay());
    EXPECT_EQ(decoded(ConfirmedImageData), independentReplay());

    // A click followed by Confirm of an unchanged task.
    w->editView().editTaskList()->setSelected(2, true);
    w->editView().lvEditPreview_ItemClick(2);
    choose("Crop");
    w->editView().cmdOK_Click();
    EXPECT_EQ(decoded(ConfirmedImageData), independentReplay());
}

TEST_F(TaskBasketTest, RowClickWithoutAnImageOrDuringAReplayDoesNothing) {
    confirmThree();
    // A second click arrives while the first replay lets events run.
    int nested = 0;
    setTaskBusyCursorHook([&](bool busy) {
        if (busy && nested++ == 0) {
            w->editView().lvEditPreview_ItemClick(1);
            w->editView().editTaskButtons()[0]->click();
        }
    });
    w->editView().editTaskList()->setSelected(1, true);
    w->editView().lvEditPreview_ItemClick(1);
    setTaskBusyCursorHook({});
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(w->editView().taskRows().rowCount(), 3);
    EXPECT_EQ(shown().size(), QSize(50, 100));

    w->previewPane().box()->box().setImage(QImage());
    w->editView().lvEditPreview_ItemClick(2);
    EXPECT_FALSE(w->previewPane().box()->box().HasImage());
    EXPECT_TRUE(errors.reports().empty());
}

// Save, clear and open again: the lists come back, every row replays and the copy
// is the whole basket applied; a second save gives the same bytes.
TEST_F(TaskBasketTest, SavedBasketOpensAgainAsTheSamePreview) {
    confirmThree();
    const QImage confirmed = shown();
    const QString file = folder.file("tasks.tbf");
    dialogs.chooseFile(folder.file("tasks"));
    w->editView().editTaskButtons()[2]->click();
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(dialogs.fileRequests()[0].title, "Save task basket");
    const QByteArray saved = bytesOf(file);
    ASSERT_FALSE(saved.isEmpty());

    w->editView().editTaskButtons()[0]->click();
    EXPECT_EQ(shown(), rgb(original));
    w->editView().editTaskList()->setSelected(1, true);
    dialogs.chooseFile(file);
    w->editView().taskListButtons()[1]->click();
    EXPECT_EQ(rows(*w->editView().editTaskList()),
              (QStringList{"Rotate", "Canvas", "Orientation"}));
    EXPECT_EQ(shown(), confirmed);
    EXPECT_EQ(decoded(ConfirmedImageData), confirmed);
    EXPECT_EQ(w->editView().editTaskList()->SelectedCount(), 0);

    dialogs.chooseFile(folder.file("again.tbf"));
    w->editView().taskListButtons()[2]->click();
    EXPECT_EQ(bytesOf(folder.file("again.tbf")), saved);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(TaskBasketTest, FailedOpenOrSaveTellsAndKeepsTheBasket) {
    confirmThree();
    const QString bad = folder.file("bad.tbf");
    QFile out(bad);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("\"2\",\"rotate\"\r\n");
    out.close();
    dialogs.chooseFile(bad);
    w->editView().cmdEditBar_Click(1);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              "Error opening task basket!\r\nPlease select a valid task basket file.");
    EXPECT_EQ(w->editView().taskRows().rowCount(), 3);

    dialogs.chooseFile(folder.file("no folder/x.tbf"));
    w->editView().cmdEditBar_Click(2);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].text, "Error saving task basket!\r\nPlease try again!");

    // Cancelled dialogs and other indexes do nothing.
    dialogs.cancelFile();
    w->editView().cmdEditBar_Click(1);
    w->editView().cmdEditBar_Click(4);
    w->editView().cmdEditBar_Click(-1);
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(w->editView().taskRows().rowCount(), 3);
}

TEST_F(TaskBasketTest, OpeningWithoutAnImageFillsTheListsOnly) {
    confirmThree();
    const QString file = folder.file("t.tbf");
    dialogs.chooseFile(file);
    w->editView().cmdEditBar_Click(2);
    w->editView().cmdEditBar_Click(0);
    const QImage confirmed = ConfirmedImageData;
    w->previewPane().box()->box().setImage(QImage());
    dialogs.chooseFile(file);
    w->editView().cmdEditBar_Click(1);
    EXPECT_EQ(w->editView().taskRows().rowCount(), 3);
    EXPECT_EQ(w->editView().taskList()->Count(), 3);
    EXPECT_FALSE(w->previewPane().box()->box().HasImage());
    EXPECT_EQ(ConfirmedImageData, confirmed);
    EXPECT_TRUE(messages.shown().empty());
}
