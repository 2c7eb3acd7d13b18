#include "controls/explorerbar/ExplorerBarColors.h"
#include "core/OleColor.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(ExplorerBarColors, SoftColorLightensEachChannelByItsBand) {
    const struct {
        int32_t in, out;
    } rows[] = {
        {int32_t(rgbOle(0, 128, 255)), int32_t(rgbOle(76, 166, 255))},
        {int32_t(rgbOle(255, 255, 255)), int32_t(rgbOle(255, 255, 255))},
        {int32_t(rgbOle(31, 32, 95)), int32_t(rgbOle(107, 89, 152))},
        {int32_t(rgbOle(96, 159, 160)), int32_t(rgbOle(134, 197, 179))},
        {int32_t(rgbOle(223, 224, 0)), int32_t(rgbOle(242, 224, 76))},
        {int32_t(0xFF000000u | rgbOle(0, 0, 0)), int32_t(rgbOle(76, 76, 76))},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SoftColor(row.in), row.out) << std::hex << row.in;
}

TEST(ExplorerBarColors, Long2RGBSplitsChannels) {
    uint8_t r = 0, g = 0, b = 0;
    Long2RGB(0x123456, r, g, b);
    EXPECT_EQ(r, 0x56);
    EXPECT_EQ(g, 0x34);
    EXPECT_EQ(b, 0x12);
    Long2RGB(int32_t(0x80FFEEDDu), r, g, b);
    EXPECT_EQ(r, 0xDD);
    EXPECT_EQ(g, 0xEE);
    EXPECT_EQ(b, 0xFF);
}

TEST(ExplorerBarColors, GradientRunsFromOneColourToTheOther) {
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        EXPECT_TRUE(DoGradient(p, int32_t(rgbOle(0, 100, 200)), int32_t(rgbOle(200, 100, 0)), 0,
                               10, 5, 100, 20));
        EXPECT_TRUE(DoGradient(p, int32_t(rgbOle(0, 0, 0)), int32_t(rgbOle(255, 255, 255)), 0, 0,
                               0, 0, 20));
        EXPECT_FALSE(DoGradient(p, 0, 0, 2, 0, 0, 10, 10));
    }
    EXPECT_EQ(image.pixel(10, 5), qRgb(0, 100, 200));
    EXPECT_EQ(image.pixel(10, 24), qRgb(0, 100, 200));
    EXPECT_EQ(image.pixel(60, 10), qRgb(100, 100, 100));
    const QColor last(image.pixel(109, 5));
    EXPECT_NEAR(last.red(), 200, 2);
    EXPECT_NEAR(last.blue(), 0, 2);
    // Nothing outside the rectangle.
    EXPECT_EQ(image.pixel(9, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(110, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(50, 25), qRgb(0, 0, 0));

    QImage vertical(4, 11, QImage::Format_RGB32);
    {
        QPainter p(&vertical);
        DoGradient(p, int32_t(rgbOle(0, 0, 0)), int32_t(rgbOle(110, 110, 110)), 1, 0, 0, 4, 11);
    }
    EXPECT_EQ(vertical.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(vertical.pixel(2, 5), qRgb(50, 50, 50));
}

TEST(ExplorerBarColors, AbsurdGradientSizesDrawOnlyWhatShows) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    EXPECT_TRUE(DoGradient(p, int32_t(rgbOle(255, 0, 0)), int32_t(rgbOle(0, 0, 255)), 0,
                           -1'000'000'000, 0, 2'000'000'000, 16));
    p.end();
    EXPECT_EQ(QColor(image.pixel(8, 8)).red(), 127);
}
