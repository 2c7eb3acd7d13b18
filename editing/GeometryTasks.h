#pragma once
#include "core/OleColor.h"
#include "engine/tasks/TaskType.h"

#include <QRect>
#include <QString>

namespace picbasket {

// The geometric tasks as their option panels describe them, turned into task records
// whose slots the task engine runs. Each builder checks every box before anything
// changes; a value out of range gives a message naming the box and no task.
struct TaskBuild {
    typTask task;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

struct FlipOptions {
    bool vertical = false;
};

struct RotateOptions {
    QString degrees;
    bool resample = false;
    OleColor backColor = 0;
};

struct ResizeOptions {
    bool bySize = true;
    QString width, height, scale;
};

// Crop by typed margins: shape 0 "Rectangle", 1 "Ellipse".
struct CropKeyInOptions {
    int shape = 0;
    QString left, top, right, bottom;
    OleColor backColor = 0;
};

struct CanvasOptions {
    OleColor backColor = 0;
    QString left, top, right, bottom;
};

// A crop dragged on the preview. At 1:1 the corners are image pixels; on a fitted
// preview they are the drag's points in the control's pixels, which shows the image at
// displayWidth x displayHeight inside a control of controlWidth x controlHeight.
struct MouseCropOptions {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool fitted = false;
    int imageWidth = 0, imageHeight = 0;
    int displayWidth = 0, displayHeight = 0;
    int controlWidth = 0, controlHeight = 0;
};

// The crop to run on the preview itself: the task, and the rectangle in image pixels.
struct MouseCrop {
    TaskBuild build;
    QRect imageRect;
};

TaskBuild fncFlipTask(const FlipOptions& options);
TaskBuild fncRotateTask(const RotateOptions& options);
// A size by pixels must stay within the image limits; a percentage is read as the
// task engine reads it (a whole percent, at least 1), and its result must fit too.
TaskBuild fncResizeTask(const ResizeOptions& options, int imageWidth, int imageHeight);
TaskBuild fncCropKeyInTask(const CropKeyInOptions& options, int imageWidth, int imageHeight);
TaskBuild fncCanvasTask(const CanvasOptions& options, int imageWidth, int imageHeight);
TaskBuild fncInvertTask();
// The corners are ordered and clamped to the image (to the shown image on a fitted
// preview) and the slots keep the clamped values; an empty rectangle is refused.
MouseCrop fncMouseCropTask(const MouseCropOptions& options);

// The ratio lock: the other side for a typed side, from the sizes taken when editing
// started (rounded half to even); 0 when the typed side's size at entry is 0.
int32_t fncRatioSide(int64_t typed, int32_t typedSideAtEntry, int32_t otherSideAtEntry);

} // namespace picbasket
