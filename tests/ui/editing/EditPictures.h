#pragma once
#include <QImage>

namespace picbasket::test {

// A picture whose every pixel differs from its mirror image and its negative; seed
// shifts the red channel, for a second picture unlike the first.
inline QImage gradient(int width, int height, int seed = 0) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) % 256, (y * 11) % 256, (x * 3 + y * 5) % 256));
    return image;
}

// The picture as 32-bit RGB, the form results are compared in.
inline QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace picbasket::test
