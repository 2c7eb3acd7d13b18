#include "platform/gdiplus/BicubicResampler.h"

#include <gtest/gtest.h>

using namespace picbasket;

TEST(BicubicResampler, ConstantColourStaysExact) {
    QImage image(37, 23, QImage::Format_RGB32);
    image.fill(qRgb(12, 200, 99));
    for (QSize size : {QSize(5, 3), QSize(37, 23), QSize(100, 80), QSize(1, 1)}) {
        const QImage out = resampleBicubic(image, size.width(), size.height());
        ASSERT_EQ(out.size(), size);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                ASSERT_EQ(out.pixel(x, y), qRgb(12, 200, 99)) << x << "," << y;
    }
}

TEST(BicubicResampler, ShrinkingAFineCheckerboardGivesGrey) {
    // Without widening the kernel, a 4:1 shrink would sample single squares and
    // leave black or white; every source pixel must contribute.
    QImage board(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QImage out = resampleBicubic(board, 16, 16);
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x)
            EXPECT_NEAR(qGray(out.pixel(x, y)), 128, 6) << x << "," << y;
}

TEST(BicubicResampler, PremultipliedResultNeverExceedsAlpha) {
    // A hard edge between opaque white and transparent makes the kernel overshoot.
    QImage edge(20, 1, QImage::Format_ARGB32);
    for (int x = 0; x < 20; ++x)
        edge.setPixel(x, 0, x < 10 ? qRgba(255, 255, 255, 255) : qRgba(0, 0, 0, 0));
    const QImage out = resampleBicubic(edge, 57, 1);
    ASSERT_EQ(out.format(), QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < out.width(); ++x) {
        const QRgb p = reinterpret_cast<const QRgb*>(out.constScanLine(0))[x];
        EXPECT_LE(qRed(p), qAlpha(p)) << x;
    }
}

TEST(BicubicResampler, RefusesEmptyInput) {
    EXPECT_TRUE(resampleBicubic(QImage(), 5, 5).isNull());
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    EXPECT_TRUE(resampleBicubic(image, 0, 5).isNull());
    EXPECT_TRUE(resampleBicubic(image, 5, -1).isNull());
}
