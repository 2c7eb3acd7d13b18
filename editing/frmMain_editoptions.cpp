// The option panels' load and store: a task's options shown in its panel from the
// setup record or from a task row, and the shown panel kept as the task's defaults.
#include "shell/mainwindow/frmMain.h"

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
#include "editing/frmMain_edit.h"
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
void frmMain::subLoadTaskOptions() {
    const typTaskDefaults& d = Setup.TaskDefaults;
    const ImageBox& box = preview_->ibMain->box();
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

} // namespace picbasket
