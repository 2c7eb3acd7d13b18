// The edit view of the main window: the task chooser in the explorer bar, the
// option panels' host, the edit view's task basket and the switch between the
// explorer view and the edit view.
#include "shell/mainwindow/frmMain.h"

#include "browser/IndexedMenu.h"
#include "browser/SelectionController.h"
#include "controls/buttons/MainWindowPictures.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/dialogs/modCommonDialog.h"
#include "controls/dialogs/modCommonDialogAPI.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "editing/EditImageData.h"
#include "editing/EditViewSplitters.h"
#include "editing/FramePanel.h"
#include "editing/MaskPanel.h"
#include "editing/modTaskBasketFile.h"
#include "editing/OptionControls.h"
#include "editing/PanelLayout.h"
#include "editing/PictureOptions.h"
#include "editing/RedEyePanel.h"
#include "editing/ShadowPanel.h"
#include "editing/TaskBasketReplay.h"
#include "editing/TaskBasketRows.h"
#include "editing/TaskChooser.h"
#include "editing/TaskIcons.h"
#include "editing/TextPanel.h"
#include "editing/TonePanel.h"
#include "editing/WatermarkPanel.h"
#include "editing/frmMain_edit.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/foldertree/FolderTreeview.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

namespace picbasket {

namespace {

constexpr int DialogButtonHeight = 24;
constexpr int DialogButtonWidth = 64;
constexpr int ExplorerBarWidth = 240;
constexpr int BasketListHeight = 110;
constexpr int BasketButtonSize = 24;

} // namespace

// The containers the explorer bar hosts: picDialog with the sixteen option panels
// and the Preview and Confirm buttons below the shown panel, and picEditPreview with
// the edit view's task basket and its four commands.
void frmMain::buildEditView() {
    eb->resize(ExplorerBarWidth, eb->height());
    ilEdit = std::make_shared<KeyedImageList>();
    ilEditRows = std::make_unique<ImageList>();
    for (const QString& key : fncTaskIconKeys()) {
        ilEdit->add(key, fncTaskIcon(key));
        ilEditRows->Add(fncTaskIcon(key), key);
    }
    // The rows show the lower-case task key as their icon.
    ilEditRows->Add(fncTaskIcon(QStringLiteral("RedEye")), QStringLiteral("redeye"));
    lvEdit->setSmallIcons(ilEditRows.get());
    lvEditPreview->setSmallIcons(ilEditRows.get());

    picDialog = new QWidget(preview_->picView);
    picDialog->setObjectName(QStringLiteral("picDialog"));
    picDialog->hide();
    for (QWidget* panel : taskPanels)
        panel->setParent(picDialog);
    QWidget* picNothing = taskPanel(QStringLiteral("picNothing"));
    picNothing->resize(picNothing->width(), 64);
    lblNothing = new QLabel(picNothing);
    lblNothing->setWordWrap(true);
    lblNothing->setGeometry(DialogMargin, DialogMargin, picNothing->width() - 2 * DialogMargin,
                            picNothing->height() - DialogMargin);
    lblNothing->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdApply = new QPushButton(QStringLiteral("Preview"), picDialog);
    cmdOK = new QPushButton(QStringLiteral("Confirm"), picDialog);
    for (QPushButton* button : {cmdApply, cmdOK})
        button->setFixedSize(DialogButtonWidth, DialogButtonHeight);
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    // Reset and the original image sit beside Preview and Confirm.
    for (QPushButton* button : {cmdReset, cmdOriginalImage}) {
        button->setParent(picDialog);
        button->setText(QString());
        button->setFixedSize(DialogButtonHeight, DialogButtonHeight);
        button->show();
    }
    buildSharedOptionControls();
    buildFlipPanel();
    buildRotatePanel();
    buildResizePanel();
    buildCropPanel();
    buildCanvasPanel();
    buildEffectPanels();
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    picEditPreview = new QWidget(preview_->picView);
    picEditPreview->setObjectName(QStringLiteral("picEditPreview"));
    picEditPreview->hide();
    lvEditPreview->setParent(picEditPreview);
    lvEditPreview->setGeometry(DialogMargin, DialogMargin, 200 - 2 * DialogMargin,
                               BasketListHeight);
    lvEditPreview->show();
    for (size_t i = 0; i < cmdEditPreview.size(); ++i) {
        QPushButton* button = cmdEditPreview[i];
        button->setParent(picEditPreview);
        button->setToolTip(cmdEditBar[i]->toolTip());
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(BasketButtonSize, BasketButtonSize);
        button->move(DialogMargin + int(i) * (BasketButtonSize + 2),
                     DialogMargin + BasketListHeight + 4);
        button->show();
    }
    picEditPreview->resize(200, 2 * DialogMargin + BasketListHeight + 4 + BasketButtonSize);

    connect(eb, &isExplorerBar::ItemClick, this,
            [this](const QString& group, const QString& item) { eb_ItemClick(group, item); });
    connect(preview_->CmdPreviewEdit, &QPushButton::clicked, this,
            [this] { CmdPreviewEdit_Click(); });
    setPictureCaption(preview_->CmdPreviewEdit, QStringLiteral("     Edit"));
    connectTaskBasketCommands();
    fitDialogToPanel();
}

QWidget* frmMain::taskPanel(const QString& name) const {
    for (QWidget* panel : taskPanels)
        if (panel->objectName() == name)
            return panel;
    return nullptr;
}

// The dialog stacks the shown panel, the shared colour and location frames while they
// are shown, and the row of Preview, Confirm, Reset and the original image.
void frmMain::fitDialogToPanel() {
    int top = 0;
    for (QWidget* panel : taskPanels)
        if (!panel->isHidden())
            top = std::max(top, panel->y() + panel->height());
    for (QWidget* frame :
         {static_cast<QWidget*>(FrameBackColor), static_cast<QWidget*>(picLocation)}) {
        if (frame->isHidden())
            continue;
        frame->move(DialogMargin, top + DialogMargin / 2);
        top = frame->y() + frame->height();
    }
    top += DialogMargin;
    int x = DialogMargin;
    for (QPushButton* button : {cmdApply, cmdOK, cmdReset, cmdOriginalImage}) {
        button->move(x, top);
        x += button->width() + 4;
    }
    picDialog->resize(std::max(picDialog->width(), x + DialogMargin),
                      top + DialogButtonHeight + DialogMargin);
}

// A picture button's caption: room for the picture and the text, then the picture
// installed again so that it pads the new caption.
void frmMain::setPictureCaption(QPushButton* button, const QString& caption) {
    const bool hadPicture = fncHasButtonPicture(button);
    if (hadPicture)
        subRemoveButtonPicture(button);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(caption) + 50);
    button->setText(caption);
    if (hadPicture)
        subSetButtonPicture(button, fncMainWindowPicture(QStringLiteral("picPreviewEdit")));
}

void frmMain::subSetupExplorerBar() {
    errorTail(QStringLiteral("FrmMain.subSetupExplorerBar"), [&] {
        eb->DisableUpdates(true);
        eb->ClearStructure();
        eb->SetImageList(ilEdit);
        eb->AddSpecialGroup(QStringLiteral("Tasks Chart"), fncTaskChartPicture());
        for (const TaskChooserItem& item : fncTaskChooserItems())
            eb->AddItem(SpecialGroup, item.key, item.caption, ExplorerRef(item.iconKey));
        eb->AddGroup(QStringLiteral("Dialog"), QStringLiteral(" Task Options"));
        eb->SetGroupChild(QStringLiteral("Dialog"), picDialog);
        eb->AddGroup(QStringLiteral("Editing"), QStringLiteral("Task Basket"));
        eb->SetGroupChild(QStringLiteral("Editing"), picEditPreview);
    });
}

void frmMain::eb_ItemClick(const QString& group, const QString& item) {
    errorTail(QStringLiteral("FrmMain.eb_ItemClick"), [&] {
        if (ImageModified) {
            const int answer = msgBox(
                joinLines(
                    {QStringLiteral("The image has been modified!"),
                     QStringLiteral("Do you want to confirm the changes made to the image?")}),
                mb::YesNoCancel | mb::Question, ApplicationTitle);
            if (answer == mb::Yes)
                cmdOK_Click();
            else if (answer == mb::No)
                cmdReset_Click();
            else
                return;
        }
        const bool nothing = item == QLatin1String("Nothing");
        cmdOK->setText(nothing ? QStringLiteral("Finish") : QStringLiteral("Confirm"));
        subEnableApplyButtons(!nothing);
        for (QWidget* panel : taskPanels)
            panel->hide();
        for (int k = 1; k <= TaskParamCount; ++k)
            CurrentTask.Param[size_t(k)].clear();
        CurrentTask.TaskKey = item.toLower();
        if (group.toLower() == QLatin1String("special group")) {
            if (const TaskChooserItem* chosen = fncFindChooserItem(item)) {
                if (chosen->taskId >= 0)
                    CurrentTask.TaskID = chosen->taskId;
                eb->SetGroupCaption(QStringLiteral("Dialog"), chosen->dialogCaption);
                if (QWidget* panel = taskPanel(chosen->panel))
                    panel->show();
                if (chosen->taskId == int32_t(TaskType::Invert))
                    lblNothing->setText(fncInvertHint());
                else if (nothing)
                    lblNothing->setText(fncNothingHint());
            }
        }
        fitDialogToPanel();
        subShowTaskOptions();
    });
}

void frmMain::subEnableApplyButtons(bool enable) {
    cmdApply->setEnabled(enable);
    cmdOK->setEnabled(enable);
}

// The steps every task's options start with; the task's own controls follow.
void frmMain::subShowTaskOptions() {
    errorTail(QStringLiteral("FrmMain.subShowTaskOptions"), [&] {
        TaskOptionsChanged = false;
        ImageModified = false;
        preview_->PreviewUnchanged = true;
        subEndPickModes();
        cmdReset->setEnabled(false);
        subEnableApplyButtons(true);
        cmdOriginalImage->setEnabled(lvEdit->Count() >= 1);
        FrameBackColor->hide();
        picLocation->hide();
        subLoadTaskOptions();
        fitDialogToPanel();
    });
}

bool frmMain::fncIsEditView() const {
    return picbasket::fncIsEditView(*splMain, *splView);
}

void frmMain::subProcessTaskBasket(bool noStop) {
    const ListViewTaskSelection explorerList(*lvEdit);
    const ListViewTaskSelection editList(*lvEditPreview);
    subProcessPages(&explorerList, lvEditBatch, preview_->ibMain->box(), &editList, noStop);
}

void frmMain::CmdPreviewEdit_Click() {
    errorTail(QStringLiteral("FrmMain.CmdPreviewEdit_Click"), [&] {
        ImageBox& box = preview_->ibMain->box();
        if (!box.HasImage())
            return;
        preview_->subClearSelection();
        preview_->PreviewSelection->PreviewMouseMode = SelectionController::Idle;
        box.ClearSelection();
        const bool leaving = fncIsEditView();
        if (leaving)
            subLeaveEditView();
        else
            subEnterEditView();
        subResize();
        if (leaving)
            subRestoreFolderTree();
    });
}

// The tree was hidden and sized anew by the edit view; the place the user left it at is
// put back now and once more after the layout the return queued has run.
void frmMain::subRestoreFolderTree() {
    const FolderTreePlace place = folderTreePlace_;
    const auto restore = [this, place] {
        if (!place.folder.isEmpty() && ftvBrowse->SelectedFolder() != place.folder)
            ftvBrowse->setSelectedFolder(place.folder);
        ftvBrowse->verticalScrollBar()->setValue(place.vertical);
        ftvBrowse->horizontalScrollBar()->setValue(place.horizontal);
    };
    restore();
    QTimer::singleShot(0, this, restore);
}

void frmMain::subLeaveEditView() {
    subAttachForExplorerView(*splMain, *splRight, *splView, preview_->picView);
    ActiveTaskList = 0;
    setPictureCaption(preview_->CmdPreviewEdit, QStringLiteral("     Edit"));
    if (QAction* first = indexedMenuItem(preview_->mnuPreviewParent, 0))
        first->setText(QStringLiteral("Edit/Enhance image"));
    cmdReset_Click();
    subEndPickModes();
    ImageModified = false;
    ConfirmedImageData = QImage();
    preview_->cmdPreviewType->setEnabled(true);
    preview_->ibMain->box().WaitForLoad();
    if (!preview_->PreviewOptimized && !OriginalImageData.isNull())
        preview_->ibMain->box().setImage(OriginalImageData);
}

void frmMain::subEnterEditView() {
    // What the preview shows was run up to the explorer view's selected task row.
    const ListViewTaskSelection shown(*lvEdit);
    const bool wholeBasketShown =
        preview_->PreviewOptimized && fncReplayCoversWholeBasket(shown, lvEditBatch.rowCount());
    folderTreePlace_ = {ftvBrowse->SelectedFolder(), ftvBrowse->verticalScrollBar()->value(),
                        ftvBrowse->horizontalScrollBar()->value()};
    subDetachForEditView(*splMain, *splRight, *splView);
    if (QAction* first = indexedMenuItem(preview_->mnuPreviewParent, 0))
        first->setText(QStringLiteral("Back to Explorer view"));
    ActiveTaskList = 1;
    preview_->cmdPreviewType->setEnabled(false);
    subStartEditingImage(wholeBasketShown);
    setPictureCaption(preview_->CmdPreviewEdit, QStringLiteral("     Finish"));
}

// The edit view's start on the shown image, on entry and whenever another image is
// shown while editing: the image's size, no task chosen, the preview made the whole
// task basket applied to the image as loaded, and that taken as the confirmed state.
void frmMain::subStartEditingImage(bool wholeBasketShown) {
    ImageBox& box = preview_->ibMain->box();
    box.WaitForLoad();
    EditOriginalWidth = box.ImageWidth();
    EditOriginalHeight = box.ImageHeight();
    subFillEditSizeBoxes();
    CurrentTask.TaskID = int32_t(TaskType::None);
    ImageModified = false;
    eb_ItemClick(SpecialGroup, QStringLiteral("Nothing"));
    if (!wholeBasketShown && !lvEditBatch.isEmpty() && !OriginalImageData.isNull()) {
        box.setImage(OriginalImageData);
        subProcessTaskBasket(true);
        subResize();
    }
    ConfirmedImageData = box.Picture();
}

// Another image came into the preview while the edit view is shown: editing starts
// again on it. The load replayed the basket when the preview is optimized, up to the
// edit view's selected row.
void frmMain::subEditViewImageChanged() {
    errorTail(QStringLiteral("FrmMain.subEditViewImageChanged"), [&] {
        if (!fncIsEditView() || !preview_->ibMain->box().HasImage())
            return;
        const ListViewTaskSelection shown(*lvEditPreview);
        subStartEditingImage(preview_->PreviewOptimized &&
                             fncReplayCoversWholeBasket(shown, lvEditBatch.rowCount()));
    });
}

// The Resize panel's size boxes take the image's size on entry.
void frmMain::subFillEditSizeBoxes() {
    txtResizeWidth->setText(QString::number(preview_->ibMain->box().ImageWidth()));
    txtResizeHeight->setText(QString::number(preview_->ibMain->box().ImageHeight()));
}

void frmMain::subMarkOptionsChanged() {
    TaskOptionsChanged = true;
    subEnableApplyButtons(true);
}

} // namespace picbasket
