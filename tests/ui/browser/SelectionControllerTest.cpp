#include "browser/SelectionController.h"

#include <QRect>
#include <gtest/gtest.h>
#include <set>
#include <tuple>
#include <vector>

using namespace picbasket;

namespace {

using Mode = SelectionController;

// A controller whose figures land on a set that toggles like the preview's
// inverting pen, so "what is shown" can be read off at any time.
class SelectionTest : public ::testing::Test {
protected:
    using Figure = std::tuple<int, int, int, int, bool>;

    void SetUp() override {
        QObject::connect(&s, &SelectionController::drawFigure,
                         [this](int l, int t, int r, int b, bool grip) {
                             const Figure f{l, t, r, b, grip};
                             if (!shown.erase(f))
                                 shown.insert(f);
                         });
        QObject::connect(&s, &SelectionController::clearFigures, [this] { shown.clear(); });
        QObject::connect(&s, &SelectionController::pointerChanged,
                         [this](int p) { pointer = p; });
        QObject::connect(&s, &SelectionController::previewMenuRequested, [this] { ++menus; });
        QObject::connect(&s, &SelectionController::colourPicked,
                         [this](uint32_t c) { picked.push_back(c); });
        QObject::connect(&s, &SelectionController::regionStartText,
                         [this](const QString& t) { regionStart = t; });
        QObject::connect(&s, &SelectionController::regionEndText,
                         [this](const QString& t) { regionEnd = t; });
        QObject::connect(&s, &SelectionController::locationText,
                         [this](const QString& t) { location = t; });
        QObject::connect(&s, &SelectionController::cropByMouseFinished, [this] { ++cropDone; });
        QObject::connect(&s, &SelectionController::locationPickFinished,
                         [this] { ++locationDone; });
        QObject::connect(&s, &SelectionController::taskOptionsChanged, [this] { ++changes; });
    }

    // Draws a rectangle with the left button from (x1, y1) to (x2, y2).
    void draw(int x1, int y1, int x2, int y2) {
        s.PreviewMouseMode = Mode::WaitingForPress;
        s.PreviewToolMode = Mode::RectangleTool;
        s.mouseDown(1, x1, y1);
        s.mouseMove(x2, y2);
        s.mouseUp(1, x2, y2);
    }

    int rubberBands() const {
        int n = 0;
        for (const Figure& f : shown)
            n += std::get<4>(f) ? 0 : 1;
        return n;
    }
    int gripFigures() const { return int(shown.size()) - rubberBands(); }

    SelectionController s;
    std::set<Figure> shown;
    int pointer = -1;
    int menus = 0;
    std::vector<uint32_t> picked;
    QString regionStart, regionEnd, location;
    int cropDone = 0, locationDone = 0, changes = 0;
};

} // namespace

TEST_F(SelectionTest, DrawnRectangleSettlesWithItsRubberBandAndGrips) {
    draw(10, 20, 60, 80);
    EXPECT_EQ(s.PreviewMouseMode, Mode::Settled);
    EXPECT_EQ(std::tie(s.SelX1, s.SelY1, s.SelX2, s.SelY2), std::make_tuple(10, 20, 60, 80));
    EXPECT_EQ(rubberBands(), 1);
    EXPECT_TRUE(shown.count({10, 20, 61, 81, false}));
    EXPECT_EQ(gripFigures(), 16) << "eight grips of two squares each";
    EXPECT_TRUE(shown.count({34, 19, 37, 22, true})) << "grip 5 at mid X 35, SelY1 20";
    EXPECT_EQ(pointer, 0);
}

TEST_F(SelectionTest, MidGripsNeedASideLongerThanFifteen) {
    struct Case {
        int width, height;
        bool grips56, grips78;
    };
    for (const Case& c : {Case{15, 15, false, false}, Case{16, 15, true, false},
                          Case{15, 16, false, true}, Case{16, 16, true, true},
                          Case{-16, -15, true, false}}) {
        s.SelX1 = 100;
        s.SelY1 = 100;
        s.SelX2 = 100 + c.width;
        s.SelY2 = 100 + c.height;
        s.subCalculateGrips();
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        for (int g = 1; g <= 4; ++g)
            EXPECT_TRUE(s.Grips[g].Visible);
        EXPECT_EQ(s.Grips[5].Visible, c.grips56);
        EXPECT_EQ(s.Grips[6].Visible, c.grips56);
        EXPECT_EQ(s.Grips[7].Visible, c.grips78);
        EXPECT_EQ(s.Grips[8].Visible, c.grips78);
    }
}

TEST_F(SelectionTest, MidGripsDropTheFractionTowardZero) {
    s.SelX1 = -5;
    s.SelX2 = 0;
    s.SelY1 = 3;
    s.SelY2 = 40;
    s.subCalculateGrips();
    EXPECT_EQ(s.Grips[5].X, -2) << "(-5 + 0) / 2";
    EXPECT_EQ(s.Grips[7].Y, 21);
}

TEST_F(SelectionTest, HoverFindsGripsInsideAndOutside) {
    // A 4-pixel-high rectangle: grips 1 and 3 (and 2 and 4) are within reach of
    // one point, and the higher number wins.
    s.SelX1 = 10;
    s.SelY1 = 10;
    s.SelX2 = 50;
    s.SelY2 = 14;
    s.subCalculateGrips();
    struct Case {
        int x, y, hit, pointer;
    };
    for (const Case& c : {Case{10, 12, 3, 6}, Case{50, 12, 4, 8}, Case{12, 10, 1, 8},
                          Case{13, 12, 9, 5}, Case{30, 10, 5, 7}, Case{30, 16, 6, 7},
                          Case{30, 17, 0, 0}, Case{49, 13, 4, 8}, Case{47, 13, 9, 5}}) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        s.PreviewMouseMode = Mode::Settled;
        s.mouseMove(c.x, c.y);
        EXPECT_EQ(s.HitGrip, c.hit);
        EXPECT_EQ(pointer, c.pointer);
    }
}

TEST_F(SelectionTest, InsideIsHalfOpenOnTheSideWhereTheDragBegan) {
    struct Case {
        int x1, x2, x;
        bool inside;
    };
    for (const Case& c : {Case{10, 20, 10, true}, Case{10, 20, 20, false}, Case{20, 10, 20, true},
                          Case{20, 10, 10, false}, Case{10, 10, 10, false}}) {
        s.SelX1 = c.x1;
        s.SelX2 = c.x2;
        s.SelY1 = 0;
        s.SelY2 = 10;
        EXPECT_EQ(s.isInside(c.x, 5), c.inside) << c.x1 << ".." << c.x2 << " at " << c.x;
    }
}

TEST_F(SelectionTest, CornerPointersFollowTheCornersDiagonal) {
    // 8 runs from upper left to lower right, 6 from lower left to upper right.
    struct Case {
        const char* drag;
        int x2, y2;
        int grip1, grip2;
    };
    for (const Case& c : {Case{"to the lower right", 60, 60, 8, 6},
                          Case{"to the lower left", -40, 60, 6, 8},
                          Case{"to the upper right", 60, -40, 6, 8},
                          Case{"to the upper left", -40, -40, 8, 6}}) {
        SCOPED_TRACE(c.drag);
        s.SelX1 = 10;
        s.SelY1 = 10;
        s.SelX2 = c.x2;
        s.SelY2 = c.y2;
        EXPECT_EQ(s.pointerFor(1), c.grip1);
        EXPECT_EQ(s.pointerFor(4), c.grip1);
        EXPECT_EQ(s.pointerFor(2), c.grip2);
        EXPECT_EQ(s.pointerFor(3), c.grip2);
    }
}

TEST_F(SelectionTest, DragToTheUpperLeftKeepsTheFirstCornerWhereItBegan) {
    draw(50, 50, 20, 30);
    EXPECT_EQ(std::tie(s.SelX1, s.SelY1, s.SelX2, s.SelY2), std::make_tuple(50, 50, 20, 30));
    s.mouseMove(50, 50);
    EXPECT_EQ(s.HitGrip, 1);
    EXPECT_EQ(pointer, 8) << "grip 1 now sits at the lower right corner";
    s.mouseMove(21, 49);
    EXPECT_EQ(s.HitGrip, 2);
    EXPECT_EQ(pointer, 6);
}

TEST_F(SelectionTest, GripDragReshapesOnlyItsCoordinates) {
    struct Case {
        int grip;
        std::tuple<int, int, int, int> corners;
    };
    for (const Case& c : {Case{1, {5, 7, 60, 80}}, Case{2, {10, 7, 5, 80}}, Case{3, {5, 20, 60, 7}},
                          Case{4, {10, 20, 5, 7}}, Case{5, {10, 7, 60, 80}},
                          Case{6, {10, 20, 60, 7}}, Case{7, {5, 20, 60, 80}},
                          Case{8, {10, 20, 5, 80}}}) {
        SCOPED_TRACE(c.grip);
        draw(10, 20, 60, 80);
        const QPoint g(s.Grips[c.grip].X, s.Grips[c.grip].Y);
        s.mouseMove(g.x(), g.y());
        ASSERT_EQ(s.HitGrip, c.grip);
        s.mouseDown(1, g.x(), g.y());
        EXPECT_EQ(s.PreviewMouseMode, Mode::DraggingGrip);
        EXPECT_EQ(gripFigures(), 0) << "the grips hide while dragging";
        s.mouseMove(5, 7);
        s.mouseUp(1, 5, 7);
        EXPECT_EQ(std::tie(s.SelX1, s.SelY1, s.SelX2, s.SelY2), c.corners);
        EXPECT_EQ(s.PreviewMouseMode, Mode::Settled);
        EXPECT_EQ(rubberBands(), 1) << "exactly the new rectangle is shown";
        EXPECT_GT(gripFigures(), 0);
        s.subClearSelection();
    }
}

TEST_F(SelectionTest, PressInsideMovesTheRectangle) {
    draw(10, 20, 60, 80);
    s.mouseMove(30, 30);
    s.mouseDown(1, 30, 30);
    EXPECT_EQ(s.PreviewMouseMode, Mode::Moving);
    EXPECT_EQ(pointer, 5);
    EXPECT_EQ(std::tie(s.DragDX, s.DragDY), std::make_tuple(20, 10));
    s.mouseMove(100, 5);
    s.mouseUp(1, 100, 5);
    EXPECT_EQ(std::tie(s.SelX1, s.SelY1, s.SelX2, s.SelY2), std::make_tuple(80, -5, 130, 55));
    EXPECT_EQ(rubberBands(), 1);
    EXPECT_TRUE(shown.count({80, -5, 131, 56, false}));
}

TEST_F(SelectionTest, PressOutsideHidesTheGripsUntilTheRelease) {
    draw(10, 20, 60, 80);
    const auto before = shown;
    s.mouseMove(200, 200);
    s.mouseDown(1, 200, 200);
    EXPECT_EQ(gripFigures(), 0);
    EXPECT_EQ(rubberBands(), 1);
    s.mouseMove(150, 150);
    s.mouseUp(1, 150, 150);
    EXPECT_EQ(std::tie(s.SelX1, s.SelY1, s.SelX2, s.SelY2), std::make_tuple(10, 20, 60, 80));
    EXPECT_EQ(shown, before);
    EXPECT_EQ(s.PreviewMouseMode, Mode::Settled);
}

TEST_F(SelectionTest, RightButtonNeverStartsADrag) {
    for (int16_t mode : {Mode::Idle, Mode::WaitingForPress, Mode::Settled}) {
        SCOPED_TRACE(mode);
        s.subClearSelection();
        if (mode == Mode::Settled)
            draw(10, 20, 60, 80);
        s.PreviewMouseMode = mode;
        s.CropByMouseActive = true;
        s.mouseMove(30, 30);
        const auto figures = shown;
        const int before = menus;
        s.mouseDown(2, 30, 30);
        s.mouseMove(40, 40);
        s.mouseUp(2, 40, 40);
        EXPECT_EQ(menus, before + 1);
        EXPECT_EQ(s.PreviewMouseMode, mode);
        EXPECT_NE(s.CropStartX, 30) << "the press records no crop start";
        EXPECT_TRUE(s.CropByMouseActive) << "its release ends no crop drag";
        s.CropByMouseActive = false;
    }
    EXPECT_EQ(cropDone, 0);
}

TEST_F(SelectionTest, CropDragRecordsItsPointsOnceWithoutMarksInAFittedPreview) {
    s.CropByMouseActive = true;
    s.mouseDown(1, 4, 5);
    EXPECT_EQ(regionStart, "X : 4 ; Y : 5");
    EXPECT_EQ(regionEnd, "X : 4 ; Y : 5");
    s.mouseMove(30, 40);
    EXPECT_EQ(regionEnd, "X : 30 ; Y : 40");
    s.mouseUp(1, 33, 44);
    EXPECT_EQ(std::tie(s.CropStartX, s.CropStartY, s.CropEndX, s.CropEndY),
              std::make_tuple(4, 5, 33, 44));
    EXPECT_EQ(regionEnd, "X : 33 ; Y : 44");
    EXPECT_FALSE(s.CropByMouseActive);
    EXPECT_EQ(cropDone, 1);
    EXPECT_TRUE(shown.empty());
    s.mouseDown(1, 90, 90);
    s.mouseUp(1, 95, 95);
    EXPECT_EQ(s.CropStartX, 4) << "only the first drag after ticking counts";
}

TEST_F(SelectionTest, LocationPickStoresThePointForTheCurrentTask) {
    int task = 9;
    s.currentTask = [&] { return task; };
    s.LocationPickMode = true;
    s.mouseMove(12, 34);
    EXPECT_EQ(std::tie(s.WatermarkPointX, s.WatermarkPointY), std::make_tuple(12, 34));
    EXPECT_EQ(location, "X-12; Y-34");
    EXPECT_EQ(pointer, 3);
    task = 10;
    s.mouseUp(1, 56, 78);
    EXPECT_EQ(std::tie(s.TextPointX, s.TextPointY), std::make_tuple(56, 78));
    EXPECT_EQ(std::tie(s.WatermarkPointX, s.WatermarkPointY), std::make_tuple(12, 34));
    EXPECT_FALSE(s.LocationPickMode);
    EXPECT_EQ(locationDone, 1);
}

TEST_F(SelectionTest, ColourPickScalesRoundsHalvesToEvenAndStaysInTheImage) {
    SelectionController::PickGeometry geometry{6, 10, 4, 4};
    std::vector<std::pair<int, int>> reads;
    s.pickGeometry = [&] { return geometry; };
    s.pixelColour = [&](int x, int y) {
        reads.emplace_back(x, y);
        return uint32_t(x * 100 + y);
    };
    s.PreviewToolMode = Mode::ColourPickTool;
    struct Case {
        int x, y, pickX, pickY;
    };
    // Image 6 x 10 shown at 4 x 4: X scales by 1.5, Y by 2.5.
    for (const Case& c : {Case{1, 1, 2, 2}, Case{3, 3, 4, 8}, Case{0, 0, 0, 0},
                          Case{4, 4, 5, 9}, Case{-3, 9, 0, 9}}) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        reads.clear();
        s.mouseDown(1, c.x, c.y);
        EXPECT_EQ(std::tie(s.PickX, s.PickY), std::tie(c.pickX, c.pickY));
        ASSERT_EQ(reads.size(), 1u);
        EXPECT_EQ(reads[0], std::make_pair(c.pickX, c.pickY));
        EXPECT_EQ(picked.back(), uint32_t(c.pickX * 100 + c.pickY));
    }
    s.mouseMove(2, 2);
    EXPECT_EQ(std::tie(s.PickX, s.PickY), std::make_tuple(3, 5)) << "the swatch follows the pointer";
}

TEST_F(SelectionTest, NoColourPickWithoutAnImage) {
    s.PreviewToolMode = Mode::ColourPickTool;
    s.pixelColour = [](int, int) -> uint32_t {
        ADD_FAILURE() << "no pixel is read";
        return 0;
    };
    s.mouseDown(1, 1, 1);
    s.pickGeometry = [] { return SelectionController::PickGeometry{}; };
    s.mouseDown(1, 1, 1);
    s.mouseMove(2, 2);
    EXPECT_TRUE(picked.empty());
}

TEST_F(SelectionTest, ClearForgetsEverythingAndEmptiesTheMarks) {
    draw(10, 20, 60, 80);
    s.subClearSelection();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(s.PreviewMouseMode, Mode::Idle);
    EXPECT_EQ(std::tie(s.SelX1, s.SelY1, s.SelX2, s.SelY2), std::make_tuple(0, 0, 0, 0));
    for (const auto& g : s.Grips)
        EXPECT_FALSE(g.Visible);
    s.mouseMove(10, 20);
    s.mouseDown(1, 10, 20);
    EXPECT_EQ(s.PreviewMouseMode, Mode::Idle) << "no drag without the crop box ticked again";
}
