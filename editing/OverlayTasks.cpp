#include "editing/OverlayTasks.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "core/MessageBox.h"
#include "core/modFileSystem.h"
#include "editing/TaskSlotText.h"
#include "engine/tasks/modFrames.h"
#include "platform/imagebox/ImageBox.h"

#include <QFont>
#include <optional>

namespace picbasket {

namespace {

int32_t scaled(double value, int image, int display) {
    const double factor = display > 0 ? double(image) / display : 1.0;
    return int32_t(roundHalfEven(factor * value));
}

TaskBuild taskOf(TaskType type, const char* key) {
    TaskBuild build;
    build.task.TaskID = int32_t(type);
    build.task.TaskKey = QString::fromLatin1(key);
    return build;
}

// The merge style of the style list's text: 1 "Single" (at the picked point),
// 0 "Centre", 2 "Tile", 3 "Wrap"; -1 for any other text.
int mergeStyleOf(const QString& text) {
    if (text == QLatin1String("Single"))
        return 1;
    if (text == QLatin1String("Centre"))
        return 0;
    if (text == QLatin1String("Tile"))
        return 2;
    if (text == QLatin1String("Wrap"))
        return 3;
    return -1;
}

std::optional<int32_t> whole(const QString& text) {
    try {
        return cLng(text);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

} // namespace

int32_t PreviewScale::toImageX(double x) const {
    return scaled(x, imageWidth, displayWidth);
}

int32_t PreviewScale::toImageY(double y) const {
    return scaled(y, imageHeight, displayHeight);
}

TaskBuild fncWatermarkTask(const WatermarkOptions& o, const PreviewScale& scale) {
    TaskBuild build = taskOf(TaskType::Watermark, "watermark");
    typTask& t = build.task;
    int style = mergeStyleOf(o.styleText);
    int32_t x = o.pointX, y = o.pointY;
    if (style == 1) {
        x = scale.toImageX(o.pointX);
        y = scale.toImageY(o.pointY);
    }
    if (style < 0)
        style = o.currentStyle;
    t.Param[1] = fncSlotBool(o.transparent);
    t.Param[2] = fncSlotWhole(o.transparency);
    t.Param[3] = fncSlotWhole(style);
    t.Param[4] = o.file;
    t.Param[5] = fncSlotColor(o.transparentColor);
    t.Param[6] = fncSlotWhole(y);
    t.Param[7] = fncSlotWhole(x);
    t.Param[8] = fncSlotBool(o.autoZoom);
    return build;
}

WatermarkFileProblem fncWatermarkFileProblem(const QString& path) {
    if (path.isEmpty())
        return WatermarkFileProblem::NoFile;
    if (!fncFileExists(path))
        return WatermarkFileProblem::Missing;
    ImageBox reader;
    try {
        reader.LoadFromFile(path);
    } catch (const AppError&) {
        return WatermarkFileProblem::Undecodable;
    }
    if (reader.LoadedFlag() || !reader.HasImage())
        return WatermarkFileProblem::Undecodable;
    return WatermarkFileProblem::None;
}

QString fncWatermarkFileMessage(WatermarkFileProblem problem) {
    switch (problem) {
    case WatermarkFileProblem::NoFile:
        return QStringLiteral("Please select an image/logo for watermarking the image.");
    case WatermarkFileProblem::Missing:
        return joinLines(
            {QStringLiteral(
                 "The last watermark image/logo file has either moved, renamed or deleted."),
             QStringLiteral("Please select an image/logo from disk.")});
    default:
        return {};
    }
}

TaskBuild fncTextTask(const TextOptions& o, const PreviewScale& scale) {
    TaskBuild build = taskOf(TaskType::Text, "text");
    typTask& t = build.task;
    const auto size = whole(o.size);
    if (!size || *size < 1 || *size > MaxFontSize) {
        build.error = QStringLiteral("Please enter a font size from 1 to %1.").arg(MaxFontSize);
        return build;
    }
    const bool picked = o.position == 9;
    int angle = 0;
    if (picked) {
        const auto typed = whole(o.angle);
        if (!typed || *typed < -180 || *typed > 180) {
            build.error = QStringLiteral("The angle must be a whole number from -180 to 180.");
            return build;
        }
        angle = *typed;
    } else if (o.vertical) {
        angle = -90;
    }
    const int alignment = picked || o.vertical ? 0 : o.alignment;

    // The text measured in its font, as the task engine measures it.
    ImageBox measure;
    QFont font = measure.Font();
    font.setFamily(o.family);
    font.setPointSize(*size);
    font.setBold(o.bold);
    font.setItalic(o.italic);
    font.setUnderline(o.underline);
    measure.setFont(font);
    measure.setTextAlignment(alignment);
    int32_t x = 0, y = 0;
    if (picked) {
        x = scale.toImageX(o.pointX);
        y = int32_t(roundHalfEven(double(scale.toImageY(o.pointY)) - measure.Font().pointSize() / 2.0));
    } else if (o.position >= 0 && o.position <= 8) {
        subPlaceTextIn(o.vertical ? 1 : 0, int16_t(o.position), alignment, scale.imageWidth,
                       scale.imageHeight, measure.TextWidth(o.text), measure.TextHeight(o.text),
                       x, y);
    }
    t.Param[1] = fncSlotBool(o.antiAlias);
    t.Param[2] = fncSlotBool(o.autoZoom);
    t.Param[3] = fncSlotBool(o.transparent);
    t.Param[4] = fncSlotSingle(float(angle));
    t.Param[5] = fncSlotWhole(alignment);
    t.Param[6] = measure.Font().family();
    t.Param[7] = fncSlotWhole(measure.Font().pointSize());
    t.Param[8] = fncSlotBool(o.bold);
    t.Param[9] = fncSlotBool(o.italic);
    t.Param[10] = fncSlotBool(o.underline);
    t.Param[11] = fncSlotColor(o.color);
    t.Param[12] = fncSlotColor(o.backColor);
    t.Param[13] = picked || !o.vertical ? QStringLiteral("0") : QStringLiteral("1");
    t.Param[14] = fncSlotWhole(o.position);
    t.Param[15] = o.text;
    t.Param[16] = fncSlotWhole(x);
    t.Param[17] = fncSlotWhole(y);
    return build;
}

} // namespace picbasket
