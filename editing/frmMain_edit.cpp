// The edit view of the main window: the task chooser in the explorer bar, the
// option panels' host, the edit view's task basket and the switch between the
// explorer view and the edit view.
#include "shell/mainwindow/frmMain.h"

#include "controls/buttons/modButtonPicture.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "editing/EditViewSplitters.h"
#include "editing/TaskBasketRows.h"
#include "editing/TaskChooser.h"
#include "editing/TaskIcons.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/MainWindowGlobals.h"
#include "shell/mainwindow/MainWindowPictures.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace picbasket {

namespace {

constexpr int DialogButtonHeight = 24;
constexpr int DialogButtonWidth = 80;
constexpr int DialogMargin = 6;
constexpr int BasketListHeight = 110;
constexpr int BasketButtonSize = 24;

const QString SpecialGroup = QStringLiteral("Special Group");

} // namespace

// The containers the explorer bar hosts: picDialog with the sixteen option panels
// and the Preview and Confirm buttons below the shown panel, and picEditPreview with
// the edit view's task basket and its four commands.
void frmMain::buildEditView() {
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

    picDialog = new QWidget(picView);
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
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    picEditPreview = new QWidget(picView);
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
    connect(CmdPreviewEdit, &QPushButton::clicked, this, [this] { CmdPreviewEdit_Click(); });
    setPictureCaption(CmdPreviewEdit, QStringLiteral("     Edit"));
    fitDialogToPanel();
}

QWidget* frmMain::taskPanel(const QString& name) const {
    for (QWidget* panel : taskPanels)
        if (panel->objectName() == name)
            return panel;
    return nullptr;
}

// The dialog is as tall as the shown panel, with the two buttons in a row below it.
void frmMain::fitDialogToPanel() {
    int panelHeight = 0;
    for (QWidget* panel : taskPanels)
        if (!panel->isHidden())
            panelHeight = std::max(panelHeight, panel->y() + panel->height());
    const int top = panelHeight + DialogMargin;
    cmdApply->move(DialogMargin, top);
    cmdOK->move(cmdApply->x() + DialogButtonWidth + DialogMargin, top);
    picDialog->resize(std::max(picDialog->width(), cmdOK->x() + DialogButtonWidth + DialogMargin),
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
        CurrentActivity = QStringLiteral("Setting up the task chart");
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
        PreviewUnchanged = true;
        ibMain->box().ClearSelection();
        cmdReset->setEnabled(false);
        subEnableApplyButtons(true);
        cmdOriginalImage->setEnabled(lvEdit->Count() >= 1);
        if (CurrentTask.TaskID == int32_t(TaskType::None)) {
            subEnableApplyButtons(false);
            cmdOK->setEnabled(true);
        }
    });
}

bool frmMain::fncIsEditView() const {
    return picbasket::fncIsEditView(*splMain, *splView);
}

void frmMain::subProcessTaskBasket(bool noStop) {
    const ListViewTaskSelection explorerList(*lvEdit);
    const ListViewTaskSelection editList(*lvEditPreview);
    subProcessPages(&explorerList, lvEditBatch, ibMain->box(), &editList, noStop);
}

void frmMain::CmdPreviewEdit_Click() {
    errorTail(QStringLiteral("FrmMain.CmdPreviewEdit_Click"), [&] {
        ImageBox& box = ibMain->box();
        if (!box.HasImage())
            return;
        box.ClearSelection();
        if (fncIsEditView())
            subLeaveEditView();
        else
            subEnterEditView();
        subResize();
    });
}

void frmMain::subLeaveEditView() {
    subAttachForExplorerView(*splMain, *splRight, *splView, picView);
    ActiveTaskList = 0;
    setPictureCaption(CmdPreviewEdit, QStringLiteral("     Edit"));
    cmdReset_Click();
    ImageModified = false;
    ConfirmedImageData.clear();
    cmdPreviewType->setEnabled(true);
    if (!PreviewOptimized && !OriginalImageData.isEmpty())
        ibMain->box().LoadFromMemory(ImageBox::FormatTiff, OriginalImageData);
}

void frmMain::subEnterEditView() {
    // What the preview shows was run up to the explorer view's selected task row.
    const ListViewTaskSelection shown(*lvEdit);
    const bool wholeBasketShown =
        PreviewOptimized && fncReplayCoversWholeBasket(shown, lvEditBatch.rowCount());
    subDetachForEditView(*splMain, *splRight, *splView);
    ActiveTaskList = 1;
    cmdPreviewType->setEnabled(false);
    subStartEditingImage(wholeBasketShown);
    setPictureCaption(CmdPreviewEdit, QStringLiteral("     Finish"));
}

// The edit view's start on the shown image, on entry and whenever another image is
// shown while editing: the image's size, no task chosen, the preview made the whole
// task basket applied to the image as loaded, and that taken as the confirmed state.
void frmMain::subStartEditingImage(bool wholeBasketShown) {
    ImageBox& box = ibMain->box();
    EditOriginalWidth = box.ImageWidth();
    EditOriginalHeight = box.ImageHeight();
    subFillEditSizeBoxes();
    CurrentTask.TaskID = int32_t(TaskType::None);
    ImageModified = false;
    eb_ItemClick(SpecialGroup, QStringLiteral("Nothing"));
    if (!wholeBasketShown && !lvEditBatch.isEmpty() && !OriginalImageData.isEmpty()) {
        box.LoadFromMemory(ImageBox::FormatTiff, OriginalImageData);
        subProcessTaskBasket(true);
        subResize();
    }
    ConfirmedImageData = box.SaveToMemory(ImageBox::FormatTiff);
}

// Another image came into the preview while the edit view is shown: editing starts
// again on it. The load replayed the basket when the preview is optimized, up to the
// edit view's selected row.
void frmMain::subEditViewImageChanged() {
    errorTail(QStringLiteral("FrmMain.subEditViewImageChanged"), [&] {
        if (!fncIsEditView() || !ibMain->box().HasImage())
            return;
        const ListViewTaskSelection shown(*lvEditPreview);
        subStartEditingImage(PreviewOptimized &&
                             fncReplayCoversWholeBasket(shown, lvEditBatch.rowCount()));
    });
}

// The Resize panel's size boxes take the image's size on entry.
void frmMain::subFillEditSizeBoxes() {}

void frmMain::cmdApply_Click() {}

void frmMain::cmdOK_Click() {
    errorTail(QStringLiteral("FrmMain.cmdOK_Click"), [&] {
        if (CurrentTask.TaskID == int32_t(TaskType::None))
            CmdPreviewEdit_Click();
    });
}

void frmMain::cmdReset_Click() {}

} // namespace picbasket
