#include "editing/EffectTasks.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "editing/TaskSlotText.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/edit/PixelOps.h"

namespace picbasket {

namespace {

TaskBuild taskOf(TaskType type, const char* key) {
    TaskBuild build;
    build.task.TaskID = int32_t(type);
    build.task.TaskKey = QString::fromLatin1(key);
    return build;
}

TaskBuild toneTask(TaskType type, const char* key, const ToneOptions& options) {
    TaskBuild build = taskOf(type, key);
    build.task.Param[1] = fncSlotWhole(options.amount);
    build.task.Param[2] = fncSlotCheck(options.red);
    build.task.Param[3] = fncSlotCheck(options.green);
    build.task.Param[4] = fncSlotCheck(options.blue);
    return build;
}

} // namespace

TaskBuild fncBlurTask(int amount) {
    TaskBuild build = taskOf(TaskType::Blur, "blur");
    build.task.Param[1] = fncSlotWhole(amount);
    return build;
}

TaskBuild fncSharpenTask(int amount) {
    TaskBuild build = taskOf(TaskType::Sharpen, "sharpen");
    build.task.Param[1] = fncSlotWhole(amount);
    return build;
}

TaskBuild fncContrastTask(const ToneOptions& options) {
    return toneTask(TaskType::Contrast, "contrast", options);
}

TaskBuild fncBrightnessTask(const ToneOptions& options) {
    return toneTask(TaskType::Brightness, "brightness", options);
}

TaskBuild fncFrameTask(const FrameOptions& options, int imageWidth, int imageHeight) {
    TaskBuild build = taskOf(TaskType::Frame, "frame");
    typTask& t = build.task;
    t.Param[1] = fncSlotColor(options.backColor);
    if (options.picture) {
        t.Param[2] = QStringLiteral("0");
        t.Param[3] = fncSlotWhole(options.style);
        t.Param[4] = fncSlotCheck(options.resizeCanvas);
        return build;
    }
    t.Param[2] = QStringLiteral("1");
    t.Param[3] = options.size;
    int32_t size = -1;
    try {
        size = cLng(options.size);
    } catch (const AppError&) {
    }
    if (size < 0 || size > MaxFrameSize) {
        build.error = QStringLiteral("The value in 'Frame Size' must be a whole number from 0 to %1.")
                          .arg(MaxFrameSize);
        return build;
    }
    const int64_t w = int64_t(imageWidth) + 2 * size, h = int64_t(imageHeight) + 2 * size;
    if (!pixelops::sizeAllowed(w, h))
        build.error = QStringLiteral("An image of %1 x %2 pixels is too large.").arg(w).arg(h);
    return build;
}

TaskBuild fncMaskTask(const MaskOptions& options) {
    TaskBuild build = taskOf(TaskType::Mask, "mask");
    build.task.Param[1] = fncSlotBool(options.transparent);
    build.task.Param[2] = fncSlotWhole(options.level);
    build.task.Param[3] = fncSlotWhole(options.style);
    return build;
}

TaskBuild fncShadowTask(int selectedStyle) {
    TaskBuild build = taskOf(TaskType::Shadow, "shadow");
    build.task.Param[1] = fncSlotWhole(selectedStyle - 8);
    return build;
}

OleColor fncBackColorAfterRows(const TaskRowList& rows) {
    OleColor colour = ImageBox().BackgroundColor();
    for (const TaskRow& row : rows.rows()) {
        auto slot = [&row](int k) { return row.SubItems[size_t(k)].trimmed(); };
        QString set;
        switch (TaskType(row.Text.trimmed().toInt())) {
        case TaskType::Rotate:
            set = slot(3);
            break;
        case TaskType::Crop:
            try {
                if (cBool(slot(1)) && cInt(slot(2)) != 0)
                    set = slot(7);
            } catch (const AppError&) {
            }
            break;
        case TaskType::Canvas:
        case TaskType::Frame:
            set = slot(1);
            break;
        default:
            break;
        }
        if (set.isEmpty())
            continue;
        try {
            colour = OleColor(cLng(set));
        } catch (const AppError&) {
            // The engine skips a colour it cannot read, and so the box keeps its own.
        }
    }
    return colour;
}

} // namespace picbasket
