#include "core/AppError.h"
#include "engine/tasks/FrameArtwork.h"
#include "engine/tasks/modFrames.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/engine/tasks/TaskTestSupport.h"

#include <gtest/gtest.h>

using namespace picbasket;
using picbasket::test::patternImage;
using picbasket::test::solid;

TEST(TextPlacement, GridPointsForHorizontalAndVerticalText) {
    struct Case {
        const char* name;
        uint8_t orientation;
        int16_t position;
        int alignment;
        double w, h, tw, th;
        int32_t x, y;
    };
    const Case cases[] = {
        {"top left, left edge", 0, 0, 0, 100, 50, 20, 10, 0, 0},
        {"top left, centred", 0, 0, 1, 100, 50, 21, 10, 10, 0},
        {"top left, right edge", 0, 0, 2, 100, 50, 20, 10, 20, 0},
        {"centre rounds 40.5 to even", 0, 4, 0, 101, 50, 20, 10, 40, 20},
        {"centre, centred", 0, 4, 1, 101, 51, 20, 10, 50, 20},
        {"centre, right edge", 0, 4, 2, 100, 50, 20, 10, 60, 20},
        {"bottom right, left edge", 0, 8, 0, 100, 50, 20, 10, 80, 40},
        {"bottom right, centred, 89.5 to even", 0, 8, 1, 100, 50, 21, 10, 90, 40},
        {"bottom right, right edge", 0, 8, 2, 100, 50, 20, 10, 100, 40},
        {"middle row, 20.5 to even", 0, 3, 0, 100, 51, 20, 10, 0, 20},
        {"vertical top left", 1, 0, 2, 100, 50, 20, 10, 10, 0},
        {"vertical centre", 7, 4, 0, 100, 50, 20, 10, 55, 15},
        {"vertical bottom right", 1, 8, 1, 100, 50, 20, 10, 100, 30},
    };
    for (const Case& c : cases) {
        int32_t x = -7, y = -7;
        subPlaceTextIn(c.orientation, c.position, c.alignment, c.w, c.h, c.tw, c.th, x, y);
        EXPECT_EQ(x, c.x) << c.name;
        EXPECT_EQ(y, c.y) << c.name;
    }
}

TEST(TextPlacement, OtherPositionsLeaveThePointAlone) {
    for (int16_t position : {int16_t(-1), int16_t(9), int16_t(12)}) {
        int32_t x = 3, y = 4;
        subPlaceTextIn(0, position, 0, 100, 50, 20, 10, x, y);
        EXPECT_EQ(x, 3);
        EXPECT_EQ(y, 4);
    }
}

TEST(TextPlacement, MeasuresTheTextInTheBoxFont) {
    ImageBox box;
    box.setImage(solid(200, 100, qRgb(255, 255, 255)));
    box.setTextAlignment(0);
    const QString text = QStringLiteral("Placed");
    int32_t x = 0, y = 0;
    subPlaceText(0, 8, box, text, x, y);
    EXPECT_EQ(x, 200 - box.TextWidth(text));
    EXPECT_EQ(y, 100 - box.TextHeight(text));
}

namespace {

// Solid pieces, each of its own colour and size:
//   corners 2 x 2, middle tiles 3 x 2, side tiles 2 x 3, corner side pieces 2 x 1.
const QRgb TL = qRgb(200, 0, 0), TM = qRgb(0, 200, 0), TR = qRgb(0, 0, 200),
           LEFT = qRgb(200, 200, 0), RIGHT = qRgb(0, 200, 200), BL = qRgb(200, 0, 200),
           BM = qRgb(100, 50, 0), BR = qRgb(0, 50, 100), LT = qRgb(10, 10, 10),
           RT = qRgb(20, 20, 20), LB = qRgb(30, 30, 30), RB = qRgb(40, 40, 40);

FrameArtwork pieceArtwork(int cornerWidth = 2) {
    FrameArtwork art;
    art.pTop_left = {solid(cornerWidth, 2, TL)};
    art.pTop_middle = {solid(3, 2, TM)};
    art.pTop_right = {solid(2, 2, TR)};
    art.pleft = {solid(2, 3, LEFT)};
    art.pRight = {solid(2, 3, RIGHT)};
    art.pBottom_left = {solid(2, 2, BL)};
    art.pBottom_middle = {solid(3, 2, BM)};
    art.pBottom_right = {solid(2, 2, BR)};
    art.left_top = solid(2, 1, LT);
    art.right_top = solid(2, 1, RT);
    art.left_bottom = solid(2, 1, LB);
    art.right_bottom = solid(2, 1, RB);
    return art;
}

uint32_t ole(QRgb c) {
    return uint32_t(qRed(c)) | uint32_t(qGreen(c)) << 8 | uint32_t(qBlue(c)) << 16;
}

struct Pixel {
    int x, y;
    QRgb colour;
};

void expectPixels(const ImageBox& box, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels)
        EXPECT_EQ(box.PixelColor(p.x, p.y), ole(p.colour)) << "at " << p.x << "," << p.y;
}

} // namespace

TEST(ApplyFrame, WithoutResizingThePiecesCoverTheImageBorder) {
    ImageBox box;
    box.setImage(patternImage(10, 8));
    const QImage original = box.image();
    subApplyFrame(0, box, 0, false, pieceArtwork());
    EXPECT_EQ(box.ImageWidth(), 10);
    EXPECT_EQ(box.ImageHeight(), 8);
    // Top tiles at x 2 and 5; the last tile at 8 lies under the top right corner.
    // Side tiles from y 2 every 3 rows; the bottom row covers their ends.
    expectPixels(box, {{0, 0, TL},
                       {2, 1, TM},
                       {7, 0, TM},
                       {8, 0, TR},
                       {9, 1, TR},
                       {0, 2, LEFT},
                       {1, 5, LEFT},
                       {8, 3, RIGHT},
                       {9, 5, RIGHT},
                       {0, 6, BL},
                       {2, 7, BM},
                       {7, 6, BM},
                       {8, 7, BR},
                       {9, 6, BR}});
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 8; ++x)
            EXPECT_EQ(box.image().pixel(x, y), original.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(box.MergeStyle(), 1);
}

TEST(ApplyFrame, ResizingGrowsTheCanvasAroundTheImage) {
    ImageBox box;
    box.setImage(patternImage(10, 8));
    const QImage original = box.image();
    subApplyFrame(0, box, 1, false, pieceArtwork());
    // Left and top grow by the left piece and the top corner; right and bottom by
    // their pieces less two, so those pieces lie two pixels over the image.
    EXPECT_EQ(box.ImageWidth(), 2 + 10 + 2 - 2);
    EXPECT_EQ(box.ImageHeight(), 2 + 8 + 2 - 2);
    expectPixels(box, {{1, 1, TL}, {10, 5, RIGHT}, {11, 0, TR}, {11, 9, BR}});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(box.image().pixel(x + 2, y + 2), original.pixel(x, y)) << x << "," << y;
}

// Long side pieces around a 16 x 12 image would grow the canvas to 18014 x 18010
// pixels (324 megapixels), more than any decoder of the program opens again: the
// frame is refused before anything is allocated, naming the limit.
TEST(ApplyFrame, ACanvasPastTheImageLimitIsRefusedWithTheLimit) {
    FrameArtwork art = pieceArtwork();
    art.pTop_left = {solid(2, 9000, TL)};
    art.pleft = {solid(9000, 3, LEFT)};
    art.pRight = {solid(9000, 3, RIGHT)};
    art.pBottom_left = {solid(2, 9000, BL)};
    ImageBox box;
    box.setImage(patternImage(16, 12));
    const QImage original = box.image();
    try {
        subApplyFrame(0, box, 1, false, art);
        ADD_FAILURE() << "a " << box.ImageWidth() << " x " << box.ImageHeight()
                      << " canvas was made";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.description().contains("18014 x 18010"))
            << qPrintable(error.description());
        EXPECT_TRUE(error.description().contains("268 megapixels"))
            << qPrintable(error.description());
    }
    EXPECT_EQ(box.image(), original);
}

TEST(ApplyFrame, CornerPiecesSitBelowTheTopCornersAndAboveTheBottomOnes) {
    ImageBox box;
    box.setImage(patternImage(10, 9));
    subApplyFrame(0, box, 0, true, pieceArtwork());
    // The sides start under the corner pieces, at y 3; the lower corner pieces
    // sit at H - (2 + 1) = 6.
    expectPixels(box, {{0, 2, LT}, {9, 2, RT}, {0, 3, LEFT}, {1, 6, LB}, {8, 6, RB}, {0, 7, BL}});
}

TEST(ApplyFrame, AnImageNarrowerThanTheCornerGetsOnlyTheCorners) {
    ImageBox box;
    box.setImage(patternImage(3, 8));
    subApplyFrame(0, box, 0, false, pieceArtwork(4));
    expectPixels(box, {{0, 0, TL}, {1, 0, TR}, {2, 1, TR}, {0, 7, BL}, {1, 7, BR}});
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 8; ++y) {
            EXPECT_NE(box.PixelColor(x, y), ole(TM));
            EXPECT_NE(box.PixelColor(x, y), ole(BM));
        }
}

TEST(ApplyFrame, BadStylesAndEmptyPiecesFailBeforeAnyPixelChanges) {
    ImageBox box;
    box.setImage(patternImage(10, 8));
    const QImage original = box.image();
    try {
        subApplyFrame(1, box, 1, false, pieceArtwork());
        ADD_FAILURE();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
    }
    FrameArtwork noTile = pieceArtwork();
    noTile.pTop_middle = {QImage()};
    try {
        subApplyFrame(0, box, 1, false, noTile);
        ADD_FAILURE();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::Unexpected);
    }
    FrameArtwork noCorners = pieceArtwork();
    noCorners.right_bottom = QImage();
    EXPECT_THROW(subApplyFrame(0, box, 1, true, noCorners), AppError);
    EXPECT_EQ(box.image(), original);
}

TEST(ApplyMask, ResizesTheMaskWheneverItsSizeDiffersAndKeepsItsBlackClear) {
    FrameArtwork art;
    QImage mask(4, 4, QImage::Format_RGB32);
    mask.fill(Qt::white);
    mask.setPixel(1, 1, qRgb(0, 0, 0));
    art.Mask = {solid(16, 16, qRgb(0, 0, 0)), mask};
    ImageBox box;
    box.setImage(patternImage(16, 16));
    const QImage original = box.image();
    box.setMergeTransparent(true);
    box.setMergeTransparentColor(0);
    // Mask 0 has the image's size and is all black: nothing shows.
    subApplyMask(0, box, art);
    EXPECT_EQ(box.image(), original);
    // Mask 1 is a quarter of the size; stretched, its white covers the corners.
    subApplyMask(1, box, art);
    EXPECT_EQ(box.PixelColor(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(box.PixelColor(15, 15), 0x00FFFFFFu);
    EXPECT_THROW(subApplyMask(2, box, art), AppError);
}
