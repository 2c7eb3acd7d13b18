#pragma once
#include "core/OleColor.h"

#include <QString>
#include <array>
#include <cstdint>

namespace picbasket {

// The last confirmed options of each edit task. Check-box members hold 0 or 1, list
// and option members an index; the initial values are the defaults of a first run.
struct typTextTask {
    QString Caption = QStringLiteral("Sample");
    uint8_t Transparent = 1;
    OleColor BackColor = syscolor::HighlightText;
    int16_t Filter = 0;     // resampling filter list index, 0..5
    int16_t Position = 0;   // 0..8 the 3 x 3 grid, 9 the clicked position
    int16_t FontFamily = 0; // font list index
    int16_t FontSize = 14;
    OleColor ForeColor = syscolor::WindowText;
    uint8_t Bold = 0;
    uint8_t Style2 = 0;
    uint8_t Style3 = 0;
    int16_t Angle = 0;
    uint8_t Alignment = 0;   // 0, 1, 2
    uint8_t Orientation = 0; // 0 horizontal, 1 vertical

    bool operator==(const typTextTask&) const = default;
};

struct typWatermarkTask {
    uint8_t Transparent = 1;
    int16_t MergeStyle = 0; // 0 "Single", 1 "Centre", 2 "Tile", 3 "Wrap"
    OleColor TransparentColor = syscolor::CaptionText;
    int16_t Transparency = 50;
    QString ImageFile;

    bool operator==(const typWatermarkTask&) const = default;
};

struct typFrameTask {
    uint8_t Kind = 0; // 0 picture frame, 1 plain colour
    int16_t Size = 20;
    OleColor Color = syscolor::HighlightText;
    int16_t Style = 0; // frame picture 0..7
    uint8_t ResizeCanvas = 1;

    bool operator==(const typFrameTask&) const = default;
};

struct typMaskTask {
    int16_t Style = 0; // mask picture 0..7
    uint8_t Transparent = 1;
    int16_t Level = 0;

    bool operator==(const typMaskTask&) const = default;
};

struct typTaskDefaults {
    uint8_t ResizeMode = 0; // 0 by size, 1 by percentage
    uint8_t ResizeKeepRatio = 1;
    uint8_t ResizeResample = 0;
    int16_t ResizeScale = 50; // percent
    OleColor CanvasColor = syscolor::HighlightText;
    std::array<int16_t, 4> CanvasCustom{10, 10, 10, 10}; // margins
    int16_t RotateDegrees = 0;
    uint8_t RotateResample = 0;
    OleColor RotateColor = syscolor::HighlightText;
    int16_t ContrastLevel = 50;
    uint8_t ContrastRed = 1;
    uint8_t ContrastGreen = 1;
    uint8_t ContrastBlue = 1;
    int16_t BrightnessLevel = 50;
    uint8_t BrightnessRed = 1;
    uint8_t BrightnessGreen = 1;
    uint8_t BrightnessBlue = 1;
    int16_t BlurLevel = 1;
    uint8_t SharpenLevel = 1;
    uint8_t CropMode = 1;   // 0 by mouse, 1 "Key-in"
    uint8_t CropPreset = 0; // 0 "Rectangle", 1 "Ellipse"
    typTextTask Text;
    uint8_t FlipMode = 0; // 0 horizontal, 1 vertical
    typWatermarkTask Watermark;
    typFrameTask Frame;
    typMaskTask Mask;
    int16_t ShadowStyle = 0; // shadow picture 0..7

    bool operator==(const typTaskDefaults&) const = default;
};

} // namespace picbasket
