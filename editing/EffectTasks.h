#pragma once
#include "core/OleColor.h"
#include "editing/GeometryTasks.h"
#include "engine/tasks/TaskRowList.h"

#include <QString>

namespace picbasket {

// The tone and effect tasks as their option panels describe them, turned into the
// task records the task engine runs (the slot forms of the task basket).

struct ToneOptions {
    int amount = 0;
    bool red = true, green = true, blue = true;
};

struct FrameOptions {
    bool picture = true;    // "Image" (picture frame) or "Color"
    int style = 0;          // picture frame 0..7
    bool resizeCanvas = true;
    QString size;           // colour frame, pixels
    OleColor backColor = 0;
};

struct MaskOptions {
    bool transparent = true;
    int level = 0;
    int style = 0;
};

TaskBuild fncBlurTask(int amount);
TaskBuild fncSharpenTask(int amount);
TaskBuild fncContrastTask(const ToneOptions& options);
TaskBuild fncBrightnessTask(const ToneOptions& options);
// A colour frame's size must be 0 to 800 and the framed image within the limits.
TaskBuild fncFrameTask(const FrameOptions& options, int imageWidth, int imageHeight);
TaskBuild fncMaskTask(const MaskOptions& options);
// The shadow pictures are styles 8 and up; the slot keeps the shadow number.
TaskBuild fncShadowTask(int selectedStyle);

// The fill colour the batch's image box holds after running the rows: a new box's
// white, then the colour of each row that sets it (Rotate, an ellipse Crop, Canvas,
// Frame). The shadow grows the canvas in that colour without setting one, so its
// preview takes the same colour the batch will use.
OleColor fncBackColorAfterRows(const TaskRowList& rows);

// The largest colour frame the panel takes.
inline constexpr int MaxFrameSize = 800;

} // namespace picbasket
