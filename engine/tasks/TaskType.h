#pragma once
#include <QString>
#include <array>
#include <cstdint>

namespace picbasket {

// The edit-task numbers. They are stored as the text of the executable task rows
// and in task-basket files, so the values never change.
enum class TaskType : int32_t {
    None = 0,
    Flip = 1,
    Rotate = 2,
    Resize = 3,
    Blur = 4,
    Contrast = 5,
    Brightness = 6,
    Sharpen = 7,
    Crop = 8,
    Watermark = 9,
    Text = 10,
    Invert = 11,
    Canvas = 12,
    Frame = 13,
    Mask = 14,
    Shadow = 15,
    RedEye = 16,
};

// Number of parameter texts a task carries.
inline constexpr int TaskParamCount = 17;

// One edit task: its type, the lower-case key of the item that chose it
// ("flip", "rotate", ...) and its parameters as texts. Param is numbered from 1
// to 17; element 0 is never used, so Param[n] reads as parameter n.
struct typTask {
    int32_t TaskID = int32_t(TaskType::None);
    QString TaskKey;
    std::array<QString, TaskParamCount + 1> Param;
};

// The task being set up in the edit view. A click on a task item sets its type and
// key and empties the parameters; Preview fills them; Confirm copies the record
// into the task basket.
inline typTask CurrentTask;

// The display name of a task type for the visible task lists ("Orientation",
// "Rotate", ...); an empty text for None, RedEye and any other number.
QString fncGetTaskName(int32_t taskId);

} // namespace picbasket
