#include "controls/common/NumberGroup.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A quality group (1 to 100) in a shown window, with a stored value of 80 and a
// second box to move the focus to.
class NumberGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        slider = new QSlider(&window);
        box = new QLineEdit(&window);
        spin = new QScrollBar(&window);
        other = new QLineEdit(&window);
        group = new NumberGroup(slider, box, spin, {1, 100, 10, 1, 5, 3}, [this] { return stored; },
                                &window);
        QObject::connect(group, &NumberGroup::valueChanged, [this](int v) { stored = v; });
        group->setValue(80);
        window.show();
        window.activateWindow();
    }

    void leaveBox() {
        box->setFocus();
        QApplication::processEvents();
        other->setFocus();
        QApplication::processEvents();
    }

    QWidget window;
    QSlider* slider;
    QLineEdit* box;
    QScrollBar* spin;
    QLineEdit* other;
    NumberGroup* group;
    int stored = 0;
};

} // namespace

TEST_F(NumberGroupTest, AllThreeMoveTogetherAndTheSliderStores) {
    slider->setValue(42);
    EXPECT_EQ(box->text(), "42");
    EXPECT_EQ(group->spinValue(), 42);
    EXPECT_EQ(stored, 42);

    // The spin's upper arrow raises the value, its page step is the spin's own.
    spin->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(slider->value(), 43);
    EXPECT_EQ(box->text(), "43");
    spin->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(slider->value(), 38);
    EXPECT_EQ(stored, 38);
    EXPECT_EQ(slider->pageStep(), 10);
    EXPECT_EQ(box->maxLength(), 3);
}

TEST_F(NumberGroupTest, LeavingTheBoxClampsAndMovesSliderAndSpin) {
    const struct {
        const char* typed;
        const char* shown;
        int value;
    } rows[] = {{"150", "100", 100}, {"0", "1", 1}, {"55", "55", 55}, {"100", "100", 100}};
    for (const auto& r : rows) {
        box->setText(QString::fromLatin1(r.typed));
        leaveBox();
        EXPECT_EQ(box->text(), QString::fromLatin1(r.shown)) << r.typed;
        EXPECT_EQ(slider->value(), r.value) << r.typed;
        EXPECT_EQ(group->spinValue(), r.value) << r.typed;
        EXPECT_EQ(stored, r.value) << r.typed;
    }
}

TEST_F(NumberGroupTest, AnEmptiedBoxGetsTheStoredValueBackSelected) {
    slider->setValue(64);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "64");
    EXPECT_EQ(box->selectedText(), "64");
    QTest::keyClicks(box, "7x");
    EXPECT_EQ(box->text(), "7") << "typing replaces the selection; letters do not pass";
}
