#include "EditTestImages.h"

using namespace picbasket;
using namespace picbasket::test;

namespace {

// Which pixels of the box differ from `before`.
std::vector<QPoint> changedPixels(const ImageBox& box, const QImage& before) {
    std::vector<QPoint> changed;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (rgbAt(box, x, y) != (before.pixel(x, y) | 0xFF000000u))
                changed.emplace_back(x, y);
    return changed;
}

} // namespace

TEST(ImageSelection, SelectionOnlyLimitsAnOperationToTheRectangle) {
    const QImage original = patternImage(8, 6);
    ImageBox box;
    box.setImage(original);
    box.SelectRectangle(2, 1, 5, 3);
    box.setSelectionOnly(true);
    box.Invert();
    const std::vector<QPoint> changed = changedPixels(box, original);
    ASSERT_EQ(changed.size(), 6u);
    for (const QPoint& p : changed)
        EXPECT_TRUE(QRect(2, 1, 3, 2).contains(p)) << p.x() << "," << p.y();
}

TEST(ImageSelection, WithoutSelectionOnlyOrWithoutSelectionTheWholeImageChanges) {
    const QImage original = patternImage(8, 6);
    ImageBox box;
    box.setImage(original);
    box.SelectRectangle(2, 1, 5, 3);
    box.setSelectionOnly(false);
    box.Invert();
    EXPECT_EQ(changedPixels(box, original).size(), 48u);

    box.setImage(original);
    box.ClearSelection();
    box.setSelectionOnly(true);
    box.Brightness(90, true, true, true);
    EXPECT_EQ(changedPixels(box, original).size(), 48u);
}

TEST(ImageSelection, EllipseLimitsAnOperationToItsInside) {
    const QImage original = solidImage(10, 10, qRgb(100, 100, 100));
    ImageBox box;
    box.setImage(original);
    box.SelectEllipse(0, 0, 10, 10);
    box.setSelectionOnly(true);
    box.Invert();
    EXPECT_EQ(rgbAt(box, 0, 0), qRgb(100, 100, 100));
    EXPECT_EQ(rgbAt(box, 9, 9), qRgb(100, 100, 100));
    EXPECT_EQ(rgbAt(box, 5, 5), qRgb(155, 155, 155));
    EXPECT_EQ(rgbAt(box, 0, 5), qRgb(155, 155, 155));
}

TEST(ImageSelection, BlurInsideASelectionReadsButNeverWritesOutside) {
    QImage image = solidImage(30, 10, qRgb(0, 0, 0));
    for (int y = 0; y < 10; ++y)
        for (int x = 15; x < 30; ++x)
            image.setPixel(x, y, qRgb(255, 255, 255));
    ImageBox box;
    box.setImage(image);
    box.SelectRectangle(10, 0, 15, 10);
    box.setSelectionOnly(true);
    box.Blur(4);
    EXPECT_GT(qRed(box.image().pixel(14, 5)), 0);
    EXPECT_EQ(rgbAt(box, 15, 5), qRgb(255, 255, 255));
    EXPECT_EQ(rgbAt(box, 9, 5), qRgb(0, 0, 0));
}

TEST(ImageSelection, RectanglesAreClippedOrderedAndRefusedWhenOutside) {
    ImageBox box;
    box.setImage(patternImage(8, 6));
    box.SelectRectangle(-5, -5, 3, 3);
    EXPECT_EQ(box.Selection().bounds(QSize(8, 6)), QRect(0, 0, 3, 3));
    box.SelectRectangle(6, 5, 2, 1);
    EXPECT_EQ(box.Selection().rect(), QRect(2, 1, 4, 4));
    expectRefused(box, [&] { box.SelectRectangle(20, 20, 30, 30); });
    EXPECT_FALSE(box.HasSelection());
    expectRefused(box, [&] { box.SelectEllipse(3, 3, 3, 5); });
    // A refused selection leaves nothing for a following crop to use.
    expectRefused(box, [&] { box.CropToSelection(); });
}

TEST(ImageSelection, CropToRectangleSelection) {
    const QImage original = patternImage(8, 6);
    ImageBox box;
    box.setImage(original);
    box.SelectRectangle(1, 2, 7, 5);
    box.CropToSelection();
    EXPECT_EQ(box.image(), original.copy(1, 2, 6, 3));
    EXPECT_FALSE(box.HasSelection());
}

TEST(ImageSelection, EllipseCropFillsTheCornersWithTheBackground) {
    ImageBox box;
    box.setImage(solidImage(20, 20, qRgb(0, 0, 255)));
    box.setBackgroundColor(rgbOle(255, 255, 255));
    box.SelectEllipse(2, 4, 18, 14);
    box.setSelectionOnly(true);
    box.CropToSelection();
    ASSERT_EQ(box.image().size(), QSize(16, 10));
    for (QPoint corner : {QPoint(0, 0), QPoint(15, 0), QPoint(0, 9), QPoint(15, 9)})
        EXPECT_EQ(rgbAt(box, corner.x(), corner.y()), qRgb(255, 255, 255));
    EXPECT_EQ(rgbAt(box, 8, 5), qRgb(0, 0, 255));
    EXPECT_EQ(rgbAt(box, 0, 5), qRgb(0, 0, 255));
    EXPECT_EQ(rgbAt(box, 8, 0), qRgb(0, 0, 255));
    EXPECT_FALSE(box.HasSelection());
}

TEST(ImageSelection, PixelColorIsAnOleColour) {
    ImageBox box;
    QImage image = solidImage(3, 2, qRgb(0x11, 0x22, 0x33));
    box.setImage(image);
    EXPECT_EQ(box.PixelColor(2, 1), 0x00332211u);
    expectRefused(box, [&] { box.PixelColor(3, 0); });
    expectRefused(box, [&] { box.PixelColor(0, -1); });
}

TEST(ImageSelection, RedEyeIsReducedOnlyInsideTheSelection) {
    QImage image = solidImage(10, 4, qRgb(200, 30, 40));
    image.setPixel(3, 1, qRgb(200, 190, 180)); // skin: red does not dominate
    ImageBox box;
    box.setImage(image);
    box.RemoveRedEye();
    EXPECT_EQ(box.image(), image);

    box.SelectRectangle(0, 0, 5, 4);
    box.RemoveRedEye();
    EXPECT_EQ(rgbAt(box, 1, 1), qRgb(35, 30, 40));
    EXPECT_EQ(rgbAt(box, 3, 1), qRgb(200, 190, 180));
    EXPECT_EQ(rgbAt(box, 7, 1), qRgb(200, 30, 40));
}
