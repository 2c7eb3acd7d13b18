#pragma once
#include "core/OleColor.h"
#include "editing/GeometryTasks.h"

#include <QString>

namespace picbasket {

// The two tasks that place something at a spot of the image (Watermark, Text), as
// their panels describe them. A point picked on the preview is in display pixels;
// it is turned into image pixels here, at every preview, and the picked point
// itself is never changed.

// How the preview shows the image: the factors from display to image pixels.
struct PreviewScale {
    int imageWidth = 0, imageHeight = 0;
    int displayWidth = 0, displayHeight = 0;
    // round(imageWidth / displayWidth * x), halves to even; factor 1 with nothing shown.
    int32_t toImageX(double x) const;
    int32_t toImageY(double y) const;
};

struct WatermarkOptions {
    bool transparent = true;
    OleColor transparentColor = 0;
    int transparency = 50;
    // The text of the style list; a text that is none of the four keeps the box's
    // merge style (currentStyle).
    QString styleText;
    int currentStyle = 0;
    QString file;
    int pointX = 0, pointY = 0; // picked, display pixels
    bool autoZoom = false;
};

TaskBuild fncWatermarkTask(const WatermarkOptions& options, const PreviewScale& scale);

// Why a watermark file is not stamped.
enum class WatermarkFileProblem { None, NoFile, Missing, Undecodable };
WatermarkFileProblem fncWatermarkFileProblem(const QString& path);
// The message a problem shows ("" for None and for Undecodable, which the error
// report describes).
QString fncWatermarkFileMessage(WatermarkFileProblem problem);

struct TextOptions {
    bool antiAlias = true;
    bool transparent = true;
    QString family;
    QString size;
    bool bold = false, italic = false, underline = false;
    OleColor color = 0, backColor = 0;
    int position = 0;  // 0..8 the grid, 9 the picked point
    bool vertical = false;
    int alignment = 0; // 0, 1, 2
    QString angle;     // for the picked point, degrees
    QString text;
    int pointX = 0, pointY = 0; // picked, display pixels
    bool autoZoom = false;
};

// The text's slots, placed on the image as the scale describes it. A font size
// below 1 or above 200, and an angle outside -180 to 180, are refused.
TaskBuild fncTextTask(const TextOptions& options, const PreviewScale& scale);

inline constexpr int MaxFontSize = 200;

} // namespace picbasket
