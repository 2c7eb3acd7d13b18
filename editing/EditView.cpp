// The edit view of the main window: the task chooser in the explorer bar, the
// option panels' host, the edit view's task basket and the switch between the
// explorer view and the edit view.
#include "editing/EditView.h"

#include "browser/IndexedMenu.h"
#include "browser/SelectionController.h"
#include "controls/buttons/MainWindowPictures.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/common/PaneControls.h"
#include "controls/dialogs/modCommonDialog.h"
#include "controls/dialogs/modCommonDialogAPI.h"
#include "controls/dialogs/modFontsCombo.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "editing/EditImageData.h"
#include "editing/EditViewSplitters.h"
#include "editing/EditView_common.h"
#include "editing/FramePanel.h"
#include "editing/MaskPanel.h"
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
#include "editing/modTaskBasketFile.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/foldertree/FolderTreeview.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
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

EditView::EditView(PaneWindow& window, EditViewHost& host, QWidget* dialogParent)
    : window_(window), host_(host), dialogParent_(dialogParent) {}

EditView::~EditView() = default;

void EditView::buildTaskList(QWidget* picBrowse) {
    lvEdit = new ListView(picBrowse);
    lvEdit->AddColumn(QStringLiteral("Confirmed Tasks"), 160);
    lvEdit->hide();
    picEditBar = new QWidget(picBrowse);
    auto* row = new QHBoxLayout(picEditBar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    const QStringList tips{QStringLiteral("New Task Basket"), QStringLiteral("Open Task Basket"),
                           QStringLiteral("Save Task Basket"),
                           QStringLiteral("Remove selected Task")};
    for (int i = 0; i < 4; ++i)
        cmdEditBar[static_cast<size_t>(i)] = makeButton(picEditBar, {}, tips[i], ToolButtonSize);
    row->addStretch(1);
    picEditBar->hide();
}

void EditView::buildPreviewButtons(QWidget* picToolbarPreview) {
    cmdReset = makeButton(picToolbarPreview, QStringLiteral("Reset"),
                          QStringLiteral("Reset the task"), 70);
    cmdOriginalImage = makeButton(picToolbarPreview, QStringLiteral("Original"),
                                  QStringLiteral("Show the original image"), 80);
    cmdReset->hide();
    cmdOriginalImage->hide();
}

void EditView::buildExplorerBar(QWidget* picView) {
    previewHost_ = picView;
    eb = new isExplorerBar(picView);
    eb->resize(220, eb->height());
    eb->hide();
    lvEditPreview = new ListView(picView);
    lvEditPreview->AddColumn(QStringLiteral("Confirmed Tasks"), 160);
    lvEditPreview->hide();
    for (int i = 0; i < 4; ++i) {
        cmdEditPreview[static_cast<size_t>(i)] = new QPushButton(picView);
        cmdEditPreview[static_cast<size_t>(i)]->hide();
    }
    buildTaskPanels();
}

void EditView::buildTaskPanels() {
    const std::vector<QString>& names = fncTaskPanelNames();
    for (size_t i = 0; i < taskPanels.size(); ++i) {
        taskPanels[i] = new QWidget(eb);
        taskPanels[i]->setObjectName(names[i]);
        taskPanels[i]->resize(200, 160);
        taskPanels[i]->hide();
    }
    // The option lists of the stamp, resize and text panels.
    cboMergeStyle = new QComboBox(taskPanels[8]);
    ComboFilter = new QComboBox(taskPanels[5]);
    cboPosition = new QComboBox(taskPanels[9]);
    comboFontSize = new QComboBox(taskPanels[9]);
    ComboFontFamily = new QComboBox(taskPanels[9]);
}

void EditView::subFillCombos() {
    for (const char* item : {"Single", "Centre", "Tile", "Wrap"})
        cboMergeStyle->addItem(QString::fromLatin1(item));
    for (const char* item : {"Bilinear", "Hermite", "Bell", "B-Spline", "Lanczos", "Mitchell"})
        ComboFilter->addItem(QString::fromLatin1(item));
    for (const char* item :
         {"Top-Left", "Top-Centre", "Top-Right", "Centre-Left", "Centre", "Centre-Right",
          "Bottom-Left", "Bottom-Centre", "Bottom-Right", "Mouse-Click Position"})
        cboPosition->addItem(QString::fromLatin1(item));
    for (int size = 8; size <= 100; ++size)
        comboFontSize->addItem(QString::number(size));
    fncFillFontList(ComboFontFamily, true);
}

// The containers the explorer bar hosts: picDialog with the sixteen option panels
// and the Preview and Confirm buttons below the shown panel, and picEditPreview with
// the edit view's task basket and its four commands.
void EditView::buildEditView() {
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

    picDialog = new QWidget(previewHost_);
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

    picEditPreview = new QWidget(previewHost_);
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
    connect(host_.previewEditButton(), &QPushButton::clicked, this,
            [this] { CmdPreviewEdit_Click(); });
    setPictureCaption(host_.previewEditButton(), QStringLiteral("     Edit"));
    connectTaskBasketCommands();
    fitDialogToPanel();
}

QWidget* EditView::taskPanel(const QString& name) const {
    for (QWidget* panel : taskPanels)
        if (panel->objectName() == name)
            return panel;
    return nullptr;
}

// The dialog stacks the shown panel, the shared colour and location frames while they
// are shown, and the row of Preview, Confirm, Reset and the original image.
void EditView::fitDialogToPanel() {
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
void EditView::setPictureCaption(QPushButton* button, const QString& caption) {
    const bool hadPicture = fncHasButtonPicture(button);
    if (hadPicture)
        subRemoveButtonPicture(button);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(caption) + 50);
    button->setText(caption);
    if (hadPicture)
        subSetButtonPicture(button, fncMainWindowPicture(QStringLiteral("picPreviewEdit")));
}

void EditView::subSetupExplorerBar() {
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

void EditView::eb_ItemClick(const QString& group, const QString& item) {
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

void EditView::subEnableApplyButtons(bool enable) {
    cmdApply->setEnabled(enable);
    cmdOK->setEnabled(enable);
}

// The steps every task's options start with; the task's own controls follow.
void EditView::subShowTaskOptions() {
    errorTail(QStringLiteral("FrmMain.subShowTaskOptions"), [&] {
        TaskOptionsChanged = false;
        ImageModified = false;
        emit previewUnchangedRequested(true);
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

bool EditView::fncIsEditView() const {
    return host_.editLayoutShown();
}

void EditView::subProcessTaskBasket(bool noStop) {
    const ListViewTaskSelection explorerList(*lvEdit);
    const ListViewTaskSelection editList(*lvEditPreview);
    subProcessPages(&explorerList, lvEditBatch, host_.previewView()->box(), &editList, noStop);
}

void EditView::CmdPreviewEdit_Click() {
    errorTail(QStringLiteral("FrmMain.CmdPreviewEdit_Click"), [&] {
        ImageBox& box = host_.previewView()->box();
        if (!box.HasImage())
            return;
        emit previewSelectionClearRequested();
        host_.previewSelection()->PreviewMouseMode = SelectionController::Idle;
        box.ClearSelection();
        const bool leaving = fncIsEditView();
        if (leaving)
            subLeaveEditView();
        else
            subEnterEditView();
        window_.subResize();
        if (leaving)
            emit folderTreeRestoreRequested();
    });
}

void EditView::subLeaveEditView() {
    emit explorerLayoutRequested();
    ActiveTaskList = 0;
    setPictureCaption(host_.previewEditButton(), QStringLiteral("     Edit"));
    if (QAction* first = indexedMenuItem(host_.previewMenu(), 0))
        first->setText(QStringLiteral("Edit/Enhance image"));
    cmdReset_Click();
    subEndPickModes();
    ImageModified = false;
    ConfirmedImageData = QImage();
    emit previewTypeEnableRequested(true);
    host_.previewView()->box().WaitForLoad();
    if (!host_.previewOptimized() && !OriginalImageData.isNull())
        host_.previewView()->box().setImage(OriginalImageData);
}

void EditView::subEnterEditView() {
    // What the preview shows was run up to the explorer view's selected task row.
    const ListViewTaskSelection shown(*lvEdit);
    const bool wholeBasketShown =
        host_.previewOptimized() && fncReplayCoversWholeBasket(shown, lvEditBatch.rowCount());
    emit editLayoutRequested();
    if (QAction* first = indexedMenuItem(host_.previewMenu(), 0))
        first->setText(QStringLiteral("Back to Explorer view"));
    ActiveTaskList = 1;
    emit previewTypeEnableRequested(false);
    subStartEditingImage(wholeBasketShown);
    setPictureCaption(host_.previewEditButton(), QStringLiteral("     Finish"));
}

// The edit view's start on the shown image, on entry and whenever another image is
// shown while editing: the image's size, no task chosen, the preview made the whole
// task basket applied to the image as loaded, and that taken as the confirmed state.
void EditView::subStartEditingImage(bool wholeBasketShown) {
    ImageBox& box = host_.previewView()->box();
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
        window_.subResize();
    }
    ConfirmedImageData = box.Picture();
}

// Another image came into the preview while the edit view is shown: editing starts
// again on it. The load replayed the basket when the preview is optimized, up to the
// edit view's selected row.
void EditView::subEditViewImageChanged() {
    errorTail(QStringLiteral("FrmMain.subEditViewImageChanged"), [&] {
        if (!fncIsEditView() || !host_.previewView()->box().HasImage())
            return;
        const ListViewTaskSelection shown(*lvEditPreview);
        subStartEditingImage(host_.previewOptimized() &&
                             fncReplayCoversWholeBasket(shown, lvEditBatch.rowCount()));
    });
}

// The Resize panel's size boxes take the image's size on entry.
void EditView::subFillEditSizeBoxes() {
    txtResizeWidth->setText(QString::number(host_.previewView()->box().ImageWidth()));
    txtResizeHeight->setText(QString::number(host_.previewView()->box().ImageHeight()));
}

void EditView::subMarkOptionsChanged() {
    TaskOptionsChanged = true;
    subEnableApplyButtons(true);
}

} // namespace picbasket
