#pragma once
#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"

#include <QFile>
#include <QImage>
#include <functional>
#include <gtest/gtest.h>

// Small generated images in each of the box's formats, and pixel comparisons.
namespace picbasket::test::imagebox {

inline QImage colourImage(int w = 23, int h = 17) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 11) & 0xFF, (y * 15) & 0xFF, (x * y * 7) & 0xFF));
    return image;
}

inline QImage alphaImage(int w = 19, int h = 13) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba(x * 13, y * 19, 90, (x + y) * 12 % 256));
    return image;
}

inline QImage paletteImage(int w = 21, int h = 11, bool transparentEntry = false) {
    QImage image(w, h, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255), qRgb(250, 250, 20),
                         transparentEntry ? qRgba(9, 9, 9, 0) : qRgb(9, 9, 9)});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, uint((x / 3 + y) % 5));
    return image;
}

inline QImage monoImage(int w = 29, int h = 9) {
    QImage image(w, h, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, uint(((x / 2) ^ y) & 1));
    return image;
}

inline QImage greyImage(int w = 17, int h = 10) {
    QImage image(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.scanLine(y)[x] = uchar(x * 15 + y);
    return image;
}

inline QImage grey16Image(int w = 9, int h = 7) {
    QImage image(w, h, QImage::Format_Grayscale16);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<uint16_t*>(image.scanLine(y))[x] = uint16_t(x * 7001 + y * 13);
    return image;
}

inline QImage rgba64Image(int w = 8, int h = 6) {
    QImage image(w, h, QImage::Format_RGBA64);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y,
                                QColor::fromRgba64(QRgba64::fromRgba64(
                                    uint16_t(x * 8000 + 1), uint16_t(y * 9000 + 3),
                                    uint16_t(x * y * 1000 + 5), uint16_t(65535 - x * 301))));
    return image;
}

// Differences larger than `tolerance` in any channel, 8 bits per channel.
inline int differingPixels(const QImage& a, const QImage& b, int tolerance = 0) {
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    const QImage ca = a.convertToFormat(QImage::Format_ARGB32);
    const QImage cb = b.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = ca.pixel(x, y), q = cb.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > tolerance ||
                std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                std::abs(qBlue(p) - qBlue(q)) > tolerance || qAlpha(p) != qAlpha(q))
                ++count;
        }
    return count;
}

// The same pixels at full depth (16-bit channels compared as they are).
inline bool exactlyEqual(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_RGBA64) == b.convertToFormat(QImage::Format_RGBA64);
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The error number a call raises, 0 when it raises none.
inline int32_t raisedNumber(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& error) {
        return error.number();
    }
    return 0;
}

} // namespace picbasket::test::imagebox
