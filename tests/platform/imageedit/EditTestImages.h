#pragma once
#include "core/AppError.h"
#include "core/OleColor.h"
#include "platform/imagebox/ImageBox.h"

#include <QImage>
#include <functional>
#include <set>
#include <gtest/gtest.h>

namespace picbasket::test {

// A w x h image whose every pixel has its own colour (red = x * 10, green = y * 10,
// blue = 100), so a test can tell where each pixel went.
inline QImage patternImage(int w, int h, QImage::Format format = QImage::Format_RGB888) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 10, y * 10, 100));
    return image.convertToFormat(format);
}

inline QImage solidImage(int w, int h, QRgb colour, QImage::Format format = QImage::Format_RGB888) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image.convertToFormat(format);
}

inline QRgb rgbAt(const ImageBox& box, int x, int y) { return box.image().pixel(x, y) | 0xFF000000u; }

// Runs `action`, expects the skippable failure, and checks the image was kept.
inline void expectRefused(ImageBox& box, const std::function<void()>& action) {
    const QImage before = box.image();
    try {
        action();
        ADD_FAILURE() << "no error was raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::Unexpected);
        EXPECT_FALSE(e.description().isEmpty());
    }
    EXPECT_EQ(box.image(), before);
}

} // namespace picbasket::test
