#include "engine/tasks/TaskType.h"

namespace picbasket {

QString fncGetTaskName(int32_t taskId) {
    switch (TaskType(taskId)) {
    case TaskType::Flip:
        return QStringLiteral("Orientation");
    case TaskType::Rotate:
        return QStringLiteral("Rotate");
    case TaskType::Resize:
        return QStringLiteral("Resize");
    case TaskType::Blur:
        return QStringLiteral("Blur");
    case TaskType::Contrast:
        return QStringLiteral("Contrast");
    case TaskType::Brightness:
        return QStringLiteral("Brightness");
    case TaskType::Sharpen:
        return QStringLiteral("Sharpen");
    case TaskType::Crop:
        return QStringLiteral("Crop");
    case TaskType::Watermark:
        return QStringLiteral("Watermark");
    case TaskType::Text:
        return QStringLiteral("Text");
    case TaskType::Invert:
        return QStringLiteral("Negative");
    case TaskType::Canvas:
        return QStringLiteral("Canvas");
    case TaskType::Frame:
        return QStringLiteral("Frame");
    case TaskType::Mask:
        return QStringLiteral("Mask");
    case TaskType::Shadow:
        return QStringLiteral("Shadow");
    default:
        return {};
    }
}

} // namespace picbasket
