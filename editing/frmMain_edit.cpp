// The edit view of the main window: the task chooser in the explorer bar, the
// option panels' host, the edit view's task basket and the switch between the
// explorer view and the edit view.
#include "shell/mainwindow/frmMain.h"

#include "browser/SelectionController.h"
#include "browser/modSaveOpenImageList.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/common/modGenericFunctions.h"
#include "controls/dialogs/modCommonDialog.h"
#include "controls/dialogs/modCommonDialogAPI.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "core/AppError.h"
#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "editing/ColorButton.h"
#include "editing/EditViewSplitters.h"
#include "editing/EffectTasks.h"
#include "editing/FramePanel.h"
#include "editing/MaskPanel.h"
#include "editing/OptionControls.h"
#include "editing/OverlayTasks.h"
#include "editing/PanelLayout.h"
#include "editing/PictureOptions.h"
#include "editing/RedEyePanel.h"
#include "editing/ShadowPanel.h"
#include "editing/TextPanel.h"
#include "editing/TonePanel.h"
#include "editing/WatermarkPanel.h"
#include "editing/GeometryTasks.h"
#include "editing/TaskBasketReplay.h"
#include "editing/TaskBasketRows.h"
#include "editing/TaskChooser.h"
#include "editing/TaskIcons.h"
#include "editing/TaskSlotText.h"
#include "engine/loading/modBitmapPro.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/Slider.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/MainWindowGlobals.h"
#include "shell/mainwindow/MainWindowPictures.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace picbasket {

namespace {

constexpr int DialogButtonHeight = 24;
constexpr int DialogButtonWidth = 64;
// The width the explorer bar gives its groups' bodies, with its scroll bar shown.
constexpr int PanelWidth = 208;
constexpr int ExplorerBarWidth = 240;
constexpr int DialogMargin = 6;
constexpr int BasketListHeight = 110;
constexpr int BasketButtonSize = 24;

const QString SpecialGroup = QStringLiteral("Special Group");

// Selects a box's whole text when it gets the focus.
class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn)
            if (auto* box = qobject_cast<QLineEdit*>(watched))
                QMetaObject::invokeMethod(
                    box, [box] { subSelectAllText(box); }, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
};

QLineEdit* numberBox(QWidget* parent, const QString& text) {
    auto* box = new QLineEdit(text, parent);
    box->setFixedWidth(56);
    subMakeNumericTextBox(box);
    return box;
}

// A panel's controls stacked from the top; the panel takes the stack's height.
QVBoxLayout* panelLayout(QWidget* panel) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->setSpacing(4);
    return layout;
}

void fitPanel(QWidget* panel) {
    panel->resize(PanelWidth, panel->layout()->sizeHint().height());
}

QHBoxLayout* row(QVBoxLayout* parent) {
    auto* line = new QHBoxLayout;
    line->setSpacing(4);
    parent->addLayout(line);
    return line;
}

// The value a spin bar of -180 to 180 shows for a typed angle of -180 to 360.
int normalisedAngle(int degrees) {
    return degrees > 180 ? degrees - 360 : degrees;
}

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
        PreviewUnchanged = true;
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

// The stored options of the chosen task into its panel. Setting a control runs its
// own change handler, which marks the options changed whenever the value changes.
void frmMain::subLoadTaskOptions() {
    const typTaskDefaults& d = Setup.TaskDefaults;
    const ImageBox& box = ibMain->box();
    switch (TaskType(CurrentTask.TaskID)) {
    case TaskType::None:
        subEnableApplyButtons(false);
        cmdOK->setEnabled(true);
        break;
    case TaskType::Flip:
        optFlip[d.FlipMode == 0 ? 0 : 1]->setChecked(true);
        subMarkOptionsChanged();
        break;
    case TaskType::Rotate:
        FrameBackColor->show();
        txtDegrees->setText(QString::number(d.RotateDegrees));
        sbDegrees->setValue(normalisedAngle(d.RotateDegrees));
        chkRotateResample->setChecked(d.RotateResample != 0);
        picCropBackColor->setBackColor(d.RotateColor);
        if (txtDegrees->text() != QLatin1String("0"))
            subMarkOptionsChanged();
        break;
    case TaskType::Resize:
        subFillEditSizeBoxes();
        txtScale->setText(QString::number(d.ResizeScale));
        optResize[d.ResizeMode == 0 ? 0 : 1]->setChecked(true);
        chkResizeRatio->setChecked(d.ResizeKeepRatio != 0);
        chkResizeResample->setChecked(d.ResizeResample != 0);
        if (d.ResizeMode == 1 && txtScale->text() != QLatin1String("100"))
            subMarkOptionsChanged();
        break;
    case TaskType::Crop:
        txtCropTop->setText(QStringLiteral("0"));
        txtCropLeft->setText(QStringLiteral("0"));
        txtCropRight->setText(QString::number(box.ImageWidth()));
        txtCropBot->setText(QString::number(box.ImageHeight()));
        optCropSelect[d.CropMode == 0 ? 0 : 1]->setChecked(true);
        frameCropMouse->setVisible(d.CropMode == 0);
        frameCropFixed->setVisible(d.CropMode != 0);
        if (d.CropMode != 0) {
            txtCropRight->setText(QString::number(box.ImageWidth()));
            txtCropBot->setText(QString::number(box.ImageHeight()));
        }
        cmbCrop->setCurrentIndex(d.CropPreset == 0 ? 0 : 1);
        // The ellipse's outside takes the background colour, so its swatch shows.
        FrameBackColor->setVisible(d.CropMode != 0 && cmbCrop->currentIndex() == 1);
        subEnableApplyButtons(false);
        cmdOK->setEnabled(false);
        TaskOptionsChanged = false;
        break;
    case TaskType::Invert:
        subMarkOptionsChanged();
        break;
    case TaskType::Canvas:
        FrameBackColor->show();
        picCropBackColor->setBackColor(d.CanvasColor);
        for (size_t i = 0; i < 4; ++i)
            txtCanvasCustom[i]->setText(QString::number(d.CanvasCustom[i]));
        subMarkOptionsChanged();
        break;
    case TaskType::RedEye:
        subEnableApplyButtons(false);
        cmdOK->setEnabled(false);
        break;
    default:
        subLoadEffectOptions();
        break;
    }
}

// The confirmed task's panel becomes the task's defaults.
void frmMain::subSaveTaskOptions() {
    errorTail(QStringLiteral("FrmMain.subSaveTaskOptions"), [&] {
        typTaskDefaults& d = Setup.TaskDefaults;
        switch (TaskType(CurrentTask.TaskID)) {
        case TaskType::Flip:
            d.FlipMode = optFlip[0]->isChecked() ? 0 : 1;
            break;
        case TaskType::Rotate:
            d.RotateDegrees = cInt(txtDegrees->text());
            d.RotateResample = chkRotateResample->isChecked() ? 1 : 0;
            d.RotateColor = picCropBackColor->BackColor();
            break;
        case TaskType::Resize:
            d.ResizeScale = cInt(txtScale->text());
            d.ResizeMode = optResize[0]->isChecked() ? 0 : 1;
            d.ResizeKeepRatio = chkResizeRatio->isChecked() ? 1 : 0;
            d.ResizeResample = chkResizeResample->isChecked() ? 1 : 0;
            break;
        case TaskType::Crop:
            d.CropMode = optCropSelect[0]->isChecked() ? 0 : 1;
            d.CropPreset = uint8_t(std::max(0, cmbCrop->currentIndex()));
            break;
        case TaskType::Canvas:
            for (size_t i = 0; i < 4; ++i)
                d.CanvasCustom[i] = cInt(txtCanvasCustom[i]->text());
            d.CanvasColor = picCropBackColor->BackColor();
            break;
        default:
            subSaveEffectOptions();
            break;
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
        subClearSelection();
        PreviewSelection->PreviewMouseMode = SelectionController::Idle;
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
    subEndPickModes();
    ImageModified = false;
    ConfirmedImageData = QImage();
    cmdPreviewType->setEnabled(true);
    ibMain->box().WaitForLoad();
    if (!PreviewOptimized && !OriginalImageData.isNull())
        ibMain->box().setImage(OriginalImageData);
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
        if (!fncIsEditView() || !ibMain->box().HasImage())
            return;
        const ListViewTaskSelection shown(*lvEditPreview);
        subStartEditingImage(PreviewOptimized &&
                             fncReplayCoversWholeBasket(shown, lvEditBatch.rowCount()));
    });
}

// The Resize panel's size boxes take the image's size on entry.
void frmMain::subFillEditSizeBoxes() {
    txtResizeWidth->setText(QString::number(ibMain->box().ImageWidth()));
    txtResizeHeight->setText(QString::number(ibMain->box().ImageHeight()));
}

void frmMain::subMarkOptionsChanged() {
    TaskOptionsChanged = true;
    subEnableApplyButtons(true);
}

// A numeric box: digits only, its default back when emptied, the whole text selected
// on focus; every change marks the options changed.
void frmMain::connectNumericBox(QLineEdit* box, const QString& defaultText) {
    subMakeNumericTextBox(box);
    box->installEventFilter(new SelectAllOnFocus(box));
    connect(box, &QLineEdit::textChanged, this, [this, box, defaultText] {
        subTextDefaultIfEmpty(box, defaultText);
        subMarkOptionsChanged();
    });
}

void frmMain::buildSharedOptionControls() {
    FrameBackColor = new QGroupBox(QStringLiteral("Back Color"), picDialog);
    auto* colourRow = new QHBoxLayout(FrameBackColor);
    colourRow->setContentsMargins(6, 2, 6, 4);
    picCropBackColor = new ColorButton(FrameBackColor);
    picCropBackColor->setFixedSize(48, 24);
    picCropBackColor->setToolTip(QStringLiteral("Choose the background colour"));
    chkCropBackColor = new QPushButton(QStringLiteral("Pick"), FrameBackColor);
    chkCropBackColor->setCheckable(true);
    chkCropBackColor->setToolTip(QStringLiteral("Pick the background colour from the image"));
    colourRow->addWidget(picCropBackColor);
    colourRow->addWidget(chkCropBackColor);
    colourRow->addStretch(1);
    FrameBackColor->resize(PanelWidth - 2 * DialogMargin, FrameBackColor->sizeHint().height());
    FrameBackColor->hide();
    connect(picCropBackColor, &QPushButton::clicked, this, [this] { picCropBackColor_Click(); });

    picLocation = new QGroupBox(QStringLiteral("Select a co-ordinate"), picDialog);
    auto* locationRow = new QHBoxLayout(picLocation);
    locationRow->setContentsMargins(6, 2, 6, 4);
    chkSelectLocation = new QPushButton(QStringLiteral("Select"), picLocation);
    chkSelectLocation->setCheckable(true);
    lblSelectLocation = new QLabel(QStringLiteral("X-0; Y-0"), picLocation);
    locationRow->addWidget(chkSelectLocation);
    locationRow->addWidget(lblSelectLocation, 1);
    picLocation->resize(PanelWidth - 2 * DialogMargin, picLocation->sizeHint().height());
    picLocation->hide();
}

// The preview's selection drives the toggles, labels and swatch of the option panels.
void frmMain::connectEditSelection() {
    SelectionController* s = PreviewSelection;
    s->currentTask = [] { return int(CurrentTask.TaskID); };
    connect(s, &SelectionController::applyButtonsEnabled, this,
            [this](bool enabled) { subEnableApplyButtons(enabled); });
    connect(s, &SelectionController::regionStartText, lblSelectRegionStart, &QLabel::setText);
    connect(s, &SelectionController::regionEndText, lblSelectRegionEnd, &QLabel::setText);
    connect(s, &SelectionController::locationText, lblSelectLocation, &QLabel::setText);
    connect(s, &SelectionController::colourPicked, this,
            [this](uint32_t colour) { picCropBackColor->setBackColor(colour); });
    connect(s, &SelectionController::cropByMouseFinished, this,
            [this] { chkCropMouse->setChecked(false); });
    connect(s, &SelectionController::locationPickFinished, this,
            [this] { chkSelectLocation->setChecked(false); });
    connect(s, &SelectionController::pickBoxesCleared, this,
            [this] { chkCropBackColor->setChecked(false); });
    connect(chkCropBackColor, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            PreviewSelection->PreviewMouseMode = SelectionController::Idle;
        PreviewSelection->PreviewToolMode =
            on ? SelectionController::ColourPickTool : SelectionController::NoTool;
    });
    connect(chkSelectLocation, &QPushButton::toggled, this,
            [this](bool on) { PreviewSelection->LocationPickMode = on; });
    connect(chkCropMouse, &QPushButton::toggled, this, [this](bool on) { chkCropMouse_Click(on); });
    connectEffectPanels();
}

// Crop by mouse: on a fitted preview the image box draws its own selection; at actual
// size the preview's rectangle with grips is drawn.
void frmMain::chkCropMouse_Click(bool ticked) {
    errorTail(QStringLiteral("FrmMain.chkCropMouse_Click"), [&] {
        SelectionController* s = PreviewSelection;
        if (!ticked) {
            s->CropByMouseActive = false;
            TaskOptionsChanged = false;
            return;
        }
        subResetPreviewView(true);
        s->CropByMouseActive = true;
        ImageBox& box = ibMain->box();
        box.ClearSelection();
        subClearSelection();
        if (fncPreviewIsScaled()) {
            s->PreviewMouseMode = SelectionController::Idle;
            s->PreviewToolMode = SelectionController::NoTool;
            box.BeginRectangleSelection();
        } else {
            s->PreviewMouseMode = SelectionController::WaitingForPress;
            s->PreviewToolMode = SelectionController::RectangleTool;
        }
        TaskOptionsChanged = true;
    });
}

bool frmMain::fncPreviewIsScaled() const {
    const ImageBox& box = ibMain->box();
    return box.AutoZoom() &&
           (box.DisplayWidth() != box.ImageWidth() || box.DisplayHeight() != box.ImageHeight());
}

// The pick modes end with the task they served: no colour pick, crop drag or
// position pick outlives a task's options or the edit view.
void frmMain::subEndPickModes() {
    SelectionController* s = PreviewSelection;
    chkSelectLocation->setChecked(false);
    chkCropMouse->setChecked(false);
    chkCropBackColor->setChecked(false);
    redEyeOptions->chkRedEye->setChecked(false);
    s->LocationPickMode = false;
    s->CropByMouseActive = false;
    ibMain->box().ClearSelection();
    subClearSelection();
    s->PreviewToolMode = SelectionController::NoTool;
}

// Back to the last confirmed state when a Preview was applied; without keepOptions
// the task's stored options are loaded again.
void frmMain::subResetPreviewView(bool keepOptions) {
    errorTail(QStringLiteral("FrmMain.subResetPreviewView"), [&] {
        if (PreviewUnchanged && !PreviewIntermediate)
            return;
        if (!ConfirmedImageData.isNull()) {
            ibMain->box().setImage(ConfirmedImageData);
            PreviewIntermediate = false;
        }
        if (!keepOptions)
            subShowTaskOptions();
        subResize();
    });
}

void frmMain::picCropBackColor_Click() {
    errorTail(QStringLiteral("FrmMain.picCropBackColor_Click"), [&] {
        const ColorResult chosen = fncShowColor(this, true);
        if (chosen.Cancel || static_cast<int32_t>(chosen.Color) < 0)
            return;
        picCropBackColor->setBackColor(chosen.Color);
        subMarkOptionsChanged();
    });
}

void frmMain::buildFlipPanel() {
    QWidget* panel = taskPanel(QStringLiteral("picFlip"));
    QVBoxLayout* layout = panelLayout(panel);
    auto* group = new QButtonGroup(panel);
    const char* captions[] = {"Flip Horizontal", "Flip Vertical"};
    for (int i = 0; i < 2; ++i) {
        optFlip[size_t(i)] = new QRadioButton(QString::fromLatin1(captions[i]), panel);
        group->addButton(optFlip[size_t(i)], i);
        layout->addWidget(optFlip[size_t(i)]);
        connect(optFlip[size_t(i)], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                subMarkOptionsChanged();
        });
    }
    optFlip[0]->setChecked(true);
    fitPanel(panel);
}

void frmMain::buildRotatePanel() {
    QWidget* panel = taskPanel(QStringLiteral("picRotate"));
    QVBoxLayout* layout = panelLayout(panel);
    QHBoxLayout* degrees = row(layout);
    degrees->addWidget(new QLabel(QStringLiteral("Degrees"), panel));
    txtDegrees = numberBox(panel, QStringLiteral("45"));
    degrees->addWidget(txtDegrees);
    degrees->addStretch(1);
    sbDegrees = new QScrollBar(Qt::Horizontal, panel);
    sbDegrees->setRange(-180, 180);
    sbDegrees->setSingleStep(1);
    sbDegrees->setPageStep(15);
    layout->addWidget(sbDegrees);
    QHBoxLayout* presets = row(layout);
    const int angles[] = {-15, 15, 45, -45};
    for (int i = 0; i < 4; ++i) {
        cmdAngle[size_t(i)] = new QPushButton(QString::number(angles[i]), panel);
        cmdAngle[size_t(i)]->setFixedWidth(40);
        presets->addWidget(cmdAngle[size_t(i)]);
        connect(cmdAngle[size_t(i)], &QPushButton::clicked, this,
                [this, angle = angles[i]] { sbDegrees->setValue(angle); });
    }
    presets->addStretch(1);
    chkRotateResample = new QCheckBox(QStringLiteral("Resample"), panel);
    layout->addWidget(chkRotateResample);
    auto* note = new QLabel(QStringLiteral("Note: Canvas will be resized"), panel);
    layout->addWidget(note);
    fitPanel(panel);

    connectNumericBox(txtDegrees, QStringLiteral("45"));
    // The bar shows the typed angle normalised; the text is kept as typed.
    connect(sbDegrees, &QScrollBar::valueChanged, this, [this](int value) {
        bool same = false;
        try {
            same = normalisedAngle(cInt(txtDegrees->text())) == value;
        } catch (...) {
            // A box that reads no angle takes the bar's.
        }
        if (!same) {
            const QSignalBlocker echo(txtDegrees);
            txtDegrees->setText(QString::number(value));
        }
        subMarkOptionsChanged();
    });
    connect(txtDegrees, &QLineEdit::editingFinished, this, [this] {
        try {
            subClampTextValue(txtDegrees, -180, 360);
            const QSignalBlocker echo(sbDegrees);
            sbDegrees->setValue(normalisedAngle(cInt(txtDegrees->text())));
        } catch (...) {
            // The bar keeps what it had.
        }
    });
    connect(chkRotateResample, &QCheckBox::toggled, this, [this] { subMarkOptionsChanged(); });
}

void frmMain::buildResizePanel() {
    QWidget* panel = taskPanel(QStringLiteral("picResize"));
    QVBoxLayout* layout = panelLayout(panel);
    auto* group = new QButtonGroup(panel);
    optResize[0] = new QRadioButton(QStringLiteral("Resize"), panel);
    optResize[1] = new QRadioButton(QStringLiteral("Scale"), panel);
    QHBoxLayout* modes = row(layout);
    for (int i = 0; i < 2; ++i) {
        group->addButton(optResize[size_t(i)], i);
        modes->addWidget(optResize[size_t(i)]);
    }
    modes->addStretch(1);

    frameResize = new QWidget(panel);
    auto* sizes = new QGridLayout(frameResize);
    sizes->setContentsMargins(0, 0, 0, 0);
    txtResizeWidth = numberBox(frameResize, QStringLiteral("0"));
    txtResizeHeight = numberBox(frameResize, QStringLiteral("0"));
    txtResizeWidth->setFixedWidth(70);
    txtResizeHeight->setFixedWidth(70);
    sizes->addWidget(new QLabel(QStringLiteral("Width"), frameResize), 0, 0);
    sizes->addWidget(txtResizeWidth, 0, 1);
    sizes->addWidget(new QLabel(QStringLiteral("Height"), frameResize), 1, 0);
    sizes->addWidget(txtResizeHeight, 1, 1);
    chkResizeRatio = new QCheckBox(QStringLiteral("Retain Ratio"), frameResize);
    sizes->addWidget(chkResizeRatio, 2, 0, 1, 2);
    sizes->setColumnStretch(2, 1);
    layout->addWidget(frameResize);

    FrameScale = new QWidget(panel);
    auto* scale = new QHBoxLayout(FrameScale);
    scale->setContentsMargins(0, 0, 0, 0);
    scale->addWidget(new QLabel(QStringLiteral("Enter percentage"), FrameScale));
    txtScale = new QLineEdit(QStringLiteral("50"), FrameScale);
    txtScale->setFixedWidth(56);
    scale->addWidget(txtScale);
    scale->addStretch(1);
    layout->addWidget(FrameScale);
    chkResizeResample = new QCheckBox(QStringLiteral("Resample"), panel);
    layout->addWidget(chkResizeResample);
    optResize[0]->setChecked(true);
    FrameScale->hide();
    // Room for whichever frame is shown.
    panel->resize(PanelWidth, layout->sizeHint().height() + FrameScale->sizeHint().height());

    for (QLineEdit* box : {txtResizeWidth, txtResizeHeight})
        box->installEventFilter(new SelectAllOnFocus(box));
    connect(txtResizeWidth, &QLineEdit::textChanged, this, [this] { txtResizeWidth_Change(); });
    connect(txtResizeHeight, &QLineEdit::textChanged, this, [this] { txtResizeHeight_Change(); });
    for (int i = 0; i < 2; ++i)
        connect(optResize[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            frameResize->setVisible(i == 0);
            FrameScale->setVisible(i == 1);
            subMarkOptionsChanged();
        });
    connect(txtScale, &QLineEdit::textChanged, this, [this] { subMarkOptionsChanged(); });
    for (QCheckBox* box : {chkResizeRatio, chkResizeResample})
        connect(box, &QCheckBox::toggled, this, [this] { subMarkOptionsChanged(); });
}

namespace {

// One step of the ratio lock: the emptied box reads "0"; with the lock on, the other
// box gets its side for this one, unless it is the one being typed into.
void ratioLock(QLineEdit* typed, QLineEdit* other, bool lockOn, bool& typedUpdating,
               const bool& otherUpdating, int32_t typedAtEntry, int32_t otherAtEntry) {
    try {
        if (typed->text().isEmpty())
            typed->setText(QStringLiteral("0"));
        if (lockOn && !otherUpdating) {
            typedUpdating = true;
            other->setText(
                QString::number(fncRatioSide(cLng(typed->text()), typedAtEntry, otherAtEntry)));
            typedUpdating = false;
        }
    } catch (...) {
        typedUpdating = false;
    }
}

} // namespace

void frmMain::txtResizeWidth_Change() {
    ratioLock(txtResizeWidth, txtResizeHeight, chkResizeRatio->isChecked(), ResizeWidthUpdating,
              ResizeHeightUpdating, EditOriginalWidth, EditOriginalHeight);
    subMarkOptionsChanged();
}

void frmMain::txtResizeHeight_Change() {
    ratioLock(txtResizeHeight, txtResizeWidth, chkResizeRatio->isChecked(), ResizeHeightUpdating,
              ResizeWidthUpdating, EditOriginalHeight, EditOriginalWidth);
    subMarkOptionsChanged();
}

void frmMain::buildCropPanel() {
    QWidget* panel = taskPanel(QStringLiteral("picCrop"));
    QVBoxLayout* layout = panelLayout(panel);
    auto* group = new QButtonGroup(panel);
    optCropSelect[0] = new QRadioButton(QStringLiteral("Mouse "), panel);
    optCropSelect[1] = new QRadioButton(QStringLiteral("Key-in"), panel);
    QHBoxLayout* modes = row(layout);
    for (int i = 0; i < 2; ++i) {
        group->addButton(optCropSelect[size_t(i)], i);
        modes->addWidget(optCropSelect[size_t(i)]);
    }
    modes->addStretch(1);

    frameCropMouse = new QWidget(panel);
    auto* mouse = new QGridLayout(frameCropMouse);
    mouse->setContentsMargins(0, 0, 0, 0);
    auto* hint = new QLabel(
        QStringLiteral("Click the button below and select the crop region from the image."),
        frameCropMouse);
    hint->setWordWrap(true);
    // Wrapped to the panel's width the hint takes three lines.
    hint->setMinimumHeight(3 * hint->fontMetrics().lineSpacing() + 2);
    mouse->addWidget(hint, 0, 0, 1, 2);
    chkCropMouse = new QPushButton(QStringLiteral("Select region"), frameCropMouse);
    chkCropMouse->setCheckable(true);
    mouse->addWidget(chkCropMouse, 1, 0, 1, 2);
    lblSelectRegionStart = new QLabel(QStringLiteral("X : 0 ; Y : 0"), frameCropMouse);
    lblSelectRegionEnd = new QLabel(QStringLiteral("X : 0 ; Y : 0"), frameCropMouse);
    mouse->addWidget(new QLabel(QStringLiteral("Starting:"), frameCropMouse), 2, 0);
    mouse->addWidget(lblSelectRegionStart, 2, 1);
    mouse->addWidget(new QLabel(QStringLiteral("Ending:"), frameCropMouse), 3, 0);
    mouse->addWidget(lblSelectRegionEnd, 3, 1);
    mouse->setColumnStretch(1, 1);
    layout->addWidget(frameCropMouse);

    frameCropFixed = new QWidget(panel);
    auto* fixed = new QGridLayout(frameCropFixed);
    fixed->setContentsMargins(0, 0, 0, 0);
    txtCropLeft = numberBox(frameCropFixed, QStringLiteral("0"));
    txtCropTop = numberBox(frameCropFixed, QStringLiteral("0"));
    txtCropRight = numberBox(frameCropFixed, QStringLiteral("0"));
    txtCropBot = numberBox(frameCropFixed, QStringLiteral("0"));
    const std::pair<const char*, QLineEdit*> boxes[] = {{"Left", txtCropLeft},
                                                        {"Top", txtCropTop},
                                                        {"Right", txtCropRight},
                                                        {"Bottom", txtCropBot}};
    for (int i = 0; i < 4; ++i) {
        boxes[i].second->setFixedWidth(44);
        fixed->addWidget(new QLabel(QString::fromLatin1(boxes[i].first), frameCropFixed), i / 2,
                         (i % 2) * 2);
        fixed->addWidget(boxes[i].second, i / 2, (i % 2) * 2 + 1);
        connectNumericBox(boxes[i].second, QStringLiteral("0"));
    }
    fixed->addWidget(new QLabel(QStringLiteral("Select type"), frameCropFixed), 2, 0, 1, 2);
    cmbCrop = new QComboBox(frameCropFixed);
    cmbCrop->addItems({QStringLiteral("Rectangle"), QStringLiteral("Ellipse")});
    fixed->addWidget(cmbCrop, 2, 2, 1, 2);
    layout->addWidget(frameCropFixed);
    frameCropMouse->hide();
    optCropSelect[1]->setChecked(true);
    panel->resize(PanelWidth, layout->sizeHint().height() +
                                  std::max(0, frameCropMouse->sizeHint().height() -
                                                  frameCropFixed->sizeHint().height()));

    connect(txtCropTop, &QLineEdit::editingFinished, this, [this] {
        subClampTextValue(txtCropTop, 0, int16_t(std::min(32767, ibMain->box().ImageHeight())));
    });
    for (int i = 0; i < 2; ++i)
        connect(optCropSelect[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optCropSelect_Click(i);
        });
    connect(cmbCrop, &QComboBox::currentIndexChanged, this, [this] { cmbCrop_Click(); });
}

void frmMain::optCropSelect_Click(int index) {
    frameCropMouse->hide();
    frameCropFixed->hide();
    Setup.TaskDefaults.CropMode = uint8_t(index);
    if (index == 0) {
        frameCropMouse->show();
    } else {
        frameCropFixed->show();
        txtCropRight->setText(QString::number(ibMain->box().ImageWidth()));
        txtCropBot->setText(QString::number(ibMain->box().ImageHeight()));
    }
    subMarkOptionsChanged();
    fitDialogToPanel();
}

void frmMain::cmbCrop_Click() {
    FrameBackColor->hide();
    if (cmbCrop->currentIndex() == 1)
        FrameBackColor->show();
    subMarkOptionsChanged();
    fitDialogToPanel();
}

void frmMain::buildCanvasPanel() {
    QWidget* panel = taskPanel(QStringLiteral("picCanvas"));
    QVBoxLayout* layout = panelLayout(panel);
    layout->addWidget(new QLabel(QStringLiteral("Enter a new Canvas Size"), panel));
    //          Y1
    //      +--------+
    //   X1 | image  | X2
    //      +--------+
    //          Y2
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    const char* labels[] = {"Y1", "X1", "X2", "Y2"};
    const std::pair<int, int> cells[] = {{0, 2}, {2, 0}, {2, 4}, {4, 2}};
    for (size_t i = 0; i < 4; ++i) {
        auto* cell = new QHBoxLayout;
        cell->addWidget(new QLabel(QString::fromLatin1(labels[i]), panel));
        txtCanvasCustom[i] = numberBox(panel, QStringLiteral("0"));
        txtCanvasCustom[i]->setFixedWidth(44);
        cell->addWidget(txtCanvasCustom[i]);
        grid->addLayout(cell, cells[i].first, cells[i].second, Qt::AlignCenter);
        connectNumericBox(txtCanvasCustom[i], QStringLiteral("0"));
        connect(txtCanvasCustom[i], &QLineEdit::editingFinished, this,
                [this, i] { subClampTextValue(txtCanvasCustom[i], 0, 800); });
    }
    auto* picture = new QLabel(panel);
    picture->setPixmap(QPixmap::fromImage(fncTaskIcon(QStringLiteral("canvas")).scaled(32, 32)));
    grid->addWidget(picture, 2, 2, Qt::AlignCenter);
    fitPanel(panel);
}

// The focus-out clamps again, since Enter on a default button skips the focus-out.
void frmMain::subClampOptionBoxes() {
    subClampTextValue(txtDegrees, -180, 360);
    subClampTextValue(txtCropTop, 0, int16_t(std::min(32767, ibMain->box().ImageHeight())));
    for (QLineEdit* box : txtCanvasCustom)
        subClampTextValue(box, 0, 800);
    subClampEffectBoxes();
}

// The panel's options as the task they describe; the tasks of other panels carry no
// options here.
TaskBuild frmMain::fncBuildTask() const {
    const ImageBox& box = ibMain->box();
    switch (TaskType(CurrentTask.TaskID)) {
    case TaskType::Flip:
        return fncFlipTask({optFlip[1]->isChecked()});
    case TaskType::Rotate:
        return fncRotateTask(
            {txtDegrees->text(), chkRotateResample->isChecked(), picCropBackColor->BackColor()});
    case TaskType::Resize:
        return fncResizeTask({optResize[0]->isChecked(), txtResizeWidth->text(),
                              txtResizeHeight->text(), txtScale->text()},
                             box.ImageWidth(), box.ImageHeight());
    case TaskType::Crop:
        if (optCropSelect[1]->isChecked())
            return fncCropKeyInTask({cmbCrop->currentIndex(), txtCropLeft->text(),
                                     txtCropTop->text(), txtCropRight->text(), txtCropBot->text(),
                                     picCropBackColor->BackColor()},
                                    box.ImageWidth(), box.ImageHeight());
        return fncMouseCropBuild();
    case TaskType::Invert:
        return fncInvertTask();
    case TaskType::Canvas:
        return fncCanvasTask({picCropBackColor->BackColor(), txtCanvasCustom[1]->text(),
                              txtCanvasCustom[0]->text(), txtCanvasCustom[2]->text(),
                              txtCanvasCustom[3]->text()},
                             box.ImageWidth(), box.ImageHeight());
    default:
        return fncBuildEffectTask();
    }
}

// Runs the task on the preview as the task engine runs its row, and reads back what
// the slots take from the box.
void frmMain::subApplyTask(typTask& task) {
    ImageBox& box = ibMain->box();
    if (task.TaskID == int32_t(TaskType::None))
        return;
    if (task.TaskID == int32_t(TaskType::RedEye)) {
        subRemoveRedEye();
        return;
    }
    if (task.TaskID == int32_t(TaskType::Watermark)) {
        subApplyWatermark(task);
        return;
    }
    if (task.TaskID == int32_t(TaskType::Shadow))
        box.setBackgroundColor(fncBackColorAfterRows(lvEditBatch));
    subRunTask(task, box);
    if (task.TaskID == int32_t(TaskType::Rotate))
        task.Param[1] = fncSlotBool(box.RotateResample());
}

// The crop dragged on the preview; the rectangle comes from the preview's selection.
TaskBuild frmMain::fncMouseCropBuild() const {
    const SelectionController* s = PreviewSelection;
    const ImageBox& box = ibMain->box();
    MouseCropOptions options;
    options.fitted = fncPreviewIsScaled();
    if (options.fitted) {
        options.x1 = s->CropStartX, options.y1 = s->CropStartY;
        options.x2 = s->CropEndX, options.y2 = s->CropEndY;
    } else {
        options.x1 = s->SelX1, options.y1 = s->SelY1;
        options.x2 = s->SelX2, options.y2 = s->SelY2;
    }
    options.imageWidth = box.ImageWidth();
    options.imageHeight = box.ImageHeight();
    options.displayWidth = box.DisplayWidth();
    options.displayHeight = box.DisplayHeight();
    options.controlWidth = box.Width();
    options.controlHeight = box.Height();
    return fncMouseCropTask(options).build;
}

// After a crop by mouse the rectangle is gone with the pixels it marked.
void frmMain::subEndMouseCrop() {
    ibMain->box().ClearSelection();
    subClearSelection();
    PreviewSelection->PreviewMouseMode = SelectionController::Idle;
    PreviewSelection->PreviewToolMode = SelectionController::NoTool;
}

bool frmMain::cmdApply_Click() {
    bool applied = false;
    errorTail(QStringLiteral("FrmMain.cmdApply_Click"), [&] {
        ImageBox& box = ibMain->box();
        if (!TaskOptionsChanged || !box.HasImage())
            return;
        subClampOptionBoxes();
        TaskBuild build = fncBuildTask();
        if (!build.ok()) {
            msgBox(build.error, mb::Exclamation | mb::OKOnly, ApplicationTitle);
            return;
        }
        const QImage before = box.image();
        try {
            if ((!PreviewUnchanged || PreviewIntermediate) && !ConfirmedImageData.isNull())
                box.setImage(ConfirmedImageData);
            subApplyTask(build.task);
            if (build.task.TaskID == int32_t(TaskType::Crop) &&
                build.task.Param[1] == QLatin1String("False"))
                subEndMouseCrop();
        } catch (...) {
            box.setImage(before);
            throw;
        }
        if (build.task.TaskID != int32_t(TaskType::None))
            CurrentTask.Param = build.task.Param;
        cmdReset->setEnabled(true);
        cmdApply->setEnabled(false);
        subResize();
        PreviewUnchanged = false;
        PreviewIntermediate = false;
        TaskOptionsChanged = false;
        ImageModified = true;
        applied = true;
    });
    return applied;
}

// Confirm takes the previewed task into the basket; Finish (no task chosen) leaves
// the edit view. A task whose options changed is previewed first, and a failed
// Preview stops the confirm. The preview is then the confirmed image with the task
// applied: its copy is taken before the rows change, so the rows, the stored
// defaults and the copy go in together or not at all.
void frmMain::cmdOK_Click() {
    errorTail(QStringLiteral("FrmMain.cmdOK_Click"), [&] {
        if (taskReplay->isRunning())
            return;
        if (CurrentTask.TaskID == int32_t(TaskType::None)) {
            CmdPreviewEdit_Click();
            return;
        }
        ImageBox& box = ibMain->box();
        if (TaskOptionsChanged) {
            if (!cmdApply_Click())
                return;
        } else if (PreviewIntermediate && !ConfirmedImageData.isNull()) {
            box.setImage(ConfirmedImageData);
        }
        const QImage confirmed = box.HasImage() ? box.Picture() : ConfirmedImageData;
        ImageModified = false;
        TaskBasketRows rows(*lvEdit, *lvEditPreview, lvEditBatch);
        if (rows.add(CurrentTask))
            subSaveTaskOptions();
        ConfirmedImageData = confirmed;
        PreviewIntermediate = false;
        CurrentTask.TaskID = int32_t(TaskType::None);
        eb_ItemClick(SpecialGroup, QStringLiteral("Nothing"));
        cmdOK->setText(QStringLiteral("Finish"));
        cmdOK->setEnabled(true);
        subResize();
    });
}

void frmMain::cmdReset_Click() {
    subResetPreviewView(false);
}

void frmMain::connectTaskBasketCommands() {
    taskReplay = std::make_shared<TaskBasketReplay>(*lvEdit, *lvEditPreview, lvEditBatch);
    for (int i = 0; i < int(cmdEditBar.size()); ++i) {
        connect(cmdEditBar[size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdEditBar_Click(i); });
        connect(cmdEditPreview[size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdEditPreview_Click(i); });
    }
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(cmdOriginalImage, &QPushButton::clicked, this, [this] { cmdOriginalImage_Click(); });
    connect(lvEdit, &ListView::ItemClick, this, [this](int row) { lvEdit_ItemClick(row); });
    connect(lvEditPreview, &ListView::ItemClick, this,
            [this](int row) { lvEditPreview_ItemClick(row); });
}

// The rows must not change under a replay, which lets events run between rows.
void frmMain::cmdEditBar_Click(int index) {
    errorTail(QStringLiteral("FrmMain.cmdEditBar_Click"), [&] {
        if (taskReplay->isRunning())
            return;
        switch (index) {
        case 0:
            subClearTaskBasket();
            break;
        case 1:
            subOpenTaskBasketFile();
            break;
        case 2:
            subSaveTaskBasketFile();
            break;
        case 3:
            subRemoveSelectedTask();
            break;
        default:
            break;
        }
    });
}

void frmMain::cmdEditPreview_Click(int index) {
    cmdEditBar_Click(index);
}

// A task previewed but not confirmed is previewed again on the new confirmed image
// by the next Confirm, so that no row is added that the image does not show.
void frmMain::subClearTaskBasket() {
    if (lvEdit->Count() == 0)
        return;
    TaskBasketRows(*lvEdit, *lvEditPreview, lvEditBatch).clear();
    ImageBox& box = ibMain->box();
    box.WaitForLoad();
    if (box.HasImage() && !OriginalImageData.isNull()) {
        box.setImage(OriginalImageData);
        ConfirmedImageData = OriginalImageData;
        subResize();
    }
    if (!PreviewUnchanged && CurrentTask.TaskID != int32_t(TaskType::None))
        subMarkOptionsChanged();
    PreviewUnchanged = true;
    PreviewIntermediate = false;
    ImageModified = false;
}

void frmMain::subOpenTaskBasketFile() {
    CommonDialog.FileName.clear();
    CommonDialog.DialogTitle = QStringLiteral("Open task basket");
    CommonDialog.Filter = QStringLiteral("Task basket file (*.tbf)|*.tbf");
    CommonDialog.Flags = 5;
    fncShowOpen();
    const QString file = CommonDialog.FileName;
    if (file.isEmpty())
        return;
    if (!fncOpenTaskBasket(file, *lvEdit, *lvEditPreview, lvEditBatch)) {
        msgBox(joinLines({QStringLiteral("Error opening task basket!"),
                          QStringLiteral("Please select a valid task basket file.")}),
               mb::Information | mb::OKOnly, ApplicationTitle);
        return;
    }
    subReplayWholeTaskBasket();
}

void frmMain::subSaveTaskBasketFile() {
    if (lvEdit->Count() == 0)
        return;
    CommonDialog.FileName.clear();
    CommonDialog.DialogTitle = QStringLiteral("Save task basket");
    CommonDialog.Filter = QStringLiteral("Task basket file (*.tbf)|*.tbf");
    CommonDialog.Flags = 5;
    fncShowSave();
    QString file = CommonDialog.FileName;
    if (file.isEmpty())
        return;
    if (!fncSaveTaskBasket(file, lvEditBatch))
        msgBox(joinLines({QStringLiteral("Error saving task basket!"),
                          QStringLiteral("Please try again!")}),
               mb::Information | mb::OKOnly, ApplicationTitle);
}

// Nothing is removed while the active list has no selected row.
void frmMain::subRemoveSelectedTask() {
    if (lvEdit->Count() == 0)
        return;
    const int row = taskReplay->selectedRow(ActiveTaskList);
    if (row == 0)
        return;
    TaskBasketRows(*lvEdit, *lvEditPreview, lvEditBatch).remove(row);
    subReplayWholeTaskBasket();
}

void frmMain::subReplayWholeTaskBasket() {
    subClearTaskSelection(*lvEdit);
    subClearTaskSelection(*lvEditPreview);
    ImageBox& box = ibMain->box();
    box.WaitForLoad();
    if (!box.HasImage() || !taskReplay->replay(box, OriginalImageData, true))
        return;
    ConfirmedImageData = box.Picture();
    if (!PreviewUnchanged && CurrentTask.TaskID != int32_t(TaskType::None))
        subMarkOptionsChanged();
    PreviewUnchanged = true;
    PreviewIntermediate = false;
    ImageModified = false;
    subResize();
}

void frmMain::cmdOriginalImage_Click() {
    errorTail(QStringLiteral("FrmMain.cmdOriginalImage_Click"), [&] {
        if (lvEdit->Count() == 0 || taskReplay->isRunning())
            return;
        const int answer =
            msgBox(joinLines({QStringLiteral("Resetting to original image will erase all editing "
                                             "functions from the batch list!"),
                              QStringLiteral(" Do you want to continue?")}),
                   mb::YesNo | mb::Question, ApplicationTitle);
        if (answer != mb::Yes)
            return;
        cmdEditBar_Click(0);
        subShowTaskOptions();
    });
}

void frmMain::lvEdit_ItemClick(int) {
    subTaskRowClick(lvEdit);
}

// A click on the edit view's list makes the next Confirm preview the task again.
void frmMain::lvEditPreview_ItemClick(int) {
    subTaskRowClick(lvEditPreview);
    TaskOptionsChanged = true;
}

// The basket up to the selected row of the active list; the confirmed copy stays.
void frmMain::subTaskRowClick(ListView* list) {
    errorTail(QStringLiteral("FrmMain.subTaskRowClick"), [&] {
        ImageBox& box = ibMain->box();
        box.WaitForLoad();
        if (list->Count() == 0 || !box.HasImage() || taskReplay->isRunning())
            return;
        if (!taskReplay->replay(box, OriginalImageData, false))
            return;
        PreviewIntermediate = true;
        subResize();
    });
}

// ---- The tone, overlay and effect panels ----

void frmMain::buildEffectPanels() {
    blurOptions = new TonePanel(taskPanel(QStringLiteral("picBlur")), {1, 10, 1, false});
    sharpenOptions = new TonePanel(taskPanel(QStringLiteral("picSharpen")), {1, 10, 1, false});
    contrastOptions = new TonePanel(taskPanel(QStringLiteral("picContrast")), {0, 100, 50, true});
    brightnessOptions =
        new TonePanel(taskPanel(QStringLiteral("picBrightness")), {0, 100, 50, true});
    watermarkOptions = new WatermarkPanel(taskPanel(QStringLiteral("picWatermark")), cboMergeStyle);
    textOptions = new TextPanel(taskPanel(QStringLiteral("picText")),
                                {cboPosition, ComboFilter, comboFontSize, ComboFontFamily});
    frameOptions = new FramePanel(taskPanel(QStringLiteral("picFrame")));
    maskOptions = new MaskPanel(taskPanel(QStringLiteral("picMask")));
    shadowOptions = new ShadowPanel(taskPanel(QStringLiteral("picShadow")));
    redEyeOptions = new RedEyePanel(taskPanel(QStringLiteral("picRedEye")));

    auto changed = [this] { subMarkOptionsChanged(); };
    for (TonePanel* tone : {blurOptions, sharpenOptions, contrastOptions, brightnessOptions})
        connect(tone, &TonePanel::optionsChanged, this, changed);
    connect(watermarkOptions, &WatermarkPanel::optionsChanged, this, changed);
    connect(textOptions, &TextPanel::optionsChanged, this, changed);
    connect(frameOptions, &FramePanel::optionsChanged, this, changed);
    connect(maskOptions, &MaskPanel::optionsChanged, this, changed);
    connect(shadowOptions, &ShadowPanel::optionsChanged, this, changed);

    WatermarkPanel* wm = watermarkOptions;
    connect(wm->cmdSelectMerge, &QPushButton::clicked, this, [this] { cmdSelectMerge_Click(); });
    connect(wm->picWatermarkTransparentColor, &QPushButton::clicked, this,
            [this] { subPickButtonColour(watermarkOptions->picWatermarkTransparentColor); });
    connect(wm->chkWatermarkTransparentColor, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            PickWatermarkColor = true;
    });
    connect(wm->picWatermarkImage, &WatermarkPicture::MouseDown, this, [this](int x, int y) {
        const QImage& shown = watermarkOptions->picWatermarkImage->picture;
        if (!PickWatermarkColor || !shown.valid(x, y))
            return;
        watermarkOptions->picWatermarkTransparentColor->setBackColor(
            qColorToOle(QColor(shown.pixel(x, y))));
    });
    connect(wm->picWatermarkImage, &WatermarkPicture::MouseUp, this, [this] {
        PickWatermarkColor = false;
        watermarkOptions->chkWatermarkTransparentColor->setChecked(false);
    });
    connect(wm, &WatermarkPanel::mergeStyleClicked, this, [this](int index) {
        chkSelectLocation->setChecked(false);
        picLocation->setVisible(index == 0);
        fitDialogToPanel();
    });

    TextPanel* text = textOptions;
    connect(text, &TextPanel::changedFlagOnly, this, [this] { TaskOptionsChanged = true; });
    connect(text, &TextPanel::positionClicked, this, [this](int index) {
        if (index >= 0 && index <= 9)
            picLocation->setVisible(index == 9);
    });
    connect(text, &TextPanel::layoutChanged, this, [this] {
        panel::fit(textOptions->panel);
        fitDialogToPanel();
    });
    connect(text->cmdTextColor, &QPushButton::clicked, this,
            [this] { subPickButtonColour(textOptions->cmdTextColor); });
    connect(text->cmdTextBackground, &QPushButton::clicked, this,
            [this] { subPickButtonColour(textOptions->cmdTextBackground); });

    connect(frameOptions, &FramePanel::frameKindClicked, this, [this](int index) {
        FrameBackColor->setVisible(index == 1);
        panel::fit(frameOptions->panel);
        fitDialogToPanel();
    });
    connect(frameOptions, &FramePanel::frameImageClicked, this,
            [this](int index) { SelectedStyle = int16_t(index); });
    connect(maskOptions, &MaskPanel::maskClicked, this,
            [this](int index) { SelectedStyle = int16_t(index); });
    connect(shadowOptions, &ShadowPanel::shadowClicked, this,
            [this](int index) { SelectedStyle = int16_t(index + 8); });
    connect(redEyeOptions->chkRedEye, &QPushButton::toggled, this,
            [this](bool on) { chkRedEye_Click(on); });
}

// The release of the mouse on the preview ends the red-eye marking as it ends the
// colour pick.
void frmMain::connectEffectPanels() {
    connect(PreviewSelection, &SelectionController::pickBoxesCleared, this,
            [this] { redEyeOptions->chkRedEye->setChecked(false); });
}

void frmMain::subPickButtonColour(ColorButton* button) {
    errorTail(QStringLiteral("FrmMain.subPickButtonColour"), [&] {
        const ColorResult chosen = fncShowColor(this, true);
        if (chosen.Cancel || static_cast<int32_t>(chosen.Color) < 0)
            return;
        button->setBackColor(chosen.Color);
        subMarkOptionsChanged();
    });
}

// The stored options of a tone, overlay or effect task into its panel.
void frmMain::subLoadEffectOptions() {
    const typTaskDefaults& d = Setup.TaskDefaults;
    auto tone = [this](TonePanel* panel, int level, std::array<uint8_t, 3> channels) {
        panel->setValue(level);
        panel->lblValue->setText(QString::number(panel->value()));
        for (int i = 0; i < 3 && panel->channel(0); ++i)
            panel->channel(i)->setChecked(channels[size_t(i)] != 0);
        subMarkOptionsChanged();
    };
    switch (TaskType(CurrentTask.TaskID)) {
    case TaskType::Blur:
        tone(blurOptions, d.BlurLevel, {});
        break;
    case TaskType::Sharpen:
        tone(sharpenOptions, d.SharpenLevel, {});
        break;
    case TaskType::Contrast:
        tone(contrastOptions, d.ContrastLevel, {d.ContrastRed, d.ContrastGreen, d.ContrastBlue});
        break;
    case TaskType::Brightness:
        tone(brightnessOptions, d.BrightnessLevel,
             {d.BrightnessRed, d.BrightnessGreen, d.BrightnessBlue});
        break;
    case TaskType::Watermark:
        subLoadWatermarkOptions(d.Watermark);
        break;
    case TaskType::Text:
        subLoadTextOptions(d.Text);
        break;
    case TaskType::Frame:
        subLoadFrameOptions(d.Frame);
        break;
    case TaskType::Mask:
        maskOptions->sldMask->setValue(d.Mask.Level);
        maskOptions->chkMaskTransparent->setChecked(d.Mask.Transparent != 0);
        maskOptions->OptMask->select(d.Mask.Style);
        SelectedStyle = d.Mask.Style;
        subMarkOptionsChanged();
        break;
    case TaskType::Shadow:
        subMarkOptionsChanged();
        shadowOptions->OptShadow->select(d.ShadowStyle);
        SelectedStyle = int16_t(d.ShadowStyle + 8);
        break;
    default:
        break;
    }
}

void frmMain::subLoadWatermarkOptions(const typWatermarkTask& d) {
    WatermarkPanel* wm = watermarkOptions;
    wm->cboMergeStyle->setCurrentIndex(d.MergeStyle);
    picLocation->setVisible(d.MergeStyle == 0);
    wm->sldWatermarkTransparency->setValue(d.Transparency);
    wm->chkWatermarkTransparent->setChecked(d.Transparent != 0);
    wm->picWatermarkTransparentColor->setBackColor(d.TransparentColor);
    if (!fncFileExists(d.ImageFile))
        return;
    if (wm->picWatermarkImage->path.isEmpty())
        subLoadWatermarkImage(d.ImageFile);
    subMarkOptionsChanged();
}

void frmMain::subLoadTextOptions(const typTextTask& d) {
    TextPanel* t = textOptions;
    t->chkTextBold->setChecked(d.Bold != 0);
    t->chkTextItalic->setChecked(d.Style2 != 0);
    t->chkTextUnderline->setChecked(d.Style3 != 0);
    t->txtDraw->setText(d.Caption);
    t->chkTransparent->setChecked(d.Transparent != 0);
    t->cmdTextBackground->setEnabled(!t->chkTransparent->isChecked());
    t->cmdTextBackground->setBackColor(d.BackColor);
    // A font list shorter than the stored index (fonts removed since) shows the
    // first family.
    t->ComboFontFamily->setCurrentIndex(
        d.FontFamily >= 0 && d.FontFamily < t->ComboFontFamily->count() ? d.FontFamily : 0);
    t->comboFontSize->setEditText(QString::number(d.FontSize));
    t->cboPosition->setCurrentIndex(d.Position);
    picLocation->setVisible(d.Position == 9);
    t->OptTextOrientation->select(d.Orientation == 0 ? 0 : 1);
    t->cmdTextColor->setBackColor(d.ForeColor);
    t->ComboFilter->setCurrentIndex(d.Filter);
    t->OptTextAlignment->select(d.Alignment);
    t->txtTextAngle->setText(QString::number(d.Angle));
    t->vsbTextAngle->setSpinValue(d.Angle);
    if (!t->txtDraw->text().isEmpty())
        subMarkOptionsChanged();
    panel::fit(t->panel);
}

void frmMain::subLoadFrameOptions(const typFrameTask& d) {
    FramePanel* f = frameOptions;
    f->OptFrameStyle[d.Kind == 0 ? 0 : 1]->setChecked(true);
    f->OptFrameImage->select(d.Style);
    SelectedStyle = d.Style;
    f->txtFrameSize->setText(QString::number(d.Size));
    f->vsFrameSize->setSpinValue(d.Size);
    f->chkFrameImageResizeCanvas->setChecked(d.ResizeCanvas != 0);
    picCropBackColor->setBackColor(d.Color);
    f->picFrameImage->hide();
    f->picFrameColor->hide();
    if (d.Kind == 0) {
        f->picFrameImage->show();
        FrameBackColor->hide();
    } else {
        f->picFrameColor->show();
        FrameBackColor->show();
    }
    panel::fit(f->panel);
    subMarkOptionsChanged();
}

// The confirmed task's panel becomes the task's defaults.
void frmMain::subSaveEffectOptions() {
    typTaskDefaults& d = Setup.TaskDefaults;
    auto check = [](const QAbstractButton* box) { return uint8_t(box->isChecked() ? 1 : 0); };
    auto channels = [&](TonePanel* panel, uint8_t& r, uint8_t& g, uint8_t& b) {
        r = check(panel->channel(0));
        g = check(panel->channel(1));
        b = check(panel->channel(2));
    };
    switch (TaskType(CurrentTask.TaskID)) {
    case TaskType::Blur:
        d.BlurLevel = int16_t(blurOptions->value());
        break;
    case TaskType::Sharpen:
        d.SharpenLevel = uint8_t(sharpenOptions->value());
        break;
    case TaskType::Contrast:
        d.ContrastLevel = int16_t(contrastOptions->value());
        channels(contrastOptions, d.ContrastRed, d.ContrastGreen, d.ContrastBlue);
        break;
    case TaskType::Brightness:
        d.BrightnessLevel = int16_t(brightnessOptions->value());
        channels(brightnessOptions, d.BrightnessRed, d.BrightnessGreen, d.BrightnessBlue);
        break;
    case TaskType::Watermark: {
        const WatermarkPanel* wm = watermarkOptions;
        d.Watermark.MergeStyle = int16_t(std::max(0, wm->cboMergeStyle->currentIndex()));
        d.Watermark.Transparency = int16_t(wm->sldWatermarkTransparency->Value());
        d.Watermark.Transparent = check(wm->chkWatermarkTransparent);
        d.Watermark.TransparentColor = wm->picWatermarkTransparentColor->BackColor();
        d.Watermark.ImageFile = wm->picWatermarkImage->path;
        break;
    }
    case TaskType::Text: {
        const TextPanel* t = textOptions;
        typTextTask& x = d.Text;
        x.Bold = check(t->chkTextBold);
        x.Style2 = check(t->chkTextItalic);
        x.Style3 = check(t->chkTextUnderline);
        x.Caption = t->txtDraw->text();
        x.Transparent = check(t->chkTransparent);
        x.BackColor = t->cmdTextBackground->BackColor();
        x.FontFamily = int16_t(t->ComboFontFamily->currentIndex());
        x.FontSize = cInt(t->comboFontSize->currentText());
        x.Position = int16_t(std::max(0, t->cboPosition->currentIndex()));
        x.Orientation = t->vertical() ? 1 : 0;
        x.ForeColor = t->cmdTextColor->BackColor();
        x.Filter = int16_t(std::max(0, t->ComboFilter->currentIndex()));
        x.Alignment = uint8_t(t->alignment());
        x.Angle = int16_t(t->vsbTextAngle->Value());
        break;
    }
    case TaskType::Frame:
        d.Frame.Style = SelectedStyle;
        d.Frame.Color = picCropBackColor->BackColor();
        d.Frame.Size = cInt(frameOptions->txtFrameSize->text());
        d.Frame.ResizeCanvas = check(frameOptions->chkFrameImageResizeCanvas);
        d.Frame.Kind = frameOptions->pictureFrame() ? 0 : 1;
        break;
    case TaskType::Mask:
        d.Mask.Style = SelectedStyle;
        d.Mask.Transparent = check(maskOptions->chkMaskTransparent);
        d.Mask.Level = int16_t(maskOptions->sldMask->Value());
        break;
    case TaskType::Shadow:
        d.ShadowStyle = int16_t(SelectedStyle - 8);
        break;
    default:
        break;
    }
}

// The focus-out rules of the font size, the text angle and the frame size, run again
// when Preview reads them (Enter on a default button skips the focus-out).
void frmMain::subClampEffectBoxes() {
    textOptions->clampFontSize();
    textOptions->clampAngle();
    frameOptions->clampSize();
}

// The panel's options as the task they describe.
TaskBuild frmMain::fncBuildEffectTask() const {
    const ImageBox& box = ibMain->box();
    auto tone = [](const TonePanel* panel) {
        return ToneOptions{panel->value(), panel->channel(0)->isChecked(),
                           panel->channel(1)->isChecked(), panel->channel(2)->isChecked()};
    };
    const PreviewScale scale{box.ImageWidth(), box.ImageHeight(), box.DisplayWidth(),
                             box.DisplayHeight()};
    switch (TaskType(CurrentTask.TaskID)) {
    case TaskType::Blur:
        return fncBlurTask(blurOptions->value());
    case TaskType::Sharpen:
        return fncSharpenTask(sharpenOptions->value());
    case TaskType::Contrast:
        return fncContrastTask(tone(contrastOptions));
    case TaskType::Brightness:
        return fncBrightnessTask(tone(brightnessOptions));
    case TaskType::Watermark: {
        const WatermarkPanel* wm = watermarkOptions;
        WatermarkOptions o;
        o.transparent = wm->chkWatermarkTransparent->isChecked();
        o.transparentColor = wm->picWatermarkTransparentColor->BackColor();
        o.transparency = wm->sldWatermarkTransparency->Value();
        o.styleText = wm->cboMergeStyle->currentText();
        o.currentStyle = box.MergeStyle();
        o.file = Setup.TaskDefaults.Watermark.ImageFile;
        o.pointX = PreviewSelection->WatermarkPointX;
        o.pointY = PreviewSelection->WatermarkPointY;
        o.autoZoom = box.AutoZoom();
        return fncWatermarkTask(o, scale);
    }
    case TaskType::Text: {
        const TextPanel* t = textOptions;
        TextOptions o;
        o.antiAlias = t->chkAntiAlias->isChecked();
        o.transparent = t->chkTransparent->isChecked();
        o.family = t->ComboFontFamily->currentText();
        o.size = t->comboFontSize->currentText();
        o.bold = t->chkTextBold->isChecked();
        o.italic = t->chkTextItalic->isChecked();
        o.underline = t->chkTextUnderline->isChecked();
        o.color = t->cmdTextColor->BackColor();
        o.backColor = t->cmdTextBackground->BackColor();
        o.position = t->cboPosition->currentIndex();
        o.vertical = t->vertical();
        o.alignment = t->alignment();
        o.angle = t->txtTextAngle->text();
        o.text = t->txtDraw->text();
        o.pointX = PreviewSelection->TextPointX;
        o.pointY = PreviewSelection->TextPointY;
        o.autoZoom = box.AutoZoom();
        return fncTextTask(o, scale);
    }
    case TaskType::Frame: {
        FrameOptions o;
        o.picture = frameOptions->pictureFrame();
        o.style = SelectedStyle;
        o.resizeCanvas = frameOptions->chkFrameImageResizeCanvas->isChecked();
        o.size = frameOptions->txtFrameSize->text();
        o.backColor = picCropBackColor->BackColor();
        return fncFrameTask(o, box.ImageWidth(), box.ImageHeight());
    }
    case TaskType::Mask:
        return fncMaskTask({maskOptions->chkMaskTransparent->isChecked(),
                            maskOptions->sldMask->Value(), SelectedStyle});
    case TaskType::Shadow:
        return fncShadowTask(SelectedStyle);
    case TaskType::RedEye: {
        TaskBuild redEye;
        redEye.task.TaskID = int32_t(TaskType::RedEye);
        redEye.task.TaskKey = QStringLiteral("redeye");
        return redEye;
    }
    default: {
        TaskBuild none;
        none.task = CurrentTask;
        none.task.TaskID = int32_t(TaskType::None);
        return none;
    }
    }
}

// The stamp of the watermark file. A file that is not there is said in a message; a
// file that is there but does not decode goes to the error report, since the task
// engine would skip its stamp without a word. Either way nothing is stamped, and the
// preview completes with the slots filled.
void frmMain::subApplyWatermark(const typTask& task) {
    PreviewSelection->LocationPickMode = false;
    chkSelectLocation->setChecked(false);
    WatermarkFile = Setup.TaskDefaults.Watermark.ImageFile;
    const WatermarkFileProblem problem = fncWatermarkFileProblem(task.Param[4]);
    typTask run = task;
    if (problem != WatermarkFileProblem::None)
        run.Param[4].clear();
    subRunTask(run, ibMain->box());
    if (problem == WatermarkFileProblem::Undecodable)
        subGlobalErrorHandler(
            QStringLiteral("The watermark image/logo cannot be read: %1").arg(task.Param[4]),
            err::InvalidPicture, 0, QStringLiteral("FrmMain.cmdApply_Click"));
    else if (problem != WatermarkFileProblem::None)
        msgBox(fncWatermarkFileMessage(problem), mb::Information | mb::OKOnly, ApplicationTitle);
}

// Red-eye correction works only inside the marked eye region, and leaves the box's
// filters on the whole image again.
void frmMain::subRemoveRedEye() {
    ImageBox& box = ibMain->box();
    box.setSelectionOnly(true);
    struct WholeImageAgain {
        ImageBox& box;
        ~WholeImageAgain() { box.setSelectionOnly(false); }
    } again{box};
    box.RemoveRedEye();
    box.ClearSelection();
}

void frmMain::chkRedEye_Click(bool ticked) {
    errorTail(QStringLiteral("FrmMain.chkRedEye_Click"), [&] {
        subClearSelection();
        PreviewSelection->PreviewToolMode = SelectionController::NoTool;
        if (!ticked)
            return;
        subResetPreviewView(true);
        ImageBox& box = ibMain->box();
        box.ClearSelection();
        PreviewSelection->PreviewMouseMode = SelectionController::Idle;
        box.BeginRedEyeSelection();
        subEnableApplyButtons(true);
    });
}

void frmMain::cmdSelectMerge_Click() {
    errorTail(QStringLiteral("FrmMain.cmdSelectMerge_Click"), [&] {
        CommonDialog.DialogTitle = QStringLiteral("Load Image for Merging");
        CommonDialog.FileName.clear();
        CommonDialog.Flags = 5;
        CommonDialog.Filter =
            QStringLiteral("All Image Files|*.bmp;*.jpg;*.jpeg;*.pcx;*.png;*.gif;*.wbm;*.wbmp;"
                           "*.psd;*.tif;*.tiff") +
            QStringLiteral("|Bitmap Files (*.bmp)|*.bmp|JPEG Files (*.jpg, *.jpeg)|*.jpg;*.jpeg") +
            QStringLiteral("|PCX Files (*.pcx)|*.pcx|PNG Files (*.png)|*.png") +
            QStringLiteral("|GIF Files (*.gif)|*.gif") +
            QStringLiteral("|Wireless Bitmap Files (*.wbm, *.wbmp)|*.wbm;*.wbmp") +
            QStringLiteral("|Adobe Photoshop Files (*.psd)|*.psd") +
            QStringLiteral("|TIFF Files (*.tif, *.tiff)|*.tif;*.tiff");
        fncShowOpen();
        if (!CommonDialog.FileName.isEmpty()) {
            WatermarkFile = CommonDialog.FileName;
            Setup.TaskDefaults.Watermark.ImageFile = CommonDialog.FileName;
        }
        subLoadWatermarkImage(WatermarkFile);
    });
}

// The picture of the watermark file, fitted into the panel's box on white, with the
// file's own size; an empty path (no file chosen yet) clears both.
void frmMain::subLoadWatermarkImage(const QString& path) {
    errorTail(QStringLiteral("FrmMain.subLoadWatermarkImage"), [&] {
        WatermarkFile = path;
        WatermarkPanel* wm = watermarkOptions;
        QImage picture;
        int32_t width = 0, height = 0;
        if (!path.isEmpty()) {
            const QSize fit = wm->pictureBox();
            picture = LoadPic(path, sizemode::Box, fit.width(), fit.height(), OleColor(0xFFFFFF),
                              width, height);
        }
        wm->showPicture(picture, path, width, height);
        subMarkOptionsChanged();
    });
}

} // namespace picbasket
