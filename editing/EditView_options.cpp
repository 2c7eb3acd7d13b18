// The option panels' load and store: a task's options shown in its panel from the
// setup record or from a task row, and the shown panel kept as the task's defaults.
#include "editing/EditView.h"

#include "browser/SelectionController.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "core/AppError.h"
#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "editing/ColorButton.h"
#include "editing/EditView_common.h"
#include "editing/FramePanel.h"
#include "editing/MaskPanel.h"
#include "editing/OptionControls.h"
#include "editing/PanelLayout.h"
#include "editing/PictureOptions.h"
#include "editing/ShadowPanel.h"
#include "editing/TaskBasketReplay.h"
#include "editing/TaskBasketRows.h"
#include "editing/TextPanel.h"
#include "editing/TonePanel.h"
#include "editing/WatermarkPanel.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/Slider.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

namespace picbasket {

// The stored options of the chosen task into its panel. Setting a control runs its
// own change handler, which marks the options changed whenever the value changes.
void EditView::subLoadTaskOptions() {
    const typTaskDefaults& d = Setup.TaskDefaults;
    const ImageBox& box = host_.previewView()->box();
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
void EditView::subSaveTaskOptions() {
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

// The stored options of a tone, overlay or effect task into its panel.
void EditView::subLoadEffectOptions() {
    const typTaskDefaults& d = Setup.TaskDefaults;
    auto tone = [this](TonePanel* panel, int level, std::array<uint8_t, 3> channels) {
        panel->load(level, channels);
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
        maskOptions->load(d.Mask);
        SelectedStyle = d.Mask.Style;
        subMarkOptionsChanged();
        break;
    case TaskType::Shadow:
        subMarkOptionsChanged();
        shadowOptions->pictureOptions()->select(d.ShadowStyle);
        SelectedStyle = int16_t(d.ShadowStyle + 8);
        break;
    default:
        break;
    }
}

void EditView::subLoadWatermarkOptions(const typWatermarkTask& d) {
    watermarkOptions->load(d);
    picLocation->setVisible(d.MergeStyle == 0);
    if (!fncFileExists(d.ImageFile))
        return;
    if (watermarkOptions->picture()->file().isEmpty())
        subLoadWatermarkImage(d.ImageFile);
    subMarkOptionsChanged();
}

void EditView::subLoadTextOptions(const typTextTask& d) {
    textOptions->load(d);
    picLocation->setVisible(d.Position == 9);
    if (!textOptions->textBox()->text().isEmpty())
        subMarkOptionsChanged();
}

void EditView::subLoadFrameOptions(const typFrameTask& d) {
    frameOptions->load(d);
    SelectedStyle = d.Style;
    picCropBackColor->setBackColor(d.Color);
    FrameBackColor->setVisible(d.Kind != 0);
    subMarkOptionsChanged();
}

// The confirmed task's panel becomes the task's defaults.
void EditView::subSaveEffectOptions() {
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
    case TaskType::Watermark:
        watermarkOptions->store(d.Watermark);
        break;
    case TaskType::Text:
        textOptions->store(d.Text);
        break;
    case TaskType::Frame:
        d.Frame.Style = SelectedStyle;
        d.Frame.Color = picCropBackColor->BackColor();
        frameOptions->store(d.Frame);
        break;
    case TaskType::Mask:
        d.Mask.Style = SelectedStyle;
        maskOptions->store(d.Mask);
        break;
    case TaskType::Shadow:
        d.ShadowStyle = int16_t(SelectedStyle - 8);
        break;
    default:
        break;
    }
}

} // namespace picbasket
