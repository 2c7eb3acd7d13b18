#include "engine/tasks/FrameArtwork.h"
#include "engine/tasks/FrameArtworkPainter.h"
#include "engine/tasks/modFrames.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/engine/tasks/TaskTestSupport.h"

#include <gtest/gtest.h>

using namespace picbasket;
using picbasket::test::patternImage;
using picbasket::test::solid;

namespace {

const FrameArtwork& ours() {
    static const FrameArtwork art = FrameArtworkPainter::paintAll();
    return art;
}

} // namespace

// Pieces that do not fit each other leave gaps or steps in the frame.
TEST(OurArtwork, EveryStyleHasPiecesThatFitTogether) {
    const FrameArtwork& a = ours();
    ASSERT_EQ(a.styleCount(), 16);
    for (size_t s = 0; s < 16; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(a.pTop_middle[s].height(), a.pTop_left[s].height());
        EXPECT_EQ(a.pTop_right[s].height(), a.pTop_left[s].height());
        EXPECT_EQ(a.pBottom_middle[s].height(), a.pBottom_left[s].height());
        EXPECT_EQ(a.pBottom_right[s].height(), a.pBottom_left[s].height());
        EXPECT_EQ(a.pleft[s].width(), a.pTop_left[s].width());
        EXPECT_EQ(a.pBottom_left[s].width(), a.pTop_left[s].width());
        EXPECT_EQ(a.pRight[s].width(), a.pTop_right[s].width());
        EXPECT_EQ(a.pBottom_right[s].width(), a.pTop_right[s].width());
        EXPECT_EQ(a.pBottom_middle[s].width(), a.pTop_middle[s].width());
        EXPECT_EQ(a.pRight[s].height(), a.pleft[s].height());
        EXPECT_GE(a.pRight[s].width(), 2);
        EXPECT_GE(a.pBottom_left[s].height(), 2);
    }
    EXPECT_EQ(a.left_top.width(), a.pleft[4].width());
    EXPECT_EQ(a.right_bottom.width(), a.pRight[4].width());
}

TEST(OurArtwork, FramesSurroundTheImageWithoutTouchingItsInside) {
    for (int16_t style = 0; style < 8; ++style) {
        SCOPED_TRACE(style);
        ImageBox box;
        box.setImage(patternImage(150, 120));
        const QImage original = box.image();
        subApplyFrame(style, box, 1, style == 4, ours());
        const int left = ours().pleft[size_t(style)].width();
        const int top = ours().pTop_left[size_t(style)].height();
        EXPECT_EQ(box.ImageWidth(), 150 + left + ours().pRight[size_t(style)].width() - 2);
        EXPECT_EQ(box.ImageHeight(), 120 + top + ours().pBottom_left[size_t(style)].height() - 2);
        EXPECT_EQ(box.image().copy(left, top, 148, 118), original.copy(0, 0, 148, 118));
        EXPECT_NE(box.PixelColor(0, 0), box.PixelColor(left + 1, top + 1));
    }
}

TEST(OurArtwork, ShadowsLeaveTheImageAsItWasAndDarkenTheSideTheyFallTo) {
    struct Case {
        int16_t style;
        int farX, farY, nearX, nearY;
    };
    // Points given from the image's corners: positive beyond the right/bottom edge,
    // negative beyond the left/top edge.
    // The near point is just beyond the left or top edge (their pieces always add a
    // clear margin); (0, 0) checks none, for styles whose near sides are the right
    // and bottom ones, which add no margin.
    const Case cases[] = {{8, 1, 40, -1, 40},   {9, -1, 40, 40, -1}, {10, 1, 40, -1, 40},
                          {11, -1, 40, 0, 0},   {12, 40, 1, 40, -1}, {13, 40, 1, 40, -1},
                          {14, 40, -1, -1, 40}, {15, 40, -1, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        ImageBox box;
        box.setImage(solid(100, 80, qRgb(255, 255, 255)).convertToFormat(QImage::Format_RGB888));
        box.setBackgroundColor(0x00FFFFFF);
        subApplyFrame(c.style, box, 1, false, ours());
        const int left = ours().pleft[size_t(c.style)].width();
        const int top = ours().pTop_left[size_t(c.style)].height();
        for (int y = 0; y < 80; y += 7)
            for (int x = 0; x < 100; x += 7)
                ASSERT_EQ(box.PixelColor(left + x, top + y), 0x00FFFFFFu) << x << "," << y;
        auto at = [&](int dx, int dy) {
            const int x = dx < 0 ? left + dx : dx > 30 ? left + dx : left + 100 - 1 + dx;
            const int y = dy < 0 ? top + dy : dy > 30 ? top + dy : top + 80 - 1 + dy;
            return box.PixelColor(x, y);
        };
        EXPECT_LT(at(c.farX, c.farY) & 0xFF, 0xF0u);
        if (c.nearX != 0) {
            EXPECT_EQ(at(c.nearX, c.nearY), 0x00FFFFFFu);
        }
    }
}

TEST(OurArtwork, MasksHaveAHoleAndACover) {
    const FrameArtwork& a = ours();
    ASSERT_EQ(a.Mask.size(), 8u);
    for (const QImage& mask : a.Mask) {
        EXPECT_EQ(mask.size(),
                  QSize(FrameArtworkPainter::MaskWidth, FrameArtworkPainter::MaskHeight));
        EXPECT_EQ(mask.pixel(mask.width() / 2, mask.height() / 2), qRgb(0, 0, 0));
        EXPECT_EQ(mask.pixel(0, 0), qRgb(255, 255, 255));
    }
}

TEST(OurArtwork, TheStoreHandsOutOurArtworkUntilReplaced) {
    EXPECT_EQ(FrameArtwork::current().styleCount(), 16);
    {
        test::ScopedArtwork swapped{FrameArtwork{}};
        EXPECT_EQ(FrameArtwork::current().styleCount(), 0);
    }
    EXPECT_EQ(FrameArtwork::current().styleCount(), 16);
}

namespace {

// The darkest red level found in a rectangle of the box.
int darkest(const ImageBox& box, const QRect& area) {
    int level = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            level = std::min(level, int(box.PixelColor(x, y) & 0xFF));
    return level;
}

} // namespace

TEST(OurArtwork, AShadowCornerIsNoDarkerThanItsSides) {
    ImageBox box;
    box.setImage(solid(60, 40, qRgb(255, 255, 255)).convertToFormat(QImage::Format_RGB888));
    subApplyFrame(12, box, 1, false, ours());
    // Soft shadow to the bottom right: the image sits at (1, 1); the shadow's
    // corner lies beyond (61, 41).
    const int sideLevel = darkest(box, QRect(61, 10, 4, 10));
    EXPECT_LT(sideLevel, 255);
    EXPECT_EQ(darkest(box, QRect(20, 41, 10, 4)), sideLevel);
    EXPECT_GE(darkest(box, QRect(61, 41, box.ImageWidth() - 61, box.ImageHeight() - 41)),
              sideLevel);
}

TEST(OurArtwork, AShadowIgnoresTheKeyColourLeftByAnEarlierStamp) {
    auto shadowed = [](bool keyed) {
        ImageBox box;
        box.setImage(solid(60, 40, qRgb(255, 255, 255)).convertToFormat(QImage::Format_RGB888));
        box.setMergeTransparent(keyed);
        box.setMergeTransparentColor(0);
        subApplyFrame(8, box, 1, false, ours());
        EXPECT_EQ(box.MergeTransparent(), keyed);
        return box.image();
    };
    EXPECT_EQ(shadowed(true), shadowed(false));
}
