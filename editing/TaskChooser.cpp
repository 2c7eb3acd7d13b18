#include "editing/TaskChooser.h"

#include "engine/tasks/TaskType.h"

#include <algorithm>

namespace picbasket {

namespace {

TaskChooserItem item(const char* key, const char* caption, const char* icon, TaskType task,
                     const char* panel, const char* dialog) {
    return {QString::fromLatin1(key),   QString::fromLatin1(caption),
            QString::fromLatin1(icon),  int32_t(task),
            QString::fromLatin1(panel), QString::fromLatin1(dialog)};
}

} // namespace

const std::vector<TaskChooserItem>& fncTaskChooserItems() {
    static const std::vector<TaskChooserItem> items{
        item("Resize", "Resize", "resize", TaskType::Resize, "picResize", "Task Option - Resize"),
        item("Canvas", "Canvas", "canvas", TaskType::Canvas, "picCanvas", "Task Option - Canvas"),
        item("Crop", "Crop", "crop", TaskType::Crop, "picCrop", "Task Option - Crop"),
        item("Rotate", "Rotate", "rotate", TaskType::Rotate, "picRotate", "Task Option - Rotate"),
        item("Flip", "Flip", "flip", TaskType::Flip, "picFlip", "Task Option - Flip"),
        item("Invert", "Invert", "invert", TaskType::Invert, "picNothing", "Task Option - Invert"),
        item("Contrast", "Contrast", "contrast", TaskType::Contrast, "picContrast",
             "Task Option - Contrast"),
        item("Sharpen", "Sharpen", "sharpen", TaskType::Sharpen, "picSharpen",
             "Task Option - Sharpen"),
        item("Blur", "Blur", "blur", TaskType::Blur, "picBlur", "Task Option - Blur"),
        item("Brightness", "Brightness", "brightness", TaskType::Brightness, "picBrightness",
             "Task Option - Brightness"),
        item("Text", "Text", "text", TaskType::Text, "picText", "Task Option - Add Text"),
        item("Watermark", "Watermark/Merge", "watermark", TaskType::Watermark, "picWatermark",
             "Task Option - Watermark/merge"),
        item("Mask", "Mask", "mask", TaskType::Mask, "picMask", "Task Option - Mask"),
        item("Shadow", "Shadow", "shadow", TaskType::Shadow, "picShadow", "Task Option - Shadow"),
        item("Frame", "Frame", "frame", TaskType::Frame, "picFrame", "Task Option - Frame"),
        item("RedEye", "Red-Eye Correction", "RedEye", TaskType::RedEye, "picRedEye",
             "Red-Eye Correction"),
    };
    return items;
}

const TaskChooserItem* fncFindChooserItem(const QString& key) {
    static const TaskChooserItem nothing{
        QStringLiteral("Nothing"), {}, {}, -1, QStringLiteral("picNothing"),
        QStringLiteral("Options")};
    if (key == nothing.key)
        return &nothing;
    const auto& items = fncTaskChooserItems();
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const TaskChooserItem& entry) { return entry.key == key; });
    return found == items.end() ? nullptr : &*found;
}

QString fncNothingHint() {
    return QStringLiteral("Select a task from above, or click finish button to exit edit mode.");
}

QString fncInvertHint() {
    return QStringLiteral("No Options Available. Click 'Preview' or 'Confirm' below to continue.");
}

const std::vector<QString>& fncTaskPanelNames() {
    static const std::vector<QString> names{
        QStringLiteral("picContrast"),  QStringLiteral("picBrightness"),
        QStringLiteral("picSharpen"),   QStringLiteral("picBlur"),
        QStringLiteral("picFlip"),      QStringLiteral("picResize"),
        QStringLiteral("picRotate"),    QStringLiteral("picCrop"),
        QStringLiteral("picWatermark"), QStringLiteral("picText"),
        QStringLiteral("picNothing"),   QStringLiteral("picCanvas"),
        QStringLiteral("picFrame"),     QStringLiteral("picMask"),
        QStringLiteral("picShadow"),    QStringLiteral("picRedEye")};
    return names;
}

} // namespace picbasket
