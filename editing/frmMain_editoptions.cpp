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
    const ImageBox& box = ibMain->box();
    switch (TaskType(CurrentTask.TaskID)) {
    case TaskType::None:
        subEnableApplyButtons(false);
        edit_->cmdOK->setEnabled(true);
        break;
    case TaskType::Flip:
        edit_->optFlip[d.FlipMode == 0 ? 0 : 1]->setChecked(true);
        subMarkOptionsChanged();
        break;
    case TaskType::Rotate:
        edit_->FrameBackColor->show();
        edit_->txtDegrees->setText(QString::number(d.RotateDegrees));
        edit_->sbDegrees->setValue(normalisedAngle(d.RotateDegrees));
        edit_->chkRotateResample->setChecked(d.RotateResample != 0);
        edit_->picCropBackColor->setBackColor(d.RotateColor);
        if (edit_->txtDegrees->text() != QLatin1String("0"))
            subMarkOptionsChanged();
        break;
    case TaskType::Resize:
        subFillEditSizeBoxes();
        edit_->txtScale->setText(QString::number(d.ResizeScale));
        edit_->optResize[d.ResizeMode == 0 ? 0 : 1]->setChecked(true);
        edit_->chkResizeRatio->setChecked(d.ResizeKeepRatio != 0);
        edit_->chkResizeResample->setChecked(d.ResizeResample != 0);
        if (d.ResizeMode == 1 && edit_->txtScale->text() != QLatin1String("100"))
            subMarkOptionsChanged();
        break;
    case TaskType::Crop:
        edit_->txtCropTop->setText(QStringLiteral("0"));
        edit_->txtCropLeft->setText(QStringLiteral("0"));
        edit_->txtCropRight->setText(QString::number(box.ImageWidth()));
        edit_->txtCropBot->setText(QString::number(box.ImageHeight()));
        edit_->optCropSelect[d.CropMode == 0 ? 0 : 1]->setChecked(true);
        edit_->frameCropMouse->setVisible(d.CropMode == 0);
        edit_->frameCropFixed->setVisible(d.CropMode != 0);
        if (d.CropMode != 0) {
            edit_->txtCropRight->setText(QString::number(box.ImageWidth()));
            edit_->txtCropBot->setText(QString::number(box.ImageHeight()));
        }
        edit_->cmbCrop->setCurrentIndex(d.CropPreset == 0 ? 0 : 1);
        // The ellipse's outside takes the background colour, so its swatch shows.
        edit_->FrameBackColor->setVisible(d.CropMode != 0 && edit_->cmbCrop->currentIndex() == 1);
        subEnableApplyButtons(false);
        edit_->cmdOK->setEnabled(false);
        edit_->TaskOptionsChanged = false;
        break;
    case TaskType::Invert:
        subMarkOptionsChanged();
        break;
    case TaskType::Canvas:
        edit_->FrameBackColor->show();
        edit_->picCropBackColor->setBackColor(d.CanvasColor);
        for (size_t i = 0; i < 4; ++i)
            edit_->txtCanvasCustom[i]->setText(QString::number(d.CanvasCustom[i]));
        subMarkOptionsChanged();
        break;
    case TaskType::RedEye:
        subEnableApplyButtons(false);
        edit_->cmdOK->setEnabled(false);
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
            d.FlipMode = edit_->optFlip[0]->isChecked() ? 0 : 1;
            break;
        case TaskType::Rotate:
            d.RotateDegrees = cInt(edit_->txtDegrees->text());
            d.RotateResample = edit_->chkRotateResample->isChecked() ? 1 : 0;
            d.RotateColor = edit_->picCropBackColor->BackColor();
            break;
        case TaskType::Resize:
            d.ResizeScale = cInt(edit_->txtScale->text());
            d.ResizeMode = edit_->optResize[0]->isChecked() ? 0 : 1;
            d.ResizeKeepRatio = edit_->chkResizeRatio->isChecked() ? 1 : 0;
            d.ResizeResample = edit_->chkResizeResample->isChecked() ? 1 : 0;
            break;
        case TaskType::Crop:
            d.CropMode = edit_->optCropSelect[0]->isChecked() ? 0 : 1;
            d.CropPreset = uint8_t(std::max(0, edit_->cmbCrop->currentIndex()));
            break;
        case TaskType::Canvas:
            for (size_t i = 0; i < 4; ++i)
                d.CanvasCustom[i] = cInt(edit_->txtCanvasCustom[i]->text());
            d.CanvasColor = edit_->picCropBackColor->BackColor();
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
        tone(edit_->blurOptions, d.BlurLevel, {});
        break;
    case TaskType::Sharpen:
        tone(edit_->sharpenOptions, d.SharpenLevel, {});
        break;
    case TaskType::Contrast:
        tone(edit_->contrastOptions, d.ContrastLevel, {d.ContrastRed, d.ContrastGreen, d.ContrastBlue});
        break;
    case TaskType::Brightness:
        tone(edit_->brightnessOptions, d.BrightnessLevel,
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
        edit_->maskOptions->sldMask->setValue(d.Mask.Level);
        edit_->maskOptions->chkMaskTransparent->setChecked(d.Mask.Transparent != 0);
        edit_->maskOptions->OptMask->select(d.Mask.Style);
        edit_->SelectedStyle = d.Mask.Style;
        subMarkOptionsChanged();
        break;
    case TaskType::Shadow:
        subMarkOptionsChanged();
        edit_->shadowOptions->OptShadow->select(d.ShadowStyle);
        edit_->SelectedStyle = int16_t(d.ShadowStyle + 8);
        break;
    default:
        break;
    }
}

void frmMain::subLoadWatermarkOptions(const typWatermarkTask& d) {
    WatermarkPanel* wm = edit_->watermarkOptions;
    wm->cboMergeStyle->setCurrentIndex(d.MergeStyle);
    edit_->picLocation->setVisible(d.MergeStyle == 0);
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
    TextPanel* t = edit_->textOptions;
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
    edit_->picLocation->setVisible(d.Position == 9);
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
    FramePanel* f = edit_->frameOptions;
    f->OptFrameStyle[d.Kind == 0 ? 0 : 1]->setChecked(true);
    f->OptFrameImage->select(d.Style);
    edit_->SelectedStyle = d.Style;
    f->txtFrameSize->setText(QString::number(d.Size));
    f->vsFrameSize->setSpinValue(d.Size);
    f->chkFrameImageResizeCanvas->setChecked(d.ResizeCanvas != 0);
    edit_->picCropBackColor->setBackColor(d.Color);
    f->picFrameImage->hide();
    f->picFrameColor->hide();
    if (d.Kind == 0) {
        f->picFrameImage->show();
        edit_->FrameBackColor->hide();
    } else {
        f->picFrameColor->show();
        edit_->FrameBackColor->show();
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
        d.BlurLevel = int16_t(edit_->blurOptions->value());
        break;
    case TaskType::Sharpen:
        d.SharpenLevel = uint8_t(edit_->sharpenOptions->value());
        break;
    case TaskType::Contrast:
        d.ContrastLevel = int16_t(edit_->contrastOptions->value());
        channels(edit_->contrastOptions, d.ContrastRed, d.ContrastGreen, d.ContrastBlue);
        break;
    case TaskType::Brightness:
        d.BrightnessLevel = int16_t(edit_->brightnessOptions->value());
        channels(edit_->brightnessOptions, d.BrightnessRed, d.BrightnessGreen, d.BrightnessBlue);
        break;
    case TaskType::Watermark: {
        const WatermarkPanel* wm = edit_->watermarkOptions;
        d.Watermark.MergeStyle = int16_t(std::max(0, wm->cboMergeStyle->currentIndex()));
        d.Watermark.Transparency = int16_t(wm->sldWatermarkTransparency->Value());
        d.Watermark.Transparent = check(wm->chkWatermarkTransparent);
        d.Watermark.TransparentColor = wm->picWatermarkTransparentColor->BackColor();
        d.Watermark.ImageFile = wm->picWatermarkImage->path;
        break;
    }
    case TaskType::Text: {
        const TextPanel* t = edit_->textOptions;
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
        d.Frame.Style = edit_->SelectedStyle;
        d.Frame.Color = edit_->picCropBackColor->BackColor();
        d.Frame.Size = cInt(edit_->frameOptions->txtFrameSize->text());
        d.Frame.ResizeCanvas = check(edit_->frameOptions->chkFrameImageResizeCanvas);
        d.Frame.Kind = edit_->frameOptions->pictureFrame() ? 0 : 1;
        break;
    case TaskType::Mask:
        d.Mask.Style = edit_->SelectedStyle;
        d.Mask.Transparent = check(edit_->maskOptions->chkMaskTransparent);
        d.Mask.Level = int16_t(edit_->maskOptions->sldMask->Value());
        break;
    case TaskType::Shadow:
        d.ShadowStyle = int16_t(edit_->SelectedStyle - 8);
        break;
    default:
        break;
    }
}

} // namespace picbasket
