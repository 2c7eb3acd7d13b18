#include "acquisition/CaptureRectangleMachine.h"

#include <QRect>
#include <gtest/gtest.h>
#include <set>
#include <tuple>
#include <vector>

using namespace picbasket;

namespace {

// A machine whose figures land on a set that toggles like an inverting pen, so what
// is shown can be read off at any time.
class CaptureRectangleTest : public ::testing::Test {
protected:
    using Figure = std::tuple<int, int, int, int, bool>;

    void SetUp() override {
        QObject::connect(&m, &CaptureRectangleMachine::drawFigure,
                         [this](int l, int t, int r, int b, bool grip) {
                             const Figure f{l, t, r, b, grip};
                             if (!shown.erase(f))
                                 shown.insert(f);
                         });
        QObject::connect(&m, &CaptureRectangleMachine::clearFigures, [this] { shown.clear(); });
        QObject::connect(&m, &CaptureRectangleMachine::pointerChanged,
                         [this](int p) { pointer = p; });
        QObject::connect(&m, &CaptureRectangleMachine::accepted,
                         [this](const QRect& r) { accepted.push_back(r); });
        QObject::connect(&m, &CaptureRectangleMachine::cancelled, [this] { ++cancels; });
        QObject::connect(&m, &CaptureRectangleMachine::toolStripToggled, [this] { ++toggles; });
    }

    void draw(int x1, int y1, int x2, int y2) {
        m.cmdBar_Click(CaptureRectangleMachine::NewSelection);
        m.mouseDown(x1, y1);
        m.mouseMove(x2, y2);
        m.mouseUp(x2, y2);
    }

    int grips() const {
        int n = 0;
        for (const Figure& f : shown)
            n += std::get<4>(f) ? 1 : 0;
        return n;
    }
    std::set<Figure> bands() const {
        std::set<Figure> result;
        for (const Figure& f : shown)
            if (!std::get<4>(f))
                result.insert(f);
        return result;
    }

    CaptureRectangleMachine m;
    std::set<Figure> shown;
    int pointer = -1;
    std::vector<QRect> accepted;
    int cancels = 0;
    int toggles = 0;
};

TEST_F(CaptureRectangleTest, StatesFollowTheTransitionTable) {
    EXPECT_EQ(m.SelectionState(), 0);
    m.mouseDown(5, 5);
    EXPECT_EQ(m.SelectionState(), 0) << "an idle press starts nothing";
    m.cmdBar_Click(0);
    EXPECT_EQ(m.SelectionState(), 1);
    m.mouseDown(10, 10);
    EXPECT_EQ(m.SelectionState(), 2);
    m.mouseMove(60, 50);
    m.mouseUp(60, 50);
    EXPECT_EQ(m.SelectionState(), 3);
    m.mouseMove(30, 30);
    m.mouseDown(30, 30);
    EXPECT_EQ(m.SelectionState(), 5) << "a press inside moves the rectangle";
    m.mouseUp(30, 30);
    EXPECT_EQ(m.SelectionState(), 3);
    m.mouseMove(60, 50);
    m.mouseDown(60, 50);
    EXPECT_EQ(m.SelectionState(), 4) << "a press on a grip reshapes";
    m.mouseUp(60, 50);
    EXPECT_EQ(m.SelectionState(), 3);
    m.cmdBar_Click(0);
    EXPECT_EQ(m.SelectionState(), 1);
    EXPECT_TRUE(shown.empty()) << "a new selection clears the settled rectangle";
    draw(10, 10, 60, 50);
    m.cmdBar_Click(1);
    EXPECT_EQ(m.SelectionState(), 0) << "accept clears the selection";
    EXPECT_TRUE(shown.empty());
    ASSERT_EQ(accepted.size(), 1u);
}

TEST_F(CaptureRectangleTest, DragToTheUpperLeftCropsTheNormalisedRectangle) {
    draw(50, 40, 20, 10);
    EXPECT_EQ(m.selection().SelX2, 20);
    EXPECT_EQ(m.selection().SelY2, 10);
    EXPECT_EQ(bands(), (std::set<Figure>{{50, 40, 21, 11, false}}));
    m.cmdBar_Click(1);
    ASSERT_EQ(accepted.size(), 1u);
    EXPECT_EQ(accepted[0], QRect(20, 10, 30, 30));
}

TEST_F(CaptureRectangleTest, MovingKeepsTheSizeAndTheGripsFollow) {
    draw(10, 10, 40, 30);
    m.mouseMove(20, 20);
    m.mouseDown(20, 20);
    m.mouseMove(25, 28);
    m.mouseUp(25, 28);
    EXPECT_EQ(m.normalisedRectangle(), QRect(15, 18, 30, 20));
    EXPECT_EQ(bands(), (std::set<Figure>{{15, 18, 46, 39, false}}));
    EXPECT_EQ(grips(), 2 * 8);
}

TEST_F(CaptureRectangleTest, MiddleGripsNeedASideLongerThanFifteen) {
    struct Case {
        int width, height;
        bool middleX, middleY;
    };
    for (const Case& c : {Case{15, 15, false, false}, Case{16, 15, true, false},
                          Case{15, 16, false, true}, Case{16, 16, true, true}}) {
        draw(100, 100, 100 + c.width, 100 + c.height);
        const auto& g = m.selection().Grips;
        EXPECT_EQ(g[5].Visible, c.middleX) << c.width << " x " << c.height;
        EXPECT_EQ(g[6].Visible, c.middleX) << c.width << " x " << c.height;
        EXPECT_EQ(g[7].Visible, c.middleY) << c.width << " x " << c.height;
        EXPECT_EQ(g[8].Visible, c.middleY) << c.width << " x " << c.height;
        const int expected = 4 + (c.middleX ? 2 : 0) + (c.middleY ? 2 : 0);
        EXPECT_EQ(grips(), 2 * expected) << c.width << " x " << c.height;
        // A hidden grip is not hit either: its place reads as the inside.
        m.mouseMove(100 + c.width / 2, 100);
        EXPECT_EQ(m.selection().HitGrip, c.middleX ? 5 : 9) << c.width << " x " << c.height;
        // Mirrored drags hide the same grips.
        draw(100 + c.width, 100 + c.height, 100, 100);
        EXPECT_EQ(m.selection().Grips[5].Visible, c.middleX);
        EXPECT_EQ(m.selection().Grips[7].Visible, c.middleY);
    }
}

TEST_F(CaptureRectangleTest, TheLastMatchingGripWins) {
    draw(10, 10, 12, 12);
    m.mouseMove(11, 11);
    EXPECT_EQ(m.selection().HitGrip, 4) << "grips 1 to 4 all lie within reach";
    m.mouseMove(10, 10);
    EXPECT_EQ(m.selection().HitGrip, 4);
    m.mouseMove(8, 8);
    EXPECT_EQ(m.selection().HitGrip, 1) << "only grip 1 lies within reach";
}

TEST_F(CaptureRectangleTest, CornerPointersFollowMirroredCorners) {
    // Pointer 8 runs from upper left to lower right, 6 from lower left to upper right.
    struct Case {
        const char* name;
        int x1, y1, x2, y2;
        int grip1, grip2;
    };
    for (const Case& c :
         {Case{"down right", 10, 10, 60, 60, 8, 6}, Case{"down left", 60, 10, 10, 60, 6, 8},
          Case{"up right", 10, 60, 60, 10, 6, 8}, Case{"up left", 60, 60, 10, 10, 8, 6}}) {
        draw(c.x1, c.y1, c.x2, c.y2);
        m.mouseMove(c.x1, c.y1);
        EXPECT_EQ(m.selection().HitGrip, 1) << c.name;
        EXPECT_EQ(pointer, c.grip1) << c.name;
        m.mouseMove(c.x2, c.y1);
        EXPECT_EQ(m.selection().HitGrip, 2) << c.name;
        EXPECT_EQ(pointer, c.grip2) << c.name;
        m.mouseMove(c.x2, c.y2);
        EXPECT_EQ(pointer, c.grip1) << c.name << ", grip 4";
        m.mouseMove((c.x1 + c.x2) / 2, c.y1);
        EXPECT_EQ(pointer, 7) << c.name << ", grip 5";
        m.mouseMove(c.x1, (c.y1 + c.y2) / 2);
        EXPECT_EQ(pointer, 9) << c.name << ", grip 7";
        m.mouseMove(35, 35);
        EXPECT_EQ(pointer, 5) << c.name << ", inside";
        m.mouseMove(200, 200);
        EXPECT_EQ(pointer, 0) << c.name << ", outside";
    }
}

TEST_F(CaptureRectangleTest, APressOutsideHidesTheGripsUntilRelease) {
    draw(10, 10, 50, 40);
    const auto before = shown;
    m.mouseMove(200, 200);
    m.mouseDown(200, 200);
    EXPECT_EQ(grips(), 0);
    EXPECT_EQ(bands().size(), 1u);
    m.mouseMove(300, 250);
    EXPECT_EQ(m.normalisedRectangle(), QRect(10, 10, 40, 30)) << "the rectangle stays";
    m.mouseUp(300, 250);
    EXPECT_EQ(m.SelectionState(), 3);
    EXPECT_EQ(shown, before);
}

TEST_F(CaptureRectangleTest, AGripReshapesOnlyItsCoordinates) {
    draw(10, 10, 50, 40);
    m.mouseMove(30, 40);
    ASSERT_EQ(m.selection().HitGrip, 6);
    m.mouseDown(30, 40);
    m.mouseMove(70, 80);
    m.mouseUp(70, 80);
    EXPECT_EQ(m.normalisedRectangle(), QRect(10, 10, 40, 70));
}

TEST_F(CaptureRectangleTest, DoubleClickInsideAcceptsElsewhereTogglesTheToolStrip) {
    draw(10, 10, 50, 40);
    m.mouseMove(200, 200);
    m.doubleClick();
    EXPECT_TRUE(accepted.empty());
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(pointer, 0);
    EXPECT_EQ(m.SelectionState(), 3);
    // A double-click inside: press and release move nothing, then the double-click.
    m.mouseMove(20, 20);
    m.mouseDown(20, 20);
    m.mouseUp(20, 20);
    m.doubleClick();
    ASSERT_EQ(accepted.size(), 1u);
    EXPECT_EQ(accepted[0], QRect(10, 10, 40, 30));
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(shown.empty());
}

TEST_F(CaptureRectangleTest, AcceptOfAnEmptyRectangleIsIgnored) {
    m.cmdBar_Click(0);
    m.cmdBar_Click(1);
    EXPECT_TRUE(accepted.empty()) << "nothing drawn yet";
    EXPECT_EQ(m.SelectionState(), 1);
    // A click without a drag, a line one pixel high: still no area.
    for (const QPoint end : {QPoint(30, 30), QPoint(60, 30), QPoint(30, 60)}) {
        draw(30, 30, end.x(), end.y());
        m.cmdBar_Click(1);
        m.mouseMove(30, 30);
        m.doubleClick();
        EXPECT_TRUE(accepted.empty()) << end.x() << ", " << end.y();
    }
    draw(30, 30, 31, 31);
    m.cmdBar_Click(1);
    ASSERT_EQ(accepted.size(), 1u);
    EXPECT_EQ(accepted[0], QRect(30, 30, 1, 1));
}

// A hover over the last rectangle does not make a double-click on a new selection
// accept it.
TEST_F(CaptureRectangleTest, ANewSelectionForgetsTheLastHover) {
    draw(10, 10, 50, 40);
    m.mouseMove(20, 20);
    ASSERT_EQ(m.selection().HitGrip, 9);
    m.cmdBar_Click(0);
    m.doubleClick();
    EXPECT_TRUE(accepted.empty());
    EXPECT_EQ(toggles, 1);
}

TEST_F(CaptureRectangleTest, CancelAndToolStripCommands) {
    m.cmdBar_Click(2);
    EXPECT_EQ(toggles, 1);
    m.cmdBar_Click(3);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(pointer, 0);
}

} // namespace
