#include "editing/GeometryTasks.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "editing/TaskSlotText.h"
#include "platform/imagebox/edit/PixelOps.h"

#include <algorithm>
#include <optional>

namespace picbasket {

namespace {

constexpr int MaxAngle = 360;
constexpr int MaxMargin = 800;

typTask taskOf(TaskType type, const char* key) {
    typTask task;
    task.TaskID = int32_t(type);
    task.TaskKey = QString::fromLatin1(key);
    return task;
}

QString rangeMessage(const QString& box, int64_t min, int64_t max) {
    return QStringLiteral("The value in '%1' must be a whole number from %2 to %3.")
        .arg(box)
        .arg(min)
        .arg(max);
}

// The whole number the engine reads from the text (a Long, halves to even), when it
// lies in [min, max]; otherwise the message naming the box.
std::optional<int32_t> readWhole(const QString& text, const QString& box, int64_t min, int64_t max,
                                 QString& error) {
    try {
        const int32_t value = cLng(text);
        if (value >= min && value <= max)
            return value;
    } catch (const AppError&) {
    }
    if (error.isEmpty())
        error = rangeMessage(box, min, max);
    return std::nullopt;
}

QString sizeMessage(int64_t width, int64_t height) {
    return QStringLiteral("An image of %1 x %2 pixels is too large (at most %3 pixels a side "
                          "and %4 megapixels).")
        .arg(width)
        .arg(height)
        .arg(pixelops::MaxSide)
        .arg(pixelops::MaxPixels / 1'000'000);
}

} // namespace

TaskBuild fncFlipTask(const FlipOptions& options) {
    TaskBuild result{taskOf(TaskType::Flip, "flip"), {}};
    result.task.Param[1] = options.vertical ? QStringLiteral("1") : QStringLiteral("0");
    return result;
}

TaskBuild fncRotateTask(const RotateOptions& options) {
    TaskBuild result{taskOf(TaskType::Rotate, "rotate"), {}};
    readWhole(options.degrees, QStringLiteral("Degrees"), -MaxAngle, MaxAngle, result.error);
    result.task.Param[1] = fncSlotBool(options.resample);
    result.task.Param[2] = options.degrees;
    result.task.Param[3] = fncSlotColor(options.backColor);
    return result;
}

TaskBuild fncResizeTask(const ResizeOptions& options, int imageWidth, int imageHeight) {
    TaskBuild result{taskOf(TaskType::Resize, "resize"), {}};
    result.task.Param[1] = fncSlotBool(options.bySize);
    if (options.bySize) {
        const auto w =
            readWhole(options.width, QStringLiteral("Width"), 1, pixelops::MaxSide, result.error);
        const auto h =
            readWhole(options.height, QStringLiteral("Height"), 1, pixelops::MaxSide, result.error);
        if (w && h && !pixelops::sizeAllowed(*w, *h))
            result.error = sizeMessage(*w, *h);
        result.task.Param[2] = options.width;
        result.task.Param[3] = options.height;
        return result;
    }
    int16_t percent = 0;
    try {
        percent = cInt(options.scale);
    } catch (const AppError&) {
    }
    if (percent < 1) {
        result.error = rangeMessage(QStringLiteral("Enter percentage"), 1, 32767);
    } else {
        auto scaled = [percent](int side) {
            return std::max<int64_t>(1, int64_t(roundHalfEven(double(side) * percent / 100.0)));
        };
        if (!pixelops::sizeAllowed(scaled(imageWidth), scaled(imageHeight)))
            result.error = sizeMessage(scaled(imageWidth), scaled(imageHeight));
    }
    result.task.Param[2] = options.scale;
    return result;
}

TaskBuild fncCropKeyInTask(const CropKeyInOptions& options, int imageWidth, int imageHeight) {
    TaskBuild result{taskOf(TaskType::Crop, "crop"), {}};
    const auto l = readWhole(options.left, QStringLiteral("Left"), 0, imageWidth, result.error);
    const auto t = readWhole(options.top, QStringLiteral("Top"), 0, imageHeight, result.error);
    const auto r = readWhole(options.right, QStringLiteral("Right"), 0, imageWidth, result.error);
    const auto b =
        readWhole(options.bottom, QStringLiteral("Bottom"), 0, imageHeight, result.error);
    if (result.ok() && (*r == *l || *b == *t))
        result.error = QStringLiteral("The crop region is empty: 'Right' must differ from 'Left' "
                                      "and 'Bottom' from 'Top'.");
    result.task.Param[1] = fncSlotBool(true);
    result.task.Param[2] = fncSlotWhole(options.shape == 0 ? 0 : 1);
    result.task.Param[3] = options.left;
    result.task.Param[4] = options.top;
    result.task.Param[5] = options.right;
    result.task.Param[6] = options.bottom;
    if (options.shape != 0)
        result.task.Param[7] = fncSlotColor(options.backColor);
    return result;
}

TaskBuild fncCanvasTask(const CanvasOptions& options, int imageWidth, int imageHeight) {
    TaskBuild result{taskOf(TaskType::Canvas, "canvas"), {}};
    const auto l = readWhole(options.left, QStringLiteral("X1"), 0, MaxMargin, result.error);
    const auto t = readWhole(options.top, QStringLiteral("Y1"), 0, MaxMargin, result.error);
    const auto r = readWhole(options.right, QStringLiteral("X2"), 0, MaxMargin, result.error);
    const auto b = readWhole(options.bottom, QStringLiteral("Y2"), 0, MaxMargin, result.error);
    if (result.ok()) {
        const int64_t w = int64_t(imageWidth) + *l + *r, h = int64_t(imageHeight) + *t + *b;
        if (!pixelops::sizeAllowed(w, h))
            result.error = sizeMessage(w, h);
    }
    result.task.Param[1] = fncSlotColor(options.backColor);
    result.task.Param[2] = options.left;
    result.task.Param[3] = options.top;
    result.task.Param[4] = options.right;
    result.task.Param[5] = options.bottom;
    return result;
}

TaskBuild fncInvertTask() {
    return {taskOf(TaskType::Invert, "invert"), {}};
}

MouseCrop fncMouseCropTask(const MouseCropOptions& o) {
    MouseCrop crop{{taskOf(TaskType::Crop, "crop"), {}}, {}};
    typTask& task = crop.build.task;
    task.Param[1] = fncSlotBool(false);
    const int limitX = o.fitted ? o.displayWidth : o.imageWidth;
    const int limitY = o.fitted ? o.displayHeight : o.imageHeight;
    const int left = std::clamp(std::min(o.x1, o.x2), 0, std::max(0, limitX));
    const int right = std::clamp(std::max(o.x1, o.x2), 0, std::max(0, limitX));
    const int top = std::clamp(std::min(o.y1, o.y2), 0, std::max(0, limitY));
    const int bottom = std::clamp(std::max(o.y1, o.y2), 0, std::max(0, limitY));
    // A drag on a fitted preview is stored as it was made, first point then last
    // (the crop orders the corners when it runs); a selection's corners are stored
    // sorted.
    const auto clampX = [&](int v) { return std::clamp(v, 0, std::max(0, limitX)); };
    const auto clampY = [&](int v) { return std::clamp(v, 0, std::max(0, limitY)); };
    task.Param[2] = fncSlotWhole(o.fitted ? clampX(o.x1) : left);
    task.Param[3] = fncSlotWhole(o.fitted ? clampY(o.y1) : top);
    task.Param[4] = fncSlotWhole(o.fitted ? clampX(o.x2) : right);
    task.Param[5] = fncSlotWhole(o.fitted ? clampY(o.y2) : bottom);
    if (o.fitted) {
        task.Param[6] = fncSlotSingle(float(o.controlWidth));
        task.Param[7] = fncSlotSingle(float(o.controlHeight));
    }
    QRect rect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    if (o.fitted && o.displayWidth > 0 && o.displayHeight > 0) {
        const double sx = double(o.imageWidth) / o.displayWidth;
        const double sy = double(o.imageHeight) / o.displayHeight;
        auto x = [sx](int v) { return int(roundHalfEven(sx * v)); };
        auto y = [sy](int v) { return int(roundHalfEven(sy * v)); };
        rect = QRect(QPoint(x(left), y(top)), QPoint(x(right) - 1, y(bottom) - 1));
    }
    if (right <= left || bottom <= top || rect.isEmpty())
        crop.build.error = QStringLiteral("Please drag a crop region on the image first.");
    crop.imageRect = rect;
    return crop;
}

int32_t fncRatioSide(int64_t typed, int32_t typedSideAtEntry, int32_t otherSideAtEntry) {
    if (typedSideAtEntry == 0)
        return 0;
    const double other = double(typed) / typedSideAtEntry * otherSideAtEntry;
    return int32_t(std::clamp(roundHalfEven(other), -2147483648.0, 2147483647.0));
}

} // namespace picbasket
