// The edit view's option panels: the geometry panels (flip, rotate, resize, crop,
// canvas) with the option controls they share, the tone, overlay and effect panels,
// and the picks their options make on the preview.
#include "shell/mainwindow/frmMain.h"

#include "browser/SelectionController.h"
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
#include "core/setup/modSetup.h"
#include "editing/ColorButton.h"
#include "editing/EditViewSplitters.h"
#include "editing/FramePanel.h"
#include "editing/GeometryTasks.h"
#include "editing/MaskPanel.h"
#include "editing/OptionControls.h"
#include "editing/PanelLayout.h"
#include "editing/PictureOptions.h"
#include "editing/RedEyePanel.h"
#include "editing/ShadowPanel.h"
#include "editing/TaskBasketReplay.h"
#include "editing/TaskBasketRows.h"
#include "editing/TaskIcons.h"
#include "editing/TextPanel.h"
#include "editing/TonePanel.h"
#include "editing/WatermarkPanel.h"
#include "editing/frmMain_edit.h"
#include "engine/loading/modBitmapPro.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/Slider.h"
#include "platform/imagebox/ImageBoxView.h"

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

// The width the explorer bar gives its groups' bodies, with its scroll bar shown.
constexpr int PanelWidth = 208;


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

// A numeric box: digits only, its default back when emptied, the whole text selected
// on focus; every change marks the options changed.
void frmMain::connectNumericBox(QLineEdit* box, const QString& defaultText) {
    fncBindNumberBox(box, defaultText, this, [this] { subMarkOptionsChanged(); });
}

void frmMain::buildSharedOptionControls() {
    edit_->FrameBackColor = new QGroupBox(QStringLiteral("Back Color"), edit_->picDialog);
    auto* colourRow = new QHBoxLayout(edit_->FrameBackColor);
    colourRow->setContentsMargins(6, 2, 6, 4);
    edit_->picCropBackColor = new ColorButton(edit_->FrameBackColor);
    edit_->picCropBackColor->setFixedSize(48, 24);
    edit_->picCropBackColor->setToolTip(QStringLiteral("Choose the background colour"));
    edit_->chkCropBackColor = new QPushButton(QStringLiteral("Pick"), edit_->FrameBackColor);
    edit_->chkCropBackColor->setCheckable(true);
    edit_->chkCropBackColor->setToolTip(QStringLiteral("Pick the background colour from the image"));
    colourRow->addWidget(edit_->picCropBackColor);
    colourRow->addWidget(edit_->chkCropBackColor);
    colourRow->addStretch(1);
    edit_->FrameBackColor->resize(PanelWidth - 2 * DialogMargin, edit_->FrameBackColor->sizeHint().height());
    edit_->FrameBackColor->hide();
    connect(edit_->picCropBackColor, &QPushButton::clicked, this, [this] { picCropBackColor_Click(); });

    edit_->picLocation = new QGroupBox(QStringLiteral("Select a co-ordinate"), edit_->picDialog);
    auto* locationRow = new QHBoxLayout(edit_->picLocation);
    locationRow->setContentsMargins(6, 2, 6, 4);
    edit_->chkSelectLocation = new QPushButton(QStringLiteral("Select"), edit_->picLocation);
    edit_->chkSelectLocation->setCheckable(true);
    edit_->lblSelectLocation = new QLabel(QStringLiteral("X-0; Y-0"), edit_->picLocation);
    locationRow->addWidget(edit_->chkSelectLocation);
    locationRow->addWidget(edit_->lblSelectLocation, 1);
    edit_->picLocation->resize(PanelWidth - 2 * DialogMargin, edit_->picLocation->sizeHint().height());
    edit_->picLocation->hide();
}

// The preview's selection drives the toggles, labels and swatch of the option panels.
void frmMain::connectEditSelection() {
    SelectionController* s = PreviewSelection;
    s->currentTask = [] { return int(CurrentTask.TaskID); };
    connect(s, &SelectionController::applyButtonsEnabled, this,
            [this](bool enabled) { subEnableApplyButtons(enabled); });
    connect(s, &SelectionController::regionStartText, edit_->lblSelectRegionStart, &QLabel::setText);
    connect(s, &SelectionController::regionEndText, edit_->lblSelectRegionEnd, &QLabel::setText);
    connect(s, &SelectionController::locationText, edit_->lblSelectLocation, &QLabel::setText);
    connect(s, &SelectionController::colourPicked, this,
            [this](uint32_t colour) { edit_->picCropBackColor->setBackColor(colour); });
    connect(s, &SelectionController::cropByMouseFinished, this,
            [this] { edit_->chkCropMouse->setChecked(false); });
    connect(s, &SelectionController::locationPickFinished, this,
            [this] { edit_->chkSelectLocation->setChecked(false); });
    connect(s, &SelectionController::pickBoxesCleared, this,
            [this] { edit_->chkCropBackColor->setChecked(false); });
    connect(edit_->chkCropBackColor, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            PreviewSelection->PreviewMouseMode = SelectionController::Idle;
        PreviewSelection->PreviewToolMode =
            on ? SelectionController::ColourPickTool : SelectionController::NoTool;
    });
    connect(edit_->chkSelectLocation, &QPushButton::toggled, this,
            [this](bool on) { PreviewSelection->LocationPickMode = on; });
    connect(edit_->chkCropMouse, &QPushButton::toggled, this, [this](bool on) { chkCropMouse_Click(on); });
    connectEffectPanels();
}

// Crop by mouse: on a fitted preview the image box draws its own selection; at actual
// size the preview's rectangle with grips is drawn.
void frmMain::chkCropMouse_Click(bool ticked) {
    errorTail(QStringLiteral("FrmMain.chkCropMouse_Click"), [&] {
        SelectionController* s = PreviewSelection;
        if (!ticked) {
            s->CropByMouseActive = false;
            edit_->TaskOptionsChanged = false;
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
        edit_->TaskOptionsChanged = true;
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
    edit_->chkSelectLocation->setChecked(false);
    edit_->chkCropMouse->setChecked(false);
    edit_->chkCropBackColor->setChecked(false);
    edit_->redEyeOptions->chkRedEye->setChecked(false);
    s->LocationPickMode = false;
    s->CropByMouseActive = false;
    ibMain->box().ClearSelection();
    subClearSelection();
    s->PreviewToolMode = SelectionController::NoTool;
}

void frmMain::picCropBackColor_Click() {
    errorTail(QStringLiteral("FrmMain.picCropBackColor_Click"), [&] {
        const ColorResult chosen = fncShowColor(this, true);
        if (chosen.Cancel || static_cast<int32_t>(chosen.Color) < 0)
            return;
        edit_->picCropBackColor->setBackColor(chosen.Color);
        subMarkOptionsChanged();
    });
}

void frmMain::buildFlipPanel() {
    QWidget* panel = taskPanel(QStringLiteral("picFlip"));
    QVBoxLayout* layout = panelLayout(panel);
    auto* group = new QButtonGroup(panel);
    const char* captions[] = {"Flip Horizontal", "Flip Vertical"};
    for (int i = 0; i < 2; ++i) {
        edit_->optFlip[size_t(i)] = new QRadioButton(QString::fromLatin1(captions[i]), panel);
        group->addButton(edit_->optFlip[size_t(i)], i);
        layout->addWidget(edit_->optFlip[size_t(i)]);
        connect(edit_->optFlip[size_t(i)], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                subMarkOptionsChanged();
        });
    }
    edit_->optFlip[0]->setChecked(true);
    fitPanel(panel);
}

void frmMain::buildRotatePanel() {
    QWidget* panel = taskPanel(QStringLiteral("picRotate"));
    QVBoxLayout* layout = panelLayout(panel);
    QHBoxLayout* degrees = row(layout);
    degrees->addWidget(new QLabel(QStringLiteral("Degrees"), panel));
    edit_->txtDegrees = numberBox(panel, QStringLiteral("45"));
    degrees->addWidget(edit_->txtDegrees);
    degrees->addStretch(1);
    edit_->sbDegrees = new QScrollBar(Qt::Horizontal, panel);
    edit_->sbDegrees->setRange(-180, 180);
    edit_->sbDegrees->setSingleStep(1);
    edit_->sbDegrees->setPageStep(15);
    layout->addWidget(edit_->sbDegrees);
    QHBoxLayout* presets = row(layout);
    const int angles[] = {-15, 15, 45, -45};
    for (int i = 0; i < 4; ++i) {
        edit_->cmdAngle[size_t(i)] = new QPushButton(QString::number(angles[i]), panel);
        edit_->cmdAngle[size_t(i)]->setFixedWidth(40);
        presets->addWidget(edit_->cmdAngle[size_t(i)]);
        connect(edit_->cmdAngle[size_t(i)], &QPushButton::clicked, this,
                [this, angle = angles[i]] { edit_->sbDegrees->setValue(angle); });
    }
    presets->addStretch(1);
    edit_->chkRotateResample = new QCheckBox(QStringLiteral("Resample"), panel);
    layout->addWidget(edit_->chkRotateResample);
    auto* note = new QLabel(QStringLiteral("Note: Canvas will be resized"), panel);
    layout->addWidget(note);
    fitPanel(panel);

    connectNumericBox(edit_->txtDegrees, QStringLiteral("45"));
    // The bar shows the typed angle normalised; the text is kept as typed.
    connect(edit_->sbDegrees, &QScrollBar::valueChanged, this, [this](int value) {
        bool same = false;
        try {
            same = normalisedAngle(cInt(edit_->txtDegrees->text())) == value;
        } catch (...) {
            // A box that reads no angle takes the bar's.
        }
        if (!same) {
            const QSignalBlocker echo(edit_->txtDegrees);
            edit_->txtDegrees->setText(QString::number(value));
        }
        subMarkOptionsChanged();
    });
    connect(edit_->txtDegrees, &QLineEdit::editingFinished, this, [this] {
        try {
            subClampTextValue(edit_->txtDegrees, -180, 360);
            const QSignalBlocker echo(edit_->sbDegrees);
            edit_->sbDegrees->setValue(normalisedAngle(cInt(edit_->txtDegrees->text())));
        } catch (...) {
            // The bar keeps what it had.
        }
    });
    connect(edit_->chkRotateResample, &QCheckBox::toggled, this, [this] { subMarkOptionsChanged(); });
}

void frmMain::buildResizePanel() {
    QWidget* panel = taskPanel(QStringLiteral("picResize"));
    QVBoxLayout* layout = panelLayout(panel);
    auto* group = new QButtonGroup(panel);
    edit_->optResize[0] = new QRadioButton(QStringLiteral("Resize"), panel);
    edit_->optResize[1] = new QRadioButton(QStringLiteral("Scale"), panel);
    QHBoxLayout* modes = row(layout);
    for (int i = 0; i < 2; ++i) {
        group->addButton(edit_->optResize[size_t(i)], i);
        modes->addWidget(edit_->optResize[size_t(i)]);
    }
    modes->addStretch(1);

    edit_->frameResize = new QWidget(panel);
    auto* sizes = new QGridLayout(edit_->frameResize);
    sizes->setContentsMargins(0, 0, 0, 0);
    edit_->txtResizeWidth = numberBox(edit_->frameResize, QStringLiteral("0"));
    edit_->txtResizeHeight = numberBox(edit_->frameResize, QStringLiteral("0"));
    edit_->txtResizeWidth->setFixedWidth(70);
    edit_->txtResizeHeight->setFixedWidth(70);
    sizes->addWidget(new QLabel(QStringLiteral("Width"), edit_->frameResize), 0, 0);
    sizes->addWidget(edit_->txtResizeWidth, 0, 1);
    sizes->addWidget(new QLabel(QStringLiteral("Height"), edit_->frameResize), 1, 0);
    sizes->addWidget(edit_->txtResizeHeight, 1, 1);
    edit_->chkResizeRatio = new QCheckBox(QStringLiteral("Retain Ratio"), edit_->frameResize);
    sizes->addWidget(edit_->chkResizeRatio, 2, 0, 1, 2);
    sizes->setColumnStretch(2, 1);
    layout->addWidget(edit_->frameResize);

    edit_->FrameScale = new QWidget(panel);
    auto* scale = new QHBoxLayout(edit_->FrameScale);
    scale->setContentsMargins(0, 0, 0, 0);
    scale->addWidget(new QLabel(QStringLiteral("Enter percentage"), edit_->FrameScale));
    edit_->txtScale = new QLineEdit(QStringLiteral("50"), edit_->FrameScale);
    edit_->txtScale->setFixedWidth(56);
    scale->addWidget(edit_->txtScale);
    scale->addStretch(1);
    layout->addWidget(edit_->FrameScale);
    edit_->chkResizeResample = new QCheckBox(QStringLiteral("Resample"), panel);
    layout->addWidget(edit_->chkResizeResample);
    edit_->optResize[0]->setChecked(true);
    edit_->FrameScale->hide();
    // Room for whichever frame is shown.
    panel->resize(PanelWidth, layout->sizeHint().height() + edit_->FrameScale->sizeHint().height());

    for (QLineEdit* box : {edit_->txtResizeWidth, edit_->txtResizeHeight})
        subSelectAllOnFocus(box);
    connect(edit_->txtResizeWidth, &QLineEdit::textChanged, this, [this] { txtResizeWidth_Change(); });
    connect(edit_->txtResizeHeight, &QLineEdit::textChanged, this, [this] { txtResizeHeight_Change(); });
    for (int i = 0; i < 2; ++i)
        connect(edit_->optResize[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            edit_->frameResize->setVisible(i == 0);
            edit_->FrameScale->setVisible(i == 1);
            subMarkOptionsChanged();
        });
    connect(edit_->txtScale, &QLineEdit::textChanged, this, [this] { subMarkOptionsChanged(); });
    for (QCheckBox* box : {edit_->chkResizeRatio, edit_->chkResizeResample})
        connect(box, &QCheckBox::toggled, this, [this] { subMarkOptionsChanged(); });
}

void frmMain::txtResizeWidth_Change() {
    ratioLock(edit_->txtResizeWidth, edit_->txtResizeHeight, edit_->chkResizeRatio->isChecked(), edit_->ResizeWidthUpdating,
              edit_->ResizeHeightUpdating, edit_->EditOriginalWidth, edit_->EditOriginalHeight);
    subMarkOptionsChanged();
}

void frmMain::txtResizeHeight_Change() {
    ratioLock(edit_->txtResizeHeight, edit_->txtResizeWidth, edit_->chkResizeRatio->isChecked(), edit_->ResizeHeightUpdating,
              edit_->ResizeWidthUpdating, edit_->EditOriginalHeight, edit_->EditOriginalWidth);
    subMarkOptionsChanged();
}

void frmMain::buildCropPanel() {
    QWidget* panel = taskPanel(QStringLiteral("picCrop"));
    QVBoxLayout* layout = panelLayout(panel);
    auto* group = new QButtonGroup(panel);
    edit_->optCropSelect[0] = new QRadioButton(QStringLiteral("Mouse "), panel);
    edit_->optCropSelect[1] = new QRadioButton(QStringLiteral("Key-in"), panel);
    QHBoxLayout* modes = row(layout);
    for (int i = 0; i < 2; ++i) {
        group->addButton(edit_->optCropSelect[size_t(i)], i);
        modes->addWidget(edit_->optCropSelect[size_t(i)]);
    }
    modes->addStretch(1);

    edit_->frameCropMouse = new QWidget(panel);
    auto* mouse = new QGridLayout(edit_->frameCropMouse);
    mouse->setContentsMargins(0, 0, 0, 0);
    auto* hint = new QLabel(
        QStringLiteral("Click the button below and select the crop region from the image."),
        edit_->frameCropMouse);
    hint->setWordWrap(true);
    // Wrapped to the panel's width the hint takes three lines.
    hint->setMinimumHeight(3 * hint->fontMetrics().lineSpacing() + 2);
    mouse->addWidget(hint, 0, 0, 1, 2);
    edit_->chkCropMouse = new QPushButton(QStringLiteral("Select region"), edit_->frameCropMouse);
    edit_->chkCropMouse->setCheckable(true);
    mouse->addWidget(edit_->chkCropMouse, 1, 0, 1, 2);
    edit_->lblSelectRegionStart = new QLabel(QStringLiteral("X : 0 ; Y : 0"), edit_->frameCropMouse);
    edit_->lblSelectRegionEnd = new QLabel(QStringLiteral("X : 0 ; Y : 0"), edit_->frameCropMouse);
    mouse->addWidget(new QLabel(QStringLiteral("Starting:"), edit_->frameCropMouse), 2, 0);
    mouse->addWidget(edit_->lblSelectRegionStart, 2, 1);
    mouse->addWidget(new QLabel(QStringLiteral("Ending:"), edit_->frameCropMouse), 3, 0);
    mouse->addWidget(edit_->lblSelectRegionEnd, 3, 1);
    mouse->setColumnStretch(1, 1);
    layout->addWidget(edit_->frameCropMouse);

    edit_->frameCropFixed = new QWidget(panel);
    auto* fixed = new QGridLayout(edit_->frameCropFixed);
    fixed->setContentsMargins(0, 0, 0, 0);
    edit_->txtCropLeft = numberBox(edit_->frameCropFixed, QStringLiteral("0"));
    edit_->txtCropTop = numberBox(edit_->frameCropFixed, QStringLiteral("0"));
    edit_->txtCropRight = numberBox(edit_->frameCropFixed, QStringLiteral("0"));
    edit_->txtCropBot = numberBox(edit_->frameCropFixed, QStringLiteral("0"));
    const std::pair<const char*, QLineEdit*> boxes[] = {{"Left", edit_->txtCropLeft},
                                                        {"Top", edit_->txtCropTop},
                                                        {"Right", edit_->txtCropRight},
                                                        {"Bottom", edit_->txtCropBot}};
    for (int i = 0; i < 4; ++i) {
        boxes[i].second->setFixedWidth(44);
        fixed->addWidget(new QLabel(QString::fromLatin1(boxes[i].first), edit_->frameCropFixed), i / 2,
                         (i % 2) * 2);
        fixed->addWidget(boxes[i].second, i / 2, (i % 2) * 2 + 1);
        connectNumericBox(boxes[i].second, QStringLiteral("0"));
    }
    fixed->addWidget(new QLabel(QStringLiteral("Select type"), edit_->frameCropFixed), 2, 0, 1, 2);
    edit_->cmbCrop = new QComboBox(edit_->frameCropFixed);
    edit_->cmbCrop->addItems({QStringLiteral("Rectangle"), QStringLiteral("Ellipse")});
    fixed->addWidget(edit_->cmbCrop, 2, 2, 1, 2);
    layout->addWidget(edit_->frameCropFixed);
    edit_->frameCropMouse->hide();
    edit_->optCropSelect[1]->setChecked(true);
    panel->resize(PanelWidth, layout->sizeHint().height() +
                                  std::max(0, edit_->frameCropMouse->sizeHint().height() -
                                                  edit_->frameCropFixed->sizeHint().height()));

    connect(edit_->txtCropTop, &QLineEdit::editingFinished, this, [this] {
        subClampTextValue(edit_->txtCropTop, 0, int16_t(std::min(32767, ibMain->box().ImageHeight())));
    });
    for (int i = 0; i < 2; ++i)
        connect(edit_->optCropSelect[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optCropSelect_Click(i);
        });
    connect(edit_->cmbCrop, &QComboBox::currentIndexChanged, this, [this] { cmbCrop_Click(); });
}

void frmMain::optCropSelect_Click(int index) {
    edit_->frameCropMouse->hide();
    edit_->frameCropFixed->hide();
    Setup.TaskDefaults.CropMode = uint8_t(index);
    if (index == 0) {
        edit_->frameCropMouse->show();
    } else {
        edit_->frameCropFixed->show();
        edit_->txtCropRight->setText(QString::number(ibMain->box().ImageWidth()));
        edit_->txtCropBot->setText(QString::number(ibMain->box().ImageHeight()));
    }
    subMarkOptionsChanged();
    fitDialogToPanel();
}

void frmMain::cmbCrop_Click() {
    edit_->FrameBackColor->hide();
    if (edit_->cmbCrop->currentIndex() == 1)
        edit_->FrameBackColor->show();
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
        edit_->txtCanvasCustom[i] = numberBox(panel, QStringLiteral("0"));
        edit_->txtCanvasCustom[i]->setFixedWidth(44);
        cell->addWidget(edit_->txtCanvasCustom[i]);
        grid->addLayout(cell, cells[i].first, cells[i].second, Qt::AlignCenter);
        connectNumericBox(edit_->txtCanvasCustom[i], QStringLiteral("0"));
        connect(edit_->txtCanvasCustom[i], &QLineEdit::editingFinished, this,
                [this, i] { subClampTextValue(edit_->txtCanvasCustom[i], 0, 800); });
    }
    auto* picture = new QLabel(panel);
    picture->setPixmap(QPixmap::fromImage(fncTaskIcon(QStringLiteral("canvas")).scaled(32, 32)));
    grid->addWidget(picture, 2, 2, Qt::AlignCenter);
    fitPanel(panel);
}

// The focus-out clamps again, since Enter on a default button skips the focus-out.
void frmMain::subClampOptionBoxes() {
    subClampTextValue(edit_->txtDegrees, -180, 360);
    subClampTextValue(edit_->txtCropTop, 0, int16_t(std::min(32767, ibMain->box().ImageHeight())));
    for (QLineEdit* box : edit_->txtCanvasCustom)
        subClampTextValue(box, 0, 800);
    subClampEffectBoxes();
}

// ---- The tone, overlay and effect panels ----

void frmMain::buildEffectPanels() {
    edit_->blurOptions = new TonePanel(taskPanel(QStringLiteral("picBlur")), {1, 10, 1, false});
    edit_->sharpenOptions = new TonePanel(taskPanel(QStringLiteral("picSharpen")), {1, 10, 1, false});
    edit_->contrastOptions = new TonePanel(taskPanel(QStringLiteral("picContrast")), {0, 100, 50, true});
    edit_->brightnessOptions =
        new TonePanel(taskPanel(QStringLiteral("picBrightness")), {0, 100, 50, true});
    edit_->watermarkOptions = new WatermarkPanel(taskPanel(QStringLiteral("picWatermark")), edit_->cboMergeStyle);
    edit_->textOptions = new TextPanel(taskPanel(QStringLiteral("picText")),
                                {edit_->cboPosition, edit_->ComboFilter, edit_->comboFontSize, edit_->ComboFontFamily});
    edit_->frameOptions = new FramePanel(taskPanel(QStringLiteral("picFrame")));
    edit_->maskOptions = new MaskPanel(taskPanel(QStringLiteral("picMask")));
    edit_->shadowOptions = new ShadowPanel(taskPanel(QStringLiteral("picShadow")));
    edit_->redEyeOptions = new RedEyePanel(taskPanel(QStringLiteral("picRedEye")));

    auto changed = [this] { subMarkOptionsChanged(); };
    for (TonePanel* tone : {edit_->blurOptions, edit_->sharpenOptions, edit_->contrastOptions, edit_->brightnessOptions})
        connect(tone, &TonePanel::optionsChanged, this, changed);
    connect(edit_->watermarkOptions, &WatermarkPanel::optionsChanged, this, changed);
    connect(edit_->textOptions, &TextPanel::optionsChanged, this, changed);
    connect(edit_->frameOptions, &FramePanel::optionsChanged, this, changed);
    connect(edit_->maskOptions, &MaskPanel::optionsChanged, this, changed);
    connect(edit_->shadowOptions, &ShadowPanel::optionsChanged, this, changed);

    WatermarkPanel* wm = edit_->watermarkOptions;
    connect(wm->cmdSelectMerge, &QPushButton::clicked, this, [this] { cmdSelectMerge_Click(); });
    connect(wm->picWatermarkTransparentColor, &QPushButton::clicked, this,
            [this] { subPickButtonColour(edit_->watermarkOptions->picWatermarkTransparentColor); });
    connect(wm->chkWatermarkTransparentColor, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            edit_->PickWatermarkColor = true;
    });
    connect(wm->picWatermarkImage, &WatermarkPicture::MouseDown, this, [this](int x, int y) {
        const QImage& shown = edit_->watermarkOptions->picWatermarkImage->picture;
        if (!edit_->PickWatermarkColor || !shown.valid(x, y))
            return;
        edit_->watermarkOptions->picWatermarkTransparentColor->setBackColor(
            qColorToOle(QColor(shown.pixel(x, y))));
    });
    connect(wm->picWatermarkImage, &WatermarkPicture::MouseUp, this, [this] {
        edit_->PickWatermarkColor = false;
        edit_->watermarkOptions->chkWatermarkTransparentColor->setChecked(false);
    });
    connect(wm, &WatermarkPanel::mergeStyleClicked, this, [this](int index) {
        edit_->chkSelectLocation->setChecked(false);
        edit_->picLocation->setVisible(index == 0);
        fitDialogToPanel();
    });

    TextPanel* text = edit_->textOptions;
    connect(text, &TextPanel::changedFlagOnly, this, [this] { edit_->TaskOptionsChanged = true; });
    connect(text, &TextPanel::positionClicked, this, [this](int index) {
        if (index >= 0 && index <= 9)
            edit_->picLocation->setVisible(index == 9);
    });
    connect(text, &TextPanel::layoutChanged, this, [this] {
        panel::fit(edit_->textOptions->panel);
        fitDialogToPanel();
    });
    connect(text->cmdTextColor, &QPushButton::clicked, this,
            [this] { subPickButtonColour(edit_->textOptions->cmdTextColor); });
    connect(text->cmdTextBackground, &QPushButton::clicked, this,
            [this] { subPickButtonColour(edit_->textOptions->cmdTextBackground); });

    connect(edit_->frameOptions, &FramePanel::frameKindClicked, this, [this](int index) {
        edit_->FrameBackColor->setVisible(index == 1);
        panel::fit(edit_->frameOptions->panel);
        fitDialogToPanel();
    });
    connect(edit_->frameOptions, &FramePanel::frameImageClicked, this,
            [this](int index) { edit_->SelectedStyle = int16_t(index); });
    connect(edit_->maskOptions, &MaskPanel::maskClicked, this,
            [this](int index) { edit_->SelectedStyle = int16_t(index); });
    connect(edit_->shadowOptions, &ShadowPanel::shadowClicked, this,
            [this](int index) { edit_->SelectedStyle = int16_t(index + 8); });
    connect(edit_->redEyeOptions->chkRedEye, &QPushButton::toggled, this,
            [this](bool on) { chkRedEye_Click(on); });
}

// The release of the mouse on the preview ends the red-eye marking as it ends the
// colour pick.
void frmMain::connectEffectPanels() {
    connect(PreviewSelection, &SelectionController::pickBoxesCleared, this,
            [this] { edit_->redEyeOptions->chkRedEye->setChecked(false); });
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

// The focus-out rules of the font size, the text angle and the frame size, run again
// when Preview reads them (Enter on a default button skips the focus-out).
void frmMain::subClampEffectBoxes() {
    edit_->textOptions->clampFontSize();
    edit_->textOptions->clampAngle();
    edit_->frameOptions->clampSize();
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
            edit_->WatermarkFile = CommonDialog.FileName;
            Setup.TaskDefaults.Watermark.ImageFile = CommonDialog.FileName;
        }
        subLoadWatermarkImage(edit_->WatermarkFile);
    });
}

// The picture of the watermark file, fitted into the panel's box on white, with the
// file's own size; an empty path (no file chosen yet) clears both.
void frmMain::subLoadWatermarkImage(const QString& path) {
    errorTail(QStringLiteral("FrmMain.subLoadWatermarkImage"), [&] {
        edit_->WatermarkFile = path;
        WatermarkPanel* wm = edit_->watermarkOptions;
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
