// Preview in the edit view: the chosen task built from its panel and applied to the
// preview, and the preview put back to the last confirmed state.
#include "editing/EditView.h"

#include "browser/SelectionController.h"
#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/setup/modSetup.h"
#include "editing/ColorButton.h"
#include "editing/EditImageData.h"
#include "editing/EffectTasks.h"
#include "editing/FramePanel.h"
#include "editing/GeometryTasks.h"
#include "editing/MaskPanel.h"
#include "editing/OptionControls.h"
#include "editing/OverlayTasks.h"
#include "editing/PanelLayout.h"
#include "editing/TaskBasketReplay.h"
#include "editing/TaskBasketRows.h"
#include "editing/TaskSlotText.h"
#include "editing/TextPanel.h"
#include "editing/TonePanel.h"
#include "editing/WatermarkPanel.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/Slider.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace picbasket {

// Back to the last confirmed state when a Preview was applied; without keepOptions
// the task's stored options are loaded again.
void EditView::subResetPreviewView(bool keepOptions) {
    errorTail(QStringLiteral("FrmMain.subResetPreviewView"), [&] {
        if (host_.previewUnchanged() && !PreviewIntermediate)
            return;
        if (!ConfirmedImageData.isNull()) {
            host_.previewView()->box().setImage(ConfirmedImageData);
            PreviewIntermediate = false;
        }
        if (!keepOptions)
            subShowTaskOptions();
        window_.subResize();
    });
}

// The panel's options as the task they describe; the tasks of other panels carry no
// options here.
TaskBuild EditView::fncBuildTask() const {
    const ImageBox& box = host_.previewView()->box();
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
void EditView::subApplyTask(typTask& task) {
    ImageBox& box = host_.previewView()->box();
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
TaskBuild EditView::fncMouseCropBuild() const {
    const SelectionController* s = host_.previewSelection();
    const ImageBox& box = host_.previewView()->box();
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
void EditView::subEndMouseCrop() {
    host_.previewView()->box().ClearSelection();
    emit previewSelectionClearRequested();
    host_.previewSelection()->PreviewMouseMode = SelectionController::Idle;
    host_.previewSelection()->PreviewToolMode = SelectionController::NoTool;
}

bool EditView::cmdApply_Click() {
    bool applied = false;
    errorTail(QStringLiteral("FrmMain.cmdApply_Click"), [&] {
        ImageBox& box = host_.previewView()->box();
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
            if ((!host_.previewUnchanged() || PreviewIntermediate) && !ConfirmedImageData.isNull())
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
        window_.subResize();
        emit previewUnchangedRequested(false);
        PreviewIntermediate = false;
        TaskOptionsChanged = false;
        ImageModified = true;
        applied = true;
    });
    return applied;
}

// The panel's options as the task they describe.
TaskBuild EditView::fncBuildEffectTask() const {
    const ImageBox& box = host_.previewView()->box();
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
        WatermarkOptions o = watermarkOptions->options();
        o.currentStyle = box.MergeStyle();
        o.file = Setup.TaskDefaults.Watermark.ImageFile;
        o.pointX = host_.previewSelection()->WatermarkPointX;
        o.pointY = host_.previewSelection()->WatermarkPointY;
        o.autoZoom = box.AutoZoom();
        return fncWatermarkTask(o, scale);
    }
    case TaskType::Text: {
        TextOptions o = textOptions->options();
        o.pointX = host_.previewSelection()->TextPointX;
        o.pointY = host_.previewSelection()->TextPointY;
        o.autoZoom = box.AutoZoom();
        return fncTextTask(o, scale);
    }
    case TaskType::Frame: {
        FrameOptions o = frameOptions->options();
        o.style = SelectedStyle;
        o.backColor = picCropBackColor->BackColor();
        return fncFrameTask(o, box.ImageWidth(), box.ImageHeight());
    }
    case TaskType::Mask:
        return fncMaskTask(maskOptions->options(SelectedStyle));
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
void EditView::subApplyWatermark(const typTask& task) {
    host_.previewSelection()->LocationPickMode = false;
    chkSelectLocation->setChecked(false);
    WatermarkFile = Setup.TaskDefaults.Watermark.ImageFile;
    const WatermarkFileProblem problem = fncWatermarkFileProblem(task.Param[4]);
    typTask run = task;
    if (problem != WatermarkFileProblem::None)
        run.Param[4].clear();
    subRunTask(run, host_.previewView()->box());
    if (problem == WatermarkFileProblem::Undecodable)
        subGlobalErrorHandler(
            QStringLiteral("The watermark image/logo cannot be read: %1").arg(task.Param[4]),
            err::InvalidPicture, 0, QStringLiteral("FrmMain.cmdApply_Click"));
    else if (problem != WatermarkFileProblem::None)
        msgBox(fncWatermarkFileMessage(problem), mb::Information | mb::OKOnly, ApplicationTitle);
}

// Red-eye correction works only inside the marked eye region, and leaves the box's
// filters on the whole image again.
void EditView::subRemoveRedEye() {
    ImageBox& box = host_.previewView()->box();
    box.setSelectionOnly(true);
    struct WholeImageAgain {
        ImageBox& box;
        ~WholeImageAgain() { box.setSelectionOnly(false); }
    } again{box};
    box.RemoveRedEye();
    box.ClearSelection();
}

} // namespace picbasket
