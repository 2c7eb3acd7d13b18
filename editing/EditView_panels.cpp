// The edit view's option panels: the geometry panels (flip, rotate, resize, crop,
// canvas) with the option controls they share, the tone, overlay and effect panels,
// and the picks their options make on the preview.
#include "editing/EditView.h"

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
#include "editing/EditView_common.h"
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
void EditView::connectNumericBox(QLineEdit* box, const QString& defaultText) {
    fncBindNumberBox(box, defaultText, this, [this] { subMarkOptionsChanged(); });
}

void EditView::buildSharedOptionControls() {
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
void EditView::connectEditSelection() {
    SelectionController* s = host_.previewSelection();
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
            host_.previewSelection()->PreviewMouseMode = SelectionController::Idle;
        host_.previewSelection()->PreviewToolMode =
            on ? SelectionController::ColourPickTool : SelectionController::NoTool;
    });
    connect(chkSelectLocation, &QPushButton::toggled, this,
            [this](bool on) { host_.previewSelection()->LocationPickMode = on; });
    connect(chkCropMouse, &QPushButton::toggled, this, [this](bool on) { chkCropMouse_Click(on); });
    connectEffectPanels();
}

// Crop by mouse: on a fitted preview the image box draws its own selection; at actual
// size the preview's rectangle with grips is drawn.
void EditView::chkCropMouse_Click(bool ticked) {
    errorTail(QStringLiteral("FrmMain.chkCropMouse_Click"), [&] {
        SelectionController* s = host_.previewSelection();
        if (!ticked) {
            s->CropByMouseActive = false;
            TaskOptionsChanged = false;
            return;
        }
        subResetPreviewView(true);
        s->CropByMouseActive = true;
        ImageBox& box = host_.previewView()->box();
        box.ClearSelection();
        emit previewSelectionClearRequested();
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

bool EditView::fncPreviewIsScaled() const {
    const ImageBox& box = host_.previewView()->box();
    return box.AutoZoom() &&
           (box.DisplayWidth() != box.ImageWidth() || box.DisplayHeight() != box.ImageHeight());
}

// The pick modes end with the task they served: no colour pick, crop drag or
// position pick outlives a task's options or the edit view.
void EditView::subEndPickModes() {
    SelectionController* s = host_.previewSelection();
    chkSelectLocation->setChecked(false);
    chkCropMouse->setChecked(false);
    chkCropBackColor->setChecked(false);
    redEyeOptions->regionToggle()->setChecked(false);
    s->LocationPickMode = false;
    s->CropByMouseActive = false;
    host_.previewView()->box().ClearSelection();
    emit previewSelectionClearRequested();
    s->PreviewToolMode = SelectionController::NoTool;
}

void EditView::picCropBackColor_Click() {
    errorTail(QStringLiteral("FrmMain.picCropBackColor_Click"), [&] {
        const ColorResult chosen = fncShowColor(dialogParent_, true);
        if (chosen.Cancel || static_cast<int32_t>(chosen.Color) < 0)
            return;
        picCropBackColor->setBackColor(chosen.Color);
        subMarkOptionsChanged();
    });
}

void EditView::buildFlipPanel() {
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

void EditView::buildRotatePanel() {
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

void EditView::buildResizePanel() {
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
        subSelectAllOnFocus(box);
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

void EditView::txtResizeWidth_Change() {
    ratioLock(txtResizeWidth, txtResizeHeight, chkResizeRatio->isChecked(), ResizeWidthUpdating,
              ResizeHeightUpdating, EditOriginalWidth, EditOriginalHeight);
    subMarkOptionsChanged();
}

void EditView::txtResizeHeight_Change() {
    ratioLock(txtResizeHeight, txtResizeWidth, chkResizeRatio->isChecked(), ResizeHeightUpdating,
              ResizeWidthUpdating, EditOriginalHeight, EditOriginalWidth);
    subMarkOptionsChanged();
}

void EditView::buildCropPanel() {
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
        subClampTextValue(txtCropTop, 0,
                          int16_t(std::min(32767, host_.previewView()->box().ImageHeight())));
    });
    for (int i = 0; i < 2; ++i)
        connect(optCropSelect[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optCropSelect_Click(i);
        });
    connect(cmbCrop, &QComboBox::currentIndexChanged, this, [this] { cmbCrop_Click(); });
}

void EditView::optCropSelect_Click(int index) {
    frameCropMouse->hide();
    frameCropFixed->hide();
    Setup.TaskDefaults.CropMode = uint8_t(index);
    if (index == 0) {
        frameCropMouse->show();
    } else {
        frameCropFixed->show();
        txtCropRight->setText(QString::number(host_.previewView()->box().ImageWidth()));
        txtCropBot->setText(QString::number(host_.previewView()->box().ImageHeight()));
    }
    subMarkOptionsChanged();
    fitDialogToPanel();
}

void EditView::cmbCrop_Click() {
    FrameBackColor->hide();
    if (cmbCrop->currentIndex() == 1)
        FrameBackColor->show();
    subMarkOptionsChanged();
    fitDialogToPanel();
}

void EditView::buildCanvasPanel() {
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
void EditView::subClampOptionBoxes() {
    subClampTextValue(txtDegrees, -180, 360);
    subClampTextValue(txtCropTop, 0,
                      int16_t(std::min(32767, host_.previewView()->box().ImageHeight())));
    for (QLineEdit* box : txtCanvasCustom)
        subClampTextValue(box, 0, 800);
    subClampEffectBoxes();
}

// ---- The tone, overlay and effect panels ----

void EditView::buildEffectPanels() {
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
    connect(wm->selectButton(), &QPushButton::clicked, this, [this] { cmdSelectMerge_Click(); });
    connect(wm->transparentColourButton(), &QPushButton::clicked, this,
            [this] { subPickButtonColour(watermarkOptions->transparentColourButton()); });
    connect(wm->colourPickToggle(), &QPushButton::toggled, this, [this](bool on) {
        if (on)
            PickWatermarkColor = true;
    });
    connect(wm->picture(), &WatermarkPicture::MouseDown, this, [this](int x, int y) {
        const QImage& shown = watermarkOptions->picture()->image();
        if (!PickWatermarkColor || !shown.valid(x, y))
            return;
        watermarkOptions->transparentColourButton()->setBackColor(
            qColorToOle(QColor(shown.pixel(x, y))));
    });
    connect(wm->picture(), &WatermarkPicture::MouseUp, this, [this] {
        PickWatermarkColor = false;
        watermarkOptions->colourPickToggle()->setChecked(false);
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
    connect(text, &TextPanel::layoutChanged, this, [this] { fitDialogToPanel(); });
    connect(text->colourButton(), &QPushButton::clicked, this,
            [this] { subPickButtonColour(textOptions->colourButton()); });
    connect(text->backgroundButton(), &QPushButton::clicked, this,
            [this] { subPickButtonColour(textOptions->backgroundButton()); });

    connect(frameOptions, &FramePanel::frameKindClicked, this, [this](int index) {
        FrameBackColor->setVisible(index == 1);
        fitDialogToPanel();
    });
    connect(frameOptions, &FramePanel::frameImageClicked, this,
            [this](int index) { SelectedStyle = int16_t(index); });
    connect(maskOptions, &MaskPanel::maskClicked, this,
            [this](int index) { SelectedStyle = int16_t(index); });
    connect(shadowOptions, &ShadowPanel::shadowClicked, this,
            [this](int index) { SelectedStyle = int16_t(index + 8); });
    connect(redEyeOptions->regionToggle(), &QPushButton::toggled, this,
            [this](bool on) { chkRedEye_Click(on); });
}

// The release of the mouse on the preview ends the red-eye marking as it ends the
// colour pick.
void EditView::connectEffectPanels() {
    connect(host_.previewSelection(), &SelectionController::pickBoxesCleared, this,
            [this] { redEyeOptions->regionToggle()->setChecked(false); });
}

void EditView::subPickButtonColour(ColorButton* button) {
    errorTail(QStringLiteral("FrmMain.subPickButtonColour"), [&] {
        const ColorResult chosen = fncShowColor(dialogParent_, true);
        if (chosen.Cancel || static_cast<int32_t>(chosen.Color) < 0)
            return;
        button->setBackColor(chosen.Color);
        subMarkOptionsChanged();
    });
}

// The focus-out rules of the font size, the text angle and the frame size, run again
// when Preview reads them (Enter on a default button skips the focus-out).
void EditView::subClampEffectBoxes() {
    textOptions->clampFontSize();
    textOptions->clampAngle();
    frameOptions->clampSize();
}

void EditView::chkRedEye_Click(bool ticked) {
    errorTail(QStringLiteral("FrmMain.chkRedEye_Click"), [&] {
        emit previewSelectionClearRequested();
        host_.previewSelection()->PreviewToolMode = SelectionController::NoTool;
        if (!ticked)
            return;
        subResetPreviewView(true);
        ImageBox& box = host_.previewView()->box();
        box.ClearSelection();
        host_.previewSelection()->PreviewMouseMode = SelectionController::Idle;
        box.BeginRedEyeSelection();
        subEnableApplyButtons(true);
    });
}

void EditView::cmdSelectMerge_Click() {
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
void EditView::subLoadWatermarkImage(const QString& path) {
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
