#include "controls/splitter/Splitter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

using namespace picbasket;

namespace {

// A shown host window with one splitter and two plain panes.
struct SplitterHost {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    Splitter* splitter = new Splitter(window.get());
    QWidget* first = new QWidget;
    QWidget* second = new QWidget;

    SplitterHost(int orientation, int width, int height) {
        window->resize(1000, 1000);
        splitter->setOrientation(orientation);
        splitter->setGeometry(0, 0, width, height);
        splitter->setLeftOrTopControl(first);
        splitter->setRightOrBottomControl(second);
        window->show();
    }
};

void sendMouse(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void press(Splitter* s, QPointF pos, Qt::MouseButton button = Qt::LeftButton,
           Qt::MouseButtons held = Qt::LeftButton) {
    sendMouse(s->picSplitter(), QEvent::MouseButtonPress, pos, button, held);
}
void moveTo(Splitter* s, QPointF pos, Qt::MouseButtons held = Qt::LeftButton) {
    sendMouse(s->picSplitter(), QEvent::MouseMove, pos, Qt::NoButton, held);
}
void release(Splitter* s, QPointF pos, Qt::MouseButton button = Qt::LeftButton,
             Qt::MouseButtons stillHeld = Qt::NoButton) {
    sendMouse(s->picSplitter(), QEvent::MouseButtonRelease, pos, button, stillHeld);
}

} // namespace

TEST(Splitter, GeometryTable) {
    const struct {
        const char* name;
        int orientation, width, height, position;
        QRect bar, first, second;
    } rows[] = {
        {"horizontal, half",
         1,
         300,
         400,
         50,
         {0, 200, 300, 5},
         {0, 0, 300, 200},
         {0, 205, 300, 195}},
        {"vertical, 30 percent",
         0,
         600,
         200,
         30,
         {180, 0, 5, 200},
         {0, 0, 180, 200},
         {185, 0, 415, 200}},
        {"vertical, fraction cut down",
         0,
         333,
         100,
         50,
         {166, 0, 5, 100},
         {0, 0, 166, 100},
         {171, 0, 162, 100}},
        {"any other orientation is vertical",
         7,
         200,
         50,
         10,
         {20, 0, 5, 50},
         {0, 0, 20, 50},
         {25, 0, 175, 50}},
        {"too small for the bottom pane",
         1,
         99,
         7,
         90,
         {0, 6, 99, 5},
         {0, 0, 99, 6},
         {0, 11, 99, 0}},
    };
    for (const auto& r : rows) {
        SplitterHost host(r.orientation, r.width, r.height);
        host.splitter->setSplitterPosition(r.position);
        EXPECT_EQ(host.splitter->picSplitter()->geometry(), r.bar) << r.name;
        EXPECT_EQ(host.first->geometry(), r.first) << r.name;
        EXPECT_EQ(host.second->geometry(), r.second) << r.name;
        EXPECT_EQ(host.first->parentWidget(), host.splitter) << r.name;
        EXPECT_TRUE(host.second->isVisible()) << r.name;
    }
}

TEST(Splitter, DefaultsAndResizeLaysOut) {
    SplitterHost host(1, 300, 400);
    EXPECT_EQ(host.splitter->SplitterWidth(), 5);
    EXPECT_EQ(host.splitter->SplitterPosition(), 50);
    EXPECT_EQ(host.splitter->SplitterMin(), 10);
    EXPECT_EQ(host.splitter->SplitterMax(), 90);
    EXPECT_EQ(host.splitter->SplitterColor(), 0x8000000Fu);
    QSignalSpy resized(host.splitter, &Splitter::Resize);
    host.splitter->resize(300, 600);
    EXPECT_EQ(resized.count(), 1);
    EXPECT_EQ(host.splitter->picSplitter()->geometry(), QRect(0, 300, 300, 5));
    EXPECT_EQ(host.second->geometry(), QRect(0, 305, 300, 295));
    EXPECT_EQ(host.splitter->picSplitter()->cursor().shape(), Qt::SizeVerCursor);
}

TEST(Splitter, SetterLimitTable) {
    enum Member { Position, Max, Min };
    const struct {
        const char* name;
        Member member;
        int value;
        int position, max, min;
    } rows[] = {
        {"position above max", Position, 95, 90, 90, 10},
        {"position below min", Position, 5, 10, 90, 10},
        {"max above 100", Max, 150, 50, 99, 10},
        {"max negative, then above min", Max, -5, 50, 11, 10},
        {"max exactly 100", Max, 100, 50, 100, 10},
        {"max equal to min", Max, 10, 50, 10, 10},
        {"max below min", Max, 3, 50, 11, 10},
        {"max below position leaves position", Max, 40, 50, 40, 10},
        {"min above max", Min, 95, 50, 90, 89},
        {"min negative", Min, -5, 50, 90, 1},
        {"min exactly 0", Min, 0, 50, 90, 0},
        {"min above 100", Min, 150, 50, 90, 89},
        {"min above position leaves position", Min, 60, 50, 90, 60},
    };
    for (const auto& r : rows) {
        Splitter s;
        switch (r.member) {
        case Position:
            s.setSplitterPosition(r.value);
            break;
        case Max:
            s.setSplitterMax(r.value);
            break;
        case Min:
            s.setSplitterMin(r.value);
            break;
        }
        EXPECT_EQ(s.SplitterPosition(), r.position) << r.name;
        EXPECT_EQ(s.SplitterMax(), r.max) << r.name;
        EXPECT_EQ(s.SplitterMin(), r.min) << r.name;
    }
}

TEST(Splitter, DragPastLimitKeepsLastShadowPlace) {
    SplitterHost host(1, 300, 400); // open range of the bar's top: 41 to 359
    Splitter* s = host.splitter;
    QSignalSpy begun(s, &Splitter::SplitBegin);
    QSignalSpy moved(s, &Splitter::SplitMove);
    QSignalSpy completed(s, &Splitter::SplitComplete);

    press(s, {10, 2});
    EXPECT_EQ(begun.count(), 1);
    EXPECT_TRUE(s->picMover()->isVisibleTo(host.window.get()));
    moveTo(s, {10, -100}); // bar top 200 - 100 = 100
    EXPECT_EQ(s->picMover()->geometry(), QRect(0, 100, 300, 5));
    EXPECT_EQ(s->SplitterPosition(), 25);
    moveTo(s, {10, 160}); // 360 is exactly the upper limit: refused
    moveTo(s, {10, 300});
    EXPECT_EQ(s->picMover()->geometry(), QRect(0, 100, 300, 5));
    EXPECT_EQ(s->SplitterPosition(), 25);
    EXPECT_EQ(host.first->geometry(), QRect(0, 0, 300, 200)) << "panes wait for the release";
    EXPECT_EQ(moved.count(), 3);

    release(s, {10, 300});
    EXPECT_EQ(completed.count(), 1);
    EXPECT_FALSE(s->picMover()->isVisibleTo(host.window.get()));
    EXPECT_EQ(s->picSplitter()->geometry(), QRect(0, 100, 300, 5));
    EXPECT_EQ(host.first->geometry(), QRect(0, 0, 300, 100));
    EXPECT_EQ(host.second->geometry(), QRect(0, 105, 300, 295));
}

TEST(Splitter, DragPositionIsWholePercentOfExactPixel) {
    // 9 of 30 pixels is 30 percent; a division through a fraction would give 29.
    SplitterHost host(0, 30, 50);
    Splitter* s = host.splitter;
    s->setSplitterMin(1);
    press(s, {1, 5});
    moveTo(s, {-5.5, 5}); // 15 - 5.5 = 9.5, rounded to the even 10
    EXPECT_EQ(s->picMover()->x(), 10);
    moveTo(s, {-6, 5});
    EXPECT_EQ(s->picMover()->x(), 9);
    EXPECT_EQ(s->SplitterPosition(), 30);
    release(s, {-6, 5});
    EXPECT_EQ(host.first->geometry(), QRect(0, 0, 9, 50));
}

TEST(Splitter, OneCompletionPerDragWithSeveralButtons) {
    SplitterHost host(0, 400, 100);
    Splitter* s = host.splitter;
    QSignalSpy begun(s, &Splitter::SplitBegin);
    QSignalSpy completed(s, &Splitter::SplitComplete);
    press(s, {2, 10});
    moveTo(s, {-50, 10});
    press(s, {-50, 10}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(s->picMover()->x(), 150) << "a second button does not restart the drag";
    release(s, {-50, 10}, Qt::LeftButton, Qt::RightButton);
    EXPECT_EQ(completed.count(), 0);
    release(s, {-50, 10}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(begun.count(), 1);
    EXPECT_EQ(completed.count(), 1);
    EXPECT_EQ(host.first->width(), 150);
    release(s, {-50, 10});
    EXPECT_EQ(completed.count(), 1) << "a stray release ends nothing";
}

TEST(Splitter, HoverWithoutDragChangesNothing) {
    SplitterHost host(0, 400, 100);
    Splitter* s = host.splitter;
    QSignalSpy moved(s, &Splitter::SplitMove);
    moveTo(s, {1, 10}, Qt::NoButton);
    moveTo(s, {4, 10}, Qt::NoButton);
    EXPECT_EQ(moved.count(), 2);
    EXPECT_EQ(s->SplitterPosition(), 50);
    EXPECT_EQ(s->picMover()->geometry(), s->picSplitter()->geometry());
}

TEST(Splitter, DisabledBarStartsNoDrag) {
    SplitterHost host(0, 400, 100);
    Splitter* s = host.splitter;
    QSignalSpy begun(s, &Splitter::SplitBegin);
    s->setEnabled(false);
    EXPECT_FALSE(s->Enabled());
    press(s, {2, 10});
    moveTo(s, {-50, 10});
    release(s, {-50, 10});
    EXPECT_EQ(begun.count(), 0);
    EXPECT_EQ(host.first->width(), 200);

    QSignalSpy completed(s, &Splitter::SplitComplete);
    s->setEnabled(true);
    press(s, {2, 10});
    moveTo(s, {-50, 10});
    s->setEnabled(false);
    EXPECT_EQ(completed.count(), 1) << "disabling ends a running drag";
    EXPECT_FALSE(s->picMover()->isVisibleTo(host.window.get()));
}

TEST(Splitter, NestedSplitterRelaysItsPanes) {
    QWidget window;
    window.resize(400, 200);
    Splitter outer(&window);
    outer.setGeometry(0, 0, 400, 200);
    auto* left = new QWidget;
    auto* inner = new Splitter;
    inner->setOrientation(1);
    auto* top = new QWidget;
    auto* bottom = new QWidget;
    inner->setLeftOrTopControl(top);
    inner->setRightOrBottomControl(bottom);
    outer.setLeftOrTopControl(left);
    outer.setRightOrBottomControl(inner);
    window.show();

    EXPECT_EQ(inner->geometry(), QRect(205, 0, 195, 200));
    EXPECT_EQ(top->geometry(), QRect(0, 0, 195, 100));
    EXPECT_EQ(bottom->geometry(), QRect(0, 105, 195, 95));

    outer.setSplitterPosition(25);
    EXPECT_EQ(inner->geometry(), QRect(105, 0, 295, 200));
    EXPECT_EQ(top->geometry(), QRect(0, 0, 295, 100));
    EXPECT_EQ(bottom->geometry(), QRect(0, 105, 295, 95));
}

TEST(Splitter, DetachedPaneStaysAndComesBack) {
    SplitterHost host(0, 400, 100);
    Splitter* s = host.splitter;
    s->setRightOrBottomControl(nullptr);
    s->setSplitterPosition(25);
    EXPECT_EQ(host.second->geometry(), QRect(205, 0, 195, 100)) << "a detached pane is left alone";
    EXPECT_EQ(host.first->geometry(), QRect(0, 0, 100, 100));
    s->setRightOrBottomControl(host.second);
    EXPECT_EQ(host.second->geometry(), QRect(105, 0, 295, 100));

    s->setLeftOrTopControl(nullptr);
    s->setRightOrBottomControl(nullptr);
    s->setSplitterPosition(75);
    EXPECT_EQ(s->picSplitter()->geometry(), QRect(300, 0, 5, 100));

    delete host.first;
    s->setSplitterPosition(50);
    s->setLeftOrTopControl(s->parentWidget());
    EXPECT_EQ(s->LeftOrTopControl(), nullptr) << "the container cannot become a pane";
}

TEST(Splitter, DesignModeMovesOnlyTheBar) {
    SplitterHost host(0, 400, 100);
    host.splitter->setUserMode(false);
    host.splitter->setSplitterPosition(75);
    EXPECT_EQ(host.splitter->picSplitter()->geometry(), QRect(300, 0, 5, 100));
    EXPECT_EQ(host.first->geometry(), QRect(0, 0, 200, 100));
}

TEST(Splitter, OrientationPlacesBarWithoutLayingOutPanes) {
    SplitterHost host(0, 400, 200);
    host.splitter->setOrientation(1);
    EXPECT_EQ(host.splitter->picSplitter()->geometry(), QRect(0, 100, 400, 5));
    EXPECT_EQ(host.first->geometry(), QRect(0, 0, 200, 200));
    host.splitter->Refresh();
    EXPECT_EQ(host.first->geometry(), QRect(0, 0, 400, 100));
}

TEST(Splitter, StoredPropertiesRoundTrip) {
    Splitter fresh;
    EXPECT_TRUE(fresh.WriteProperties().isEmpty()) << "defaults are not written";

    // Limits are read before the position, so 95 inside 92..95 survives.
    const QVariantMap bag{{"SplitterMax", 95}, {"SplitterMin", 92},  {"SplitterPosition", 95},
                          {"Orientation", 1},  {"SplitterWidth", 8}, {"SplitterColor", 0x00123456u},
                          {"Enabled", false}};
    Splitter s;
    s.ReadProperties(bag);
    EXPECT_EQ(s.SplitterMax(), 95);
    EXPECT_EQ(s.SplitterMin(), 92);
    EXPECT_EQ(s.SplitterPosition(), 95);
    EXPECT_EQ(s.Orientation(), 1);
    EXPECT_EQ(s.SplitterWidth(), 8);
    EXPECT_EQ(s.SplitterColor(), 0x00123456u);
    EXPECT_FALSE(s.Enabled());
    EXPECT_EQ(s.picSplitter()->palette().color(QPalette::Window), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(s.WriteProperties(), bag);

    Splitter restored;
    restored.ReadProperties({});
    EXPECT_TRUE(restored.WriteProperties().isEmpty());
}
