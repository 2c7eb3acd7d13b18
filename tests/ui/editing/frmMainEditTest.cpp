#include "browser/IndexedMenu.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "editing/EditImageData.h"
#include "editing/TaskBasketRows.h"
#include "editing/TaskChooser.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ListView.h"
#include "platform/foldertree/FolderTreeview.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/ui/editing/EditPictures.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace picbasket;
using picbasket::test::MainWindowTest;
using picbasket::test::gradient;

namespace {

// An edit view whose confirm and reset only say that they ran.
class RecordingEditView : public EditView {
public:
    using EditView::EditView;
    QStringList calls;
    void cmdOK_Click() override { calls << QStringLiteral("OK"); }
    void cmdReset_Click() override { calls << QStringLiteral("Reset"); }
};

std::unique_ptr<EditView> makeRecordingEditView(PaneWindow& window, EditViewHost& host,
                                                QWidget* dialogParent) {
    return std::make_unique<RecordingEditView>(window, host, dialogParent);
}

QImage decoded(const QImage& held) {
    ImageBox box;
    box.setImage(held);
    return box.image().convertToFormat(QImage::Format_RGB32);
}

typTask task(TaskType type, const QString& key, std::initializer_list<QString> params = {}) {
    typTask t;
    t.TaskID = int32_t(type);
    t.TaskKey = key;
    int k = 1;
    for (const QString& p : params)
        t.Param[size_t(k++)] = p;
    return t;
}

class EditViewTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CurrentTask = {};
        ActiveTaskList = 0;
        OriginalImageData = QImage();
        ConfirmedImageData = QImage();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        OriginalImageData = QImage();
        ConfirmedImageData = QImage();
        ActiveTaskList = 0;
    }

    frmMain& startWith(const EditViewFactory& makeEditView = {}) {
        auto* created = new frmMain(nullptr, makeEditView);
        window.reset(created);
        EXPECT_TRUE(created->Form_Load());
        created->resize(1000, 700);
        created->show();
        QApplication::processEvents();
        // The preview shows images as loaded unless a test says otherwise.
        created->previewPane().setOptimized(false);
        return *created;
    }

    // What a preview load leaves: the image shown and its copy as loaded.
    static void show(frmMain& w, const QImage& image) {
        w.previewPane().box()->box().setImage(image);
        OriginalImageData = w.previewPane().box()->box().Picture();
        w.subResize();
    }

    // A mirror image, then its negative.
    static void addFlipAndInvert(frmMain& w) {
        TaskBasketRows basket = w.editView().taskBasket();
        basket.add(task(TaskType::Flip, QStringLiteral("flip"), {QStringLiteral("0")}));
        basket.add(task(TaskType::Invert, QStringLiteral("invert")));
    }

    static QImage bothApplied(const QImage& image) {
        QImage result = image.mirrored(true, false).convertToFormat(QImage::Format_RGB32);
        result.invertPixels();
        return result;
    }

    static QStringList visiblePanels(const frmMain& w) {
        QStringList shown;
        for (QWidget* panel : w.editView().optionPanels())
            if (!panel->isHidden())
                shown << panel->objectName();
        return shown;
    }
};

} // namespace

TEST_F(EditViewTest, ChooserHoldsTheSixteenTasksAndTwoGroups) {
    frmMain& w = startWith();
    const ExplorerBarModel& model = w.editView().explorerBar()->model();
    const typSpecialGroup& special = model.specialGroup();
    EXPECT_TRUE(special.Visible);
    EXPECT_EQ(special.Caption, QStringLiteral("Tasks Chart"));
    EXPECT_FALSE(special.Icon.isNull());
    const auto& items = fncTaskChooserItems();
    ASSERT_EQ(special.ItemCount(), int(items.size()));
    for (int i = 1; i <= special.ItemCount(); ++i) {
        const typExplorerItem& item = special.item(i);
        const TaskChooserItem& wanted = items[size_t(i - 1)];
        SCOPED_TRACE(wanted.key.toStdString());
        EXPECT_EQ(item.Key, wanted.key);
        EXPECT_EQ(item.Caption, wanted.caption);
        ASSERT_GE(item.Icon, 1);
        EXPECT_EQ(model.imageList()->key(item.Icon), wanted.iconKey);
    }
    ASSERT_EQ(model.GroupCount(), 2);
    EXPECT_EQ(model.group(1).Key, QStringLiteral("Dialog"));
    EXPECT_EQ(model.group(1).Caption, QStringLiteral(" Task Options"));
    EXPECT_EQ(model.group(1).Child, w.editView().optionsDialog());
    EXPECT_EQ(model.group(2).Key, QStringLiteral("Editing"));
    EXPECT_EQ(model.group(2).Caption, QStringLiteral("Task Basket"));
    EXPECT_EQ(model.group(2).Child, w.editView().editTaskHost());
    EXPECT_EQ(w.editView().editTaskList()->parentWidget(), w.editView().editTaskHost());
    for (QWidget* panel : w.editView().optionPanels())
        EXPECT_EQ(panel->parentWidget(), w.editView().optionsDialog());
}

TEST_F(EditViewTest, ItemClickChoosesTheTaskAndShowsItsPanelOnly) {
    frmMain& w = startWith();
    for (const TaskChooserItem& item : fncTaskChooserItems()) {
        SCOPED_TRACE(item.key.toStdString());
        CurrentTask.Param[3] = QStringLiteral("left over");
        emit w.editView().explorerBar()->ItemClick(QStringLiteral("Special Group"), item.key);
        EXPECT_EQ(CurrentTask.TaskID, item.taskId);
        EXPECT_EQ(CurrentTask.TaskKey, item.key.toLower());
        for (int k = 1; k <= TaskParamCount; ++k)
            EXPECT_TRUE(CurrentTask.Param[size_t(k)].isEmpty()) << k;
        EXPECT_EQ(w.editView().explorerBar()->model().group(1).Caption, item.dialogCaption);
        EXPECT_EQ(visiblePanels(w), QStringList{item.panel});
        EXPECT_EQ(w.editView().confirmButton()->text(), QStringLiteral("Confirm"));
        EXPECT_FALSE(w.editView().imageModified());
        EXPECT_TRUE(w.previewPane().unchanged());
        // Preview and Confirm are ready at once, but for the two tasks that need a
        // region marked on the image first.
        const bool ready = item.key != QLatin1String("Crop") && item.key != QLatin1String("RedEye");
        EXPECT_EQ(w.editView().applyButton()->isEnabled(), ready);
        EXPECT_EQ(w.editView().confirmButton()->isEnabled(), ready);
    }
    EXPECT_EQ(CurrentTask.TaskKey, QStringLiteral("redeye"));
    emit w.editView().explorerBar()->ItemClick(QStringLiteral("Special Group"),
                                               QStringLiteral("Invert"));
    EXPECT_EQ(w.editView().nothingHint()->text(), fncInvertHint());
}

TEST_F(EditViewTest, NothingShowsTheHintWithFinishOnly) {
    frmMain& w = startWith();
    emit w.editView().explorerBar()->ItemClick(QStringLiteral("Special Group"),
                                               QStringLiteral("Rotate"));
    w.editView().eb_ItemClick(QStringLiteral("Special Group"), QStringLiteral("Nothing"));
    // The task number stays as it was; the edit view sets it to None first.
    EXPECT_EQ(CurrentTask.TaskID, int32_t(TaskType::Rotate));
    EXPECT_EQ(CurrentTask.TaskKey, QStringLiteral("nothing"));
    EXPECT_EQ(w.editView().nothingHint()->text(), fncNothingHint());
    EXPECT_EQ(w.editView().explorerBar()->model().group(1).Caption, QStringLiteral("Options"));
    EXPECT_EQ(visiblePanels(w), QStringList{QStringLiteral("picNothing")});
    EXPECT_EQ(w.editView().confirmButton()->text(), QStringLiteral("Finish"));

    CurrentTask.TaskID = int32_t(TaskType::None);
    w.editView().eb_ItemClick(QStringLiteral("Special Group"), QStringLiteral("Nothing"));
    EXPECT_FALSE(w.editView().applyButton()->isEnabled());
    EXPECT_TRUE(w.editView().confirmButton()->isEnabled());
}

TEST_F(EditViewTest, OtherGroupsAndUnknownKeysChooseNothing) {
    frmMain& w = startWith();
    emit w.editView().explorerBar()->ItemClick(QStringLiteral("Special Group"),
                                               QStringLiteral("Blur"));
    // Step 5 runs only for the special group, and only for a known key.
    const std::pair<const char*, const char*> clicks[] = {{"Dialog", "Rotate"},
                                                          {"special group", "Unknown"}};
    for (const auto& [group, item] : clicks) {
        w.editView().eb_ItemClick(QString::fromLatin1(group), QString::fromLatin1(item));
        EXPECT_EQ(CurrentTask.TaskID, int32_t(TaskType::Blur)) << group;
        EXPECT_EQ(CurrentTask.TaskKey, QString::fromLatin1(item).toLower());
        EXPECT_TRUE(visiblePanels(w).isEmpty()) << group;
    }
    // The group key is compared in lower case.
    w.editView().eb_ItemClick(QStringLiteral("SPECIAL GROUP"), QStringLiteral("Sharpen"));
    EXPECT_EQ(CurrentTask.TaskID, int32_t(TaskType::Sharpen));
}

TEST_F(EditViewTest, ModifiedImageAsksBeforeAnotherTask) {
    frmMain& w = startWith(makeRecordingEditView);
    auto& recorder = static_cast<RecordingEditView&>(w.editView());
    emit w.editView().explorerBar()->ItemClick(QStringLiteral("Special Group"),
                                               QStringLiteral("Rotate"));
    // Answer -> commands run, whether the click went on to the new task.
    const std::tuple<int, const char*, bool> cases[] = {
        {mb::Cancel, "", false}, {mb::Yes, "OK", true}, {mb::No, "Reset", true}};
    for (const auto& [answer, command, wentOn] : cases) {
        SCOPED_TRACE(command);
        w.editView().setImageModified(false);
        emit w.editView().explorerBar()->ItemClick(QStringLiteral("Special Group"),
                                                   QStringLiteral("Rotate"));
        recorder.calls.clear();
        w.editView().setImageModified(true);
        const size_t before = messages.shown().size();
        messages.answerNext(answer);
        emit w.editView().explorerBar()->ItemClick(QStringLiteral("Special Group"),
                                                   QStringLiteral("Blur"));
        ASSERT_EQ(messages.shown().size(), before + 1);
        const MessageRequest& asked = messages.shown().back();
        EXPECT_EQ(asked.text, joinLines({QStringLiteral("The image has been modified!"),
                                         QStringLiteral("Do you want to confirm the changes "
                                                        "made to the image?")}));
        EXPECT_EQ(asked.style, mb::YesNoCancel | mb::Question);
        EXPECT_EQ(recorder.calls, *command ? QStringList{QString::fromLatin1(command)} : QStringList{});
        EXPECT_EQ(CurrentTask.TaskID, int32_t(wentOn ? TaskType::Blur : TaskType::Rotate));
        EXPECT_EQ(visiblePanels(w),
                  QStringList{wentOn ? QStringLiteral("picBlur") : QStringLiteral("picRotate")});
        EXPECT_EQ(w.editView().imageModified(), !wentOn);
    }
    // Unchanged options are dropped without a question.
    const size_t before = messages.shown().size();
    emit w.editView().explorerBar()->ItemClick(QStringLiteral("Special Group"),
                                               QStringLiteral("Crop"));
    EXPECT_EQ(messages.shown().size(), before);
}

TEST_F(EditViewTest, AMouseClickOnAnItemChoosesIt) {
    frmMain& w = startWith();
    show(w, gradient(40, 30));
    w.editView().CmdPreviewEdit_Click();
    QApplication::processEvents();
    const typExplorerItem& resize = w.editView().explorerBar()->model().specialGroup().item(1);
    const QPoint at = resize.ItemRect.toQRect().center();
    QTest::mouseMove(w.editView().explorerBar(), at);
    QTest::mouseClick(w.editView().explorerBar(), Qt::LeftButton, {}, at);
    EXPECT_EQ(CurrentTask.TaskID, int32_t(TaskType::Resize));
    EXPECT_EQ(visiblePanels(w), QStringList{QStringLiteral("picResize")});
}

TEST_F(EditViewTest, SwitchWithoutAnImageDoesNothing) {
    frmMain& w = startWith();
    w.editView().CmdPreviewEdit_Click();
    EXPECT_FALSE(w.editView().fncIsEditView());
    EXPECT_EQ(w.splMain->LeftOrTopControl(), w.splRight);
    EXPECT_EQ(ActiveTaskList, 0);
    EXPECT_EQ(w.previewPane().editButton()->text().trimmed(), QStringLiteral("Edit"));
}

TEST_F(EditViewTest, SwitchTogglesTheSplittersCaptionsAndActiveList) {
    frmMain& w = startWith();
    show(w, gradient(40, 30));
    w.editView().CmdPreviewEdit_Click();
    EXPECT_TRUE(w.editView().fncIsEditView());
    EXPECT_EQ(w.splMain->LeftOrTopControl(), nullptr);
    EXPECT_EQ(w.splRight->RightOrBottomControl(), nullptr);
    EXPECT_EQ(w.splView->LeftOrTopControl(), nullptr);
    EXPECT_EQ(ActiveTaskList, 1);
    EXPECT_TRUE(w.previewPane().editButton()->text().endsWith(QStringLiteral("     Finish")));
    EXPECT_FALSE(w.previewPane().typeButton()->isEnabled());
    EXPECT_EQ(w.editView().originalWidth(), 40);
    EXPECT_EQ(w.editView().originalHeight(), 30);
    EXPECT_EQ(CurrentTask.TaskID, int32_t(TaskType::None));
    EXPECT_EQ(w.editView().confirmButton()->text(), QStringLiteral("Finish"));
    EXPECT_TRUE(w.editView().explorerBar()->isVisible());
    EXPECT_FALSE(ConfirmedImageData.isNull());
    EXPECT_EQ(indexedMenuItem(w.previewPane().previewMenu(), 0)->text(), "Back to Explorer view");

    // Finish leaves the edit view.
    w.editView().confirmButton()->click();
    EXPECT_FALSE(w.editView().fncIsEditView());
    EXPECT_EQ(w.splMain->LeftOrTopControl(), w.splRight);
    EXPECT_EQ(w.splRight->RightOrBottomControl(), w.splView);
    EXPECT_EQ(w.splView->LeftOrTopControl(), w.previewPane().view());
    EXPECT_EQ(ActiveTaskList, 0);
    EXPECT_TRUE(w.previewPane().editButton()->text().endsWith(QStringLiteral("     Edit")));
    EXPECT_TRUE(w.previewPane().typeButton()->isEnabled());
    EXPECT_TRUE(ConfirmedImageData.isNull());
    EXPECT_FALSE(w.editView().explorerBar()->isVisible());
    EXPECT_TRUE(w.picBrowse->isVisible());
    EXPECT_EQ(indexedMenuItem(w.previewPane().previewMenu(), 0)->text(), "Edit/Enhance image");

    // The preview menu's first item switches too, and its caption follows each way.
    w.previewPane().mnuPreview_Click(0);
    EXPECT_TRUE(w.editView().fncIsEditView());
    EXPECT_EQ(indexedMenuItem(w.previewPane().previewMenu(), 0)->text(), "Back to Explorer view");
    w.previewPane().mnuPreview_Click(0);
    EXPECT_FALSE(w.editView().fncIsEditView());
    EXPECT_EQ(indexedMenuItem(w.previewPane().previewMenu(), 0)->text(), "Edit/Enhance image");
}

// The folder tree is hidden while editing; back in the explorer view it shows the
// folder it showed, where it showed it, not the top of the tree.
TEST_F(EditViewTest, TheFolderTreeKeepsItsFolderAndScrollAcrossTheSwitch) {
    QString deep = folder.path();
    for (int i = 0; i < 12; ++i)
        deep += QStringLiteral("/level%1").arg(i);
    ASSERT_TRUE(QDir().mkpath(deep));
    frmMain& w = startWith();
    w.resize(1000, 500);
    ASSERT_TRUE(w.folderPane().tree()->setSelectedFolder(deep));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w.folderPane().tree()->verticalScrollBar()->value() > 0; }, 10000));
    QTest::qWait(300);
    const int scrolled = w.folderPane().tree()->verticalScrollBar()->value();
    show(w, gradient(40, 30));
    w.editView().CmdPreviewEdit_Click();
    QTest::qWait(100);
    w.editView().confirmButton()->click();
    QTest::qWait(200);
    EXPECT_EQ(w.folderPane().tree()->SelectedFolder(), deep);
    // The pane may come back a few rows taller or shorter (the tree's folder model
    // still fills in under a loaded machine), which moves the range by as much; the
    // fault was a tree back at its top.
    const QScrollBar* bar = w.folderPane().tree()->verticalScrollBar();
    EXPECT_GT(bar->value(), 0);
    EXPECT_NEAR(bar->value(), std::min(scrolled, bar->maximum()), 3);
    const QRect shown =
        w.folderPane().tree()->visualRect(w.folderPane().tree()->currentIndex());
    EXPECT_GE(shown.top(), 0);
    EXPECT_LE(shown.bottom(), w.folderPane().tree()->viewport()->height());
}

TEST_F(EditViewTest, EntryAppliesTheWholeBasketWhateverRowIsSelected) {
    frmMain& w = startWith();
    const QImage original = gradient(40, 30);
    show(w, original);
    addFlipAndInvert(w);
    w.editView().taskList()->setSelected(1, true);
    // The explorer view's preview shows the basket up to row 1: mirrored only.
    w.editView().subProcessTaskBasket(false);
    ASSERT_EQ(w.previewPane().box()->box().image().convertToFormat(QImage::Format_RGB32),
              original.mirrored(true, false).convertToFormat(QImage::Format_RGB32));
    w.editView().CmdPreviewEdit_Click();
    EXPECT_EQ(decoded(ConfirmedImageData), bothApplied(original));
    EXPECT_EQ(w.previewPane().box()->box().image().convertToFormat(QImage::Format_RGB32), bothApplied(original));

    // Leaving shows the image as loaded again.
    w.editView().CmdPreviewEdit_Click();
    EXPECT_EQ(w.previewPane().box()->box().image().convertToFormat(QImage::Format_RGB32),
              original.convertToFormat(QImage::Format_RGB32));
}

TEST_F(EditViewTest, OptimizedPreviewOfTheWholeBasketIsNotAppliedTwice) {
    frmMain& w = startWith();
    w.previewPane().setOptimized(true);
    const QImage original = gradient(40, 30);
    show(w, original);
    addFlipAndInvert(w);
    // The optimized load ran every row (none selected).
    w.editView().subProcessTaskBasket(false);
    w.editView().CmdPreviewEdit_Click();
    EXPECT_EQ(decoded(ConfirmedImageData), bothApplied(original));
    // Leaving keeps the optimized preview.
    w.editView().CmdPreviewEdit_Click();
    EXPECT_EQ(w.previewPane().box()->box().image().convertToFormat(QImage::Format_RGB32), bothApplied(original));
}

TEST_F(EditViewTest, OptimizedPreviewStoppedEarlyIsReplayedWhole) {
    frmMain& w = startWith();
    w.previewPane().setOptimized(true);
    const QImage original = gradient(40, 30);
    show(w, original);
    addFlipAndInvert(w);
    w.editView().taskList()->setSelected(1, true);
    w.editView().subProcessTaskBasket(false);
    w.editView().CmdPreviewEdit_Click();
    EXPECT_EQ(decoded(ConfirmedImageData), bothApplied(original));
}

TEST_F(EditViewTest, AnotherImageStartsEditingAgain) {
    frmMain& w = startWith();
    show(w, gradient(40, 30));
    addFlipAndInvert(w);
    w.editView().CmdPreviewEdit_Click();
    emit w.editView().explorerBar()->ItemClick(QStringLiteral("Special Group"),
                                               QStringLiteral("Blur"));
    w.editView().setImageModified(true);

    const QImage next = gradient(24, 50, 99);
    show(w, next);
    const size_t before = messages.shown().size();
    w.editView().subEditViewImageChanged();
    EXPECT_EQ(messages.shown().size(), before) << "the old image's change is not offered";
    EXPECT_EQ(w.editView().originalWidth(), 24);
    EXPECT_EQ(w.editView().originalHeight(), 50);
    EXPECT_EQ(CurrentTask.TaskID, int32_t(TaskType::None));
    EXPECT_EQ(w.editView().confirmButton()->text(), QStringLiteral("Finish"));
    EXPECT_EQ(decoded(ConfirmedImageData), bothApplied(next));
    EXPECT_TRUE(w.editView().fncIsEditView());
}

TEST_F(EditViewTest, MetadataPaneChangesInTheEditViewShowAfterLeaving) {
    frmMain& w = startWith();
    show(w, gradient(40, 30));
    w.editView().CmdPreviewEdit_Click();
    // Previewing a file without metadata, then one with, while editing.
    const std::pair<bool, QWidget*> cases[] = {{false, nullptr},
                                               {true, static_cast<QWidget*>(&w.metadataPane())}};
    for (const auto& [shown, pane] : cases) {
        w.subShowMetadataPane(shown, shown);
        EXPECT_TRUE(w.editView().fncIsEditView());
        EXPECT_EQ(w.splView->RightOrBottomControl(), pane);
    }
    w.subShowMetadataPane(false, false);
    w.editView().CmdPreviewEdit_Click();
    EXPECT_EQ(w.splView->LeftOrTopControl(), nullptr);
    EXPECT_EQ(w.splView->RightOrBottomControl(), nullptr);
    EXPECT_FALSE(w.metadataPane().isVisible());
}
