#include "EditTestImages.h"

using namespace picbasket;
using namespace picbasket::test;

TEST(ImageDisplay, ShownSizeFitsZoomsOrKeepsTheImage) {
    struct Row {
        const char* what;
        QSize image;
        bool autoZoom;
        double zoom;
        QSize container;
        QSize shown;
    } rows[] = {
        {"large image fitted by width", {4000, 3000}, true, 100, {400, 400}, {400, 300}},
        {"tall image fitted by height", {300, 400}, true, 100, {400, 200}, {150, 200}},
        {"fit rounds halves to even", {101, 20}, true, 100, {50, 50}, {50, 10}},
        {"small image never enlarged", {100, 50}, true, 100, {400, 400}, {100, 50}},
        {"container without area", {100, 50}, true, 100, {0, 0}, {100, 50}},
        {"thin line keeps a pixel", {4000, 1}, true, 100, {100, 100}, {100, 1}},
        {"zoom halves round to even", {101, 10}, false, 50, {10, 10}, {50, 5}},
        {"zoom enlarges", {30, 20}, false, 250, {10, 10}, {75, 50}},
        {"actual size", {30, 20}, false, 100, {10, 10}, {30, 20}},
    };
    for (const Row& row : rows) {
        ImageBox box;
        box.setImage(solidImage(row.image.width(), row.image.height(), 0xFF808080u));
        box.setAutoZoom(row.autoZoom);
        box.setZoom(row.zoom);
        box.setWidth(row.container.width());
        box.setHeight(row.container.height());
        EXPECT_EQ(QSize(box.DisplayWidth(), box.DisplayHeight()), row.shown) << row.what;
    }
    ImageBox empty;
    EXPECT_EQ(empty.DisplayWidth(), 0);
}

TEST(ImageDisplay, PropertiesReadBackAndBadValuesAreRefused) {
    ImageBox box;
    box.setZoom(37.5);
    EXPECT_EQ(box.Zoom(), 37.5);
    EXPECT_THROW(box.setZoom(0), AppError);
    EXPECT_THROW(box.setZoom(-5), AppError);
    EXPECT_THROW(box.setWidth(-1), AppError);
    EXPECT_EQ(box.Zoom(), 37.5);
    EXPECT_THROW(box.setDrawPenStyle(2), AppError);
    EXPECT_THROW(box.setDrawPenMode(7), AppError);
}

TEST(ImageDisplay, InvertingFigureDrawnTwiceIsGoneAndPixelsAreUntouched) {
    ImageBox box;
    const QImage original = patternImage(20, 20);
    box.setImage(original);
    box.setDrawPenMode(15);
    box.setDrawPenStyle(1);
    box.DrawRectangle(2, 3, 10, 12);
    ASSERT_EQ(box.OverlayFigures().size(), 1u);
    EXPECT_EQ(box.OverlayFigures()[0].rect, QRect(2, 3, 8, 9));
    EXPECT_EQ(box.OverlayFigures()[0].penStyle, 1);
    box.DrawRectangle(4, 4, 6, 6);
    box.DrawRectangle(2, 3, 10, 12);
    ASSERT_EQ(box.OverlayFigures().size(), 1u);
    EXPECT_EQ(box.OverlayFigures()[0].rect, QRect(4, 4, 2, 2));
    EXPECT_EQ(box.image(), original);
    EXPECT_EQ(box.image().cacheKey(), original.cacheKey());
}

TEST(ImageDisplay, FiguresBelongToTheImageTheyWereDrawnOn) {
    ImageBox box;
    box.setImage(patternImage(20, 20));
    box.setDrawPenMode(13);
    box.DrawRectangle(1, 1, 5, 5);
    box.DrawRectangle(1, 1, 5, 5);
    EXPECT_EQ(box.OverlayFigures().size(), 2u) << "a black pen does not erase";
    box.Flip(0);
    EXPECT_TRUE(box.OverlayFigures().empty());
    box.DrawRectangle(1, 1, 5, 5);
    box.setImage(patternImage(8, 8));
    EXPECT_TRUE(box.OverlayFigures().empty());
}

TEST(ImageDisplay, ClearSelectionEndsASelectionTool) {
    ImageBox box;
    box.BeginRedEyeSelection();
    EXPECT_EQ(box.ActiveSelectionTool(), ImageBox::RedEyeTool);
    box.BeginRectangleSelection();
    EXPECT_EQ(box.ActiveSelectionTool(), ImageBox::RectangleTool);
    box.ClearSelection();
    EXPECT_EQ(box.ActiveSelectionTool(), ImageBox::NoSelectionTool);
}
