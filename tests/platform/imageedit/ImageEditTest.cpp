#include "EditTestImages.h"

#include <cmath>
#include <set>

using namespace picbasket;
using namespace picbasket::test;

TEST(ImageEditFlip, MirrorsLeftRightAndTopBottom) {
    ImageBox box;
    const QImage original = patternImage(4, 3);
    box.setImage(original);
    box.Flip(0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(box.image().pixel(x, y), original.pixel(3 - x, y)) << x << "," << y;
    box.setImage(original);
    box.Flip(1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(box.image().pixel(x, y), original.pixel(x, 2 - y)) << x << "," << y;
}

TEST(ImageEditFlip, TwiceGivesTheOriginalInItsOwnFormat) {
    for (QImage::Format format : {QImage::Format_RGB888, QImage::Format_ARGB32,
                                  QImage::Format_Indexed8, QImage::Format_Grayscale8,
                                  QImage::Format_RGBA64, QImage::Format_Mono}) {
        ImageBox box;
        const QImage original = patternImage(5, 3, format);
        box.setImage(original);
        for (int direction : {0, 1}) {
            box.Flip(direction);
            box.Flip(direction);
            EXPECT_EQ(box.image(), original) << "format " << format << " direction " << direction;
            EXPECT_EQ(box.image().format(), format);
        }
    }
}

TEST(ImageEditFlip, UnknownDirectionOrNoImageIsRefused) {
    ImageBox box;
    expectRefused(box, [&] { box.Flip(0); });
    box.setImage(patternImage(2, 2));
    expectRefused(box, [&] { box.Flip(2); });
    expectRefused(box, [&] { box.Flip(-1); });
}

TEST(ImageEditRotate, QuarterTurnsAreExactAndClockwise) {
    const QImage original = patternImage(4, 3);
    struct Row {
        float degrees;
        // Where the pixel at new (x, y) came from, for a w x h original.
        std::function<QPoint(int, int)> source;
        bool swapsSides;
    };
    const int w = 4, h = 3;
    const Row rows[] = {
        {90, [&](int x, int y) { return QPoint(y, h - 1 - x); }, true},
        {-270, [&](int x, int y) { return QPoint(y, h - 1 - x); }, true},
        {180, [&](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); }, false},
        {270, [&](int x, int y) { return QPoint(w - 1 - y, x); }, true},
        {-90, [&](int x, int y) { return QPoint(w - 1 - y, x); }, true},
        {360, [&](int x, int y) { return QPoint(x, y); }, false},
    };
    for (const Row& row : rows) {
        for (bool smooth : {true, false}) {
            ImageBox box;
            box.setImage(original);
            box.setRotateResample(smooth);
            box.Rotate(row.degrees);
            const QImage& out = box.image();
            ASSERT_EQ(out.size(), row.swapsSides ? QSize(h, w) : QSize(w, h)) << row.degrees;
            for (int y = 0; y < out.height(); ++y)
                for (int x = 0; x < out.width(); ++x) {
                    const QPoint s = row.source(x, y);
                    EXPECT_EQ(out.pixel(x, y), original.pixel(s)) << row.degrees << " at " << x << "," << y;
                }
        }
    }
}

TEST(ImageEditRotate, FortyFiveDegreesGrowsTheCanvasAndFillsTheCorners) {
    for (bool smooth : {true, false}) {
        ImageBox box;
        box.setImage(solidImage(100, 60, qRgb(0, 200, 0)));
        box.setBackgroundColor(rgbOle(255, 0, 0));
        box.setRotateResample(smooth);
        box.Rotate(45);
        // 100 cos 45 + 60 sin 45 = 113.14, rounded up.
        EXPECT_EQ(box.image().size(), QSize(114, 114));
        EXPECT_EQ(rgbAt(box, 0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(rgbAt(box, 113, 113), qRgb(255, 0, 0));
        EXPECT_EQ(rgbAt(box, 57, 57), qRgb(0, 200, 0));
        EXPECT_EQ(box.PixelColor(0, 0), 0x0000FFu);
    }
}

TEST(ImageEditRotate, ResampleInterpolatesWhileNearestKeepsTheColours) {
    QImage stripes(20, 20, QImage::Format_RGB888);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    auto coloursAfter = [&](bool smooth) {
        ImageBox box;
        box.setImage(stripes);
        box.setBackgroundColor(0);
        box.setRotateResample(smooth);
        box.Rotate(30);
        std::set<QRgb> colours;
        for (int y = 0; y < box.image().height(); ++y)
            for (int x = 0; x < box.image().width(); ++x)
                colours.insert(rgbAt(box, x, y));
        return colours;
    };
    EXPECT_EQ(coloursAfter(false).size(), 2u);
    EXPECT_GT(coloursAfter(true).size(), 10u);
}

TEST(ImageEditResize, GivesExactlyTheSizeAskedFor) {
    ImageBox box;
    box.setImage(solidImage(10, 10, qRgb(10, 120, 250)));
    box.ResizeTo(23, 4);
    EXPECT_EQ(box.image().size(), QSize(23, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 23; ++x)
            ASSERT_EQ(rgbAt(box, x, y), qRgb(10, 120, 250));
    box.Resize(300, 200);
    EXPECT_EQ(box.image().size(), QSize(300, 200));
}

TEST(ImageEditResize, ShrinkingAveragesInsteadOfSkippingPixels) {
    QImage checks(40, 40, QImage::Format_RGB888);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            checks.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    ImageBox box;
    box.setImage(checks);
    box.Resize(10, 10);
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < 8; ++x)
            EXPECT_NEAR(qRed(box.image().pixel(x, y)), 128, 3) << x << "," << y;
}

TEST(ImageEditResize, PercentRoundsHalvesToEvenAndKeepsOnePixel) {
    struct Row {
        float percent;
        QSize expected;
    } rows[] = {{50, {50, 5}}, {150, {152, 15}}, {0.001f, {1, 1}}, {100, {101, 10}}};
    for (const Row& row : rows) {
        ImageBox box;
        box.setImage(patternImage(101, 10));
        box.ResizePercent(row.percent);
        EXPECT_EQ(box.image().size(), row.expected) << row.percent;
    }
}

TEST(ImageEditResize, ImpossibleSizesAreRefusedAndChangeNothing) {
    ImageBox box;
    box.setImage(patternImage(8, 8));
    expectRefused(box, [&] { box.Resize(0, 5); });
    expectRefused(box, [&] { box.Resize(5, -1); });
    expectRefused(box, [&] { box.Resize(32768, 1); });
    expectRefused(box, [&] { box.Resize(20001, 20001); });
    expectRefused(box, [&] { box.ResizePercent(0); });
    expectRefused(box, [&] { box.ResizePercent(-20); });
    expectRefused(box, [&] { box.ResizePercent(1e9f); });
}

TEST(ImageEditCrop, InsideTheImageKeepsPixelsAndFormat) {
    ImageBox box;
    const QImage original = patternImage(6, 5, QImage::Format_Indexed8);
    box.setImage(original);
    box.Crop(1, 2, 4, 5);
    EXPECT_EQ(box.image(), original.copy(1, 2, 3, 3));
    EXPECT_EQ(box.image().format(), QImage::Format_Indexed8);
}

TEST(ImageEditCrop, ReachingOutsideGrowsTheCanvasInTheBackgroundColour) {
    ImageBox box;
    const QImage original = patternImage(6, 5);
    box.setImage(original);
    box.setBackgroundColor(rgbOle(255, 255, 0));
    box.Crop(-2, -1, 8, 5);
    ASSERT_EQ(box.image().size(), QSize(10, 6));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 8 && y >= 1;
            EXPECT_EQ(rgbAt(box, x, y), inside ? original.pixel(x - 2, y - 1) : qRgb(255, 255, 0))
                << x << "," << y;
        }
}

TEST(ImageEditCrop, ReversedCornersAreOrdered) {
    ImageBox a, b;
    a.setImage(patternImage(6, 5));
    b.setImage(patternImage(6, 5));
    a.Crop(1, 1, 4, 3);
    b.Crop(4, 3, 1, 1);
    EXPECT_EQ(a.image(), b.image());
    EXPECT_EQ(b.image().size(), QSize(3, 2));
}

TEST(ImageEditCrop, EmptyOrHugeRectanglesAreRefused) {
    ImageBox box;
    box.setImage(patternImage(6, 5));
    expectRefused(box, [&] { box.Crop(2, 0, 2, 5); });
    expectRefused(box, [&] { box.Crop(0, 3, 6, 3); });
    expectRefused(box, [&] { box.Crop(-2000000000, 0, 2000000000, 5); });
}

TEST(ImageEditCrop, ColouredCanvasOnAGreyImageKeepsItsColour) {
    ImageBox box;
    box.setImage(solidImage(4, 4, qRgb(90, 90, 90), QImage::Format_Grayscale8));
    box.setBackgroundColor(rgbOle(0, 0, 255));
    box.Crop(-1, -1, 5, 5);
    EXPECT_EQ(rgbAt(box, 0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(rgbAt(box, 2, 2), qRgb(90, 90, 90));
}

TEST(ImageEditCrop, KeepsTheImageResolution) {
    ImageBox box;
    QImage image = patternImage(6, 5);
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(11811);
    box.setImage(image);
    box.Crop(-1, -1, 7, 6);
    box.Rotate(10);
    box.Resize(20, 20);
    EXPECT_EQ(box.image().dotsPerMeterX(), 11811);
    EXPECT_EQ(box.image().dotsPerMeterY(), 11811);
}

namespace {

// Left half black, right half white, 40 x 8.
QImage stepImage() {
    QImage image(40, 8, QImage::Format_RGB888);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, x < 20 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return image;
}

int redAfter(const std::function<void(ImageBox&)>& edit, int x) {
    ImageBox box;
    box.setImage(stepImage());
    edit(box);
    return qRed(box.image().pixel(x, 4));
}

} // namespace

TEST(ImageEditBlur, SmoothsAnEdgeMoreAsTheAmountGrows) {
    const int weak = redAfter([](ImageBox& b) { b.Blur(1); }, 17);
    const int strong = redAfter([](ImageBox& b) { b.Blur(10); }, 17);
    EXPECT_LT(weak, strong);
    EXPECT_GT(strong, 40);
    ImageBox box;
    box.setImage(solidImage(9, 9, qRgb(33, 66, 99)));
    box.Blur(5);
    EXPECT_EQ(box.image(), solidImage(9, 9, qRgb(33, 66, 99)));
}

TEST(ImageEditBlur, LeavesNoDarkFringeAtClearPixels) {
    QImage half(20, 6, QImage::Format_ARGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 20; ++x)
            half.setPixel(x, y, x < 10 ? qRgba(0, 0, 0, 0) : qRgba(255, 0, 0, 255));
    ImageBox box;
    box.setImage(half);
    box.Blur(3);
    const QRgb edge = box.image().pixel(10, 3);
    EXPECT_LT(qAlpha(edge), 255);
    EXPECT_GT(qRed(edge), 240);
    EXPECT_TRUE(box.image().hasAlphaChannel());
}

TEST(ImageEditSharpen, OvershootsAtAnEdgeMoreAsTheAmountGrows) {
    // On a grey step the dark side gets darker and the light side lighter.
    auto greyStep = [] {
        QImage image(40, 8, QImage::Format_RGB888);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 40; ++x)
                image.setPixel(x, y, x < 20 ? qRgb(80, 80, 80) : qRgb(160, 160, 160));
        return image;
    };
    auto sharpened = [&](int amount, int x) {
        ImageBox box;
        box.setImage(greyStep());
        box.Sharpen(amount);
        return qRed(box.image().pixel(x, 4));
    };
    EXPECT_LT(sharpened(1, 19), 80);
    EXPECT_LT(sharpened(10, 19), sharpened(1, 19));
    EXPECT_GT(sharpened(10, 20), sharpened(1, 20));
}

TEST(ImageEditBlur, AmountsOutsideOneToTenAreRefused) {
    ImageBox box;
    box.setImage(stepImage());
    expectRefused(box, [&] { box.Blur(0); });
    expectRefused(box, [&] { box.Blur(11); });
    expectRefused(box, [&] { box.Sharpen(0); });
    expectRefused(box, [&] { box.Sharpen(11); });
}

TEST(ImageEditTone, FiftyLeavesTheImageUnchanged) {
    const QImage original = patternImage(12, 9);
    ImageBox box;
    box.setImage(original);
    box.Brightness(50, true, true, true);
    box.Contrast(50, true, true, true);
    EXPECT_EQ(box.image(), original);
}

TEST(ImageEditTone, OnlyTheFlaggedChannelsChange) {
    struct Row {
        bool r, g, b;
    } rows[] = {{true, false, false}, {false, true, false}, {false, false, true}, {true, false, true}};
    const QRgb grey = qRgb(100, 100, 100);
    for (const Row& row : rows) {
        for (bool contrast : {false, true}) {
            ImageBox box;
            box.setImage(solidImage(3, 3, grey));
            if (contrast)
                box.Contrast(10, row.r, row.g, row.b);
            else
                box.Brightness(80, row.r, row.g, row.b);
            const QRgb p = rgbAt(box, 1, 1);
            EXPECT_EQ(qRed(p) != 100, row.r) << contrast;
            EXPECT_EQ(qGreen(p) != 100, row.g) << contrast;
            EXPECT_EQ(qBlue(p) != 100, row.b) << contrast;
        }
    }
}

TEST(ImageEditTone, EffectGrowsMonotonicallyTowardsBothEnds) {
    auto after = [](bool contrast, int amount, int value) {
        ImageBox box;
        box.setImage(solidImage(1, 1, qRgb(value, value, value)));
        if (contrast)
            box.Contrast(amount, true, true, true);
        else
            box.Brightness(amount, true, true, true);
        return qRed(box.image().pixel(0, 0));
    };
    int last = -1;
    for (int amount : {30, 40, 50, 60, 70}) {
        const int v = after(false, amount, 128);
        EXPECT_GT(v, last) << amount;
        last = v;
    }
    EXPECT_EQ(after(false, 0, 200), 0);
    EXPECT_EQ(after(false, 100, 10), 255);
    // Contrast spreads values away from mid-grey: a dark value falls, a light one rises.
    last = 256;
    for (int amount : {0, 25, 50, 75, 95}) {
        const int v = after(true, amount, 100);
        EXPECT_LT(v, last) << amount;
        last = v;
    }
    EXPECT_EQ(after(true, 0, 10), 128);
    EXPECT_EQ(after(true, 100, 100), 0);
    EXPECT_EQ(after(true, 100, 150), 255);
}

TEST(ImageEditTone, AmountsOutsideTheRangeAreRefused) {
    ImageBox box;
    box.setImage(patternImage(3, 3));
    expectRefused(box, [&] { box.Brightness(-1, true, true, true); });
    expectRefused(box, [&] { box.Contrast(101, true, true, true); });
}

TEST(ImageEditInvert, NegatesColourAndKeepsAlpha) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(10, 20, 30, 40));
    image.setPixel(1, 0, qRgba(255, 0, 128, 255));
    ImageBox box;
    box.setImage(image);
    box.Invert();
    EXPECT_EQ(box.image().pixel(0, 0), qRgba(245, 235, 225, 40));
    EXPECT_EQ(box.image().pixel(1, 0), qRgba(0, 255, 127, 255));
    box.Invert();
    EXPECT_EQ(box.image(), image);
}

// Widths that are not a multiple of eight bytes leave a tail after the word loop;
// the oracle is Qt's own inversion of the same image.
TEST(ImageEditInvert, EveryHeldByteFormatMatchesQtsInversion) {
    for (QImage::Format format :
         {QImage::Format_RGB888, QImage::Format_ARGB32, QImage::Format_Grayscale8}) {
        for (int width : {1, 3, 7, 8, 13}) {
            QImage image = patternImage(width, 3, QImage::Format_ARGB32);
            image.setPixel(0, 1, qRgba(5, 6, 7, 99));
            image = image.convertToFormat(format);
            ImageBox box;
            box.setImage(image);
            box.Invert();
            QImage expected = image.copy();
            expected.invertPixels(QImage::InvertRgb);
            EXPECT_EQ(box.image(), expected) << "format " << format << " width " << width;
            EXPECT_EQ(box.image().format(), format);
        }
    }
}

// The canvas grown in each held format against a painter's oracle: the
// background everywhere, the old image drawn at its place.
TEST(ImageEditCrop, GrownCanvasMatchesAPaintedOracleInEveryFormat) {
    struct Row {
        const char* name;
        QImage::Format format;
        OleColor background;
        QRect rect; // left, top, width, height of the new canvas
    };
    const Row rows[] = {
        {"24-bit, all sides", QImage::Format_RGB888, rgbOle(255, 0, 0), QRect(-2, -3, 11, 9)},
        {"24-bit, left only", QImage::Format_RGB888, rgbOle(1, 2, 3), QRect(-3, 0, 8, 4)},
        {"24-bit, wholly outside", QImage::Format_RGB888, rgbOle(9, 8, 7), QRect(20, 20, 3, 2)},
        {"alpha, all sides", QImage::Format_ARGB32, rgbOle(0, 0, 255), QRect(-1, -1, 7, 6)},
        {"grey on grey", QImage::Format_Grayscale8, rgbOle(77, 77, 77), QRect(-2, -2, 9, 8)},
        {"grey on colour", QImage::Format_Grayscale8, rgbOle(0, 200, 0), QRect(-2, -2, 9, 8)},
        {"palette", QImage::Format_Indexed8, rgbOle(10, 20, 30), QRect(-1, 0, 7, 5)},
    };
    for (const Row& row : rows) {
        QImage original = patternImage(5, 4, QImage::Format_ARGB32);
        original.setPixel(1, 1, qRgba(50, 60, 70, 128));
        original = original.convertToFormat(row.format);
        ImageBox box;
        box.setImage(original);
        box.setBackgroundColor(row.background);
        box.Crop(row.rect.left(), row.rect.top(), row.rect.right() + 1, row.rect.bottom() + 1);
        QImage expected(row.rect.size(), QImage::Format_ARGB32);
        expected.fill(oleToQColor(row.background));
        const QImage source = original.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                if (source.valid(x + row.rect.left(), y + row.rect.top()))
                    expected.setPixel(x, y, source.pixel(x + row.rect.left(), y + row.rect.top()));
        ASSERT_EQ(box.image().size(), row.rect.size()) << row.name;
        const QImage got = box.image().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                ASSERT_EQ(got.pixel(x, y), expected.pixel(x, y)) << row.name << " at " << x << "," << y;
        if (row.format != QImage::Format_Indexed8 && std::string(row.name) != "grey on colour")
            EXPECT_EQ(box.image().format(), row.format) << row.name;
    }
}

TEST(ImageEditCrop, SystemBackgroundColourIsTranslatedWhenUsed) {
    ImageBox box;
    box.setImage(solidImage(3, 3, qRgb(1, 2, 3)));
    box.setBackgroundColor(syscolor::Window);
    box.Crop(0, 0, 5, 3);
    EXPECT_EQ(box.BackgroundColor(), syscolor::Window);
    EXPECT_EQ(rgbAt(box, 4, 1), oleToQColor(syscolor::Window).rgb() | 0xFF000000u);
}
