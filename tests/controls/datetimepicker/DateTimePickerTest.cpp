#include "controls/datetimepicker/CalendarMonthList.h"
#include "controls/datetimepicker/CalendarPanel.h"
#include "controls/datetimepicker/ucDateTimePicker.h"

#include <QDialog>
#include <QLineEdit>
#include <QWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

struct Host {
    QWidget window;
    QLineEdit* before;
    ucDateTimePicker* picker;
    QPushButton* after;
    Host() {
        auto* layout = new QVBoxLayout(&window);
        before = new QLineEdit(&window);
        picker = new ucDateTimePicker(&window);
        after = new QPushButton(QStringLiteral("after"), &window);
        layout->addWidget(before);
        layout->addWidget(picker);
        layout->addWidget(after);
        picker->state().setClock([] { return QDate(2024, 7, 3); });
        picker->initNewInstance();
        picker->setDateSelected(QDateTime(QDate(2024, 7, 3), QTime(0, 0)));
        window.resize(300, 200);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

TEST(DateTimePicker, FieldLayoutAndText) {
    Host h;
    EXPECT_EQ(h.picker->height(), 20);
    EXPECT_EQ(h.picker->textBox()->text(), QStringLiteral("3 Jul 2024"));
    const QRect drop = h.picker->dropButton()->geometry();
    EXPECT_EQ(drop.width(), 16);
    EXPECT_EQ(drop.right(), h.picker->width() - 3);
    h.picker->setDescriptionFormat(QStringLiteral("yyyy-mm-dd"));
    EXPECT_EQ(h.picker->textBox()->text(), QStringLiteral("2024-07-03"));
}

TEST(DateTimePicker, EnterCommitsTheHighlightOrMovesIt) {
    Host h;
    QSignalSpy changed(h.picker, &ucDateTimePicker::DateChanged);
    h.picker->OpenDropDown();
    ASSERT_TRUE(h.picker->isDropped());
    // Another valid date only moves the highlight.
    h.picker->textBox()->setText(QStringLiteral("5 Aug 2024"));
    QTest::keyClick(h.picker->textBox(), Qt::Key_Return);
    EXPECT_TRUE(h.picker->isDropped());
    EXPECT_EQ(h.picker->state().highlightDate(), QDate(2024, 8, 5));
    EXPECT_EQ(changed.count(), 0);
    // The highlighted day commits and closes.
    QTest::keyClick(h.picker->textBox(), Qt::Key_Return);
    EXPECT_FALSE(h.picker->isDropped());
    EXPECT_EQ(h.picker->DateSelected().date(), QDate(2024, 8, 5));
    EXPECT_EQ(changed.count(), 1);
}

TEST(DateTimePicker, InvalidTextTakesTheHighlight) {
    Host h;
    h.picker->state().setHighlightDate(QDate(2024, 7, 20));
    h.picker->textBox()->setText(QStringLiteral("not a date"));
    h.picker->CommitText();
    EXPECT_EQ(h.picker->DateSelected().date(), QDate(2024, 7, 20));
    EXPECT_EQ(h.picker->textBox()->text(), QStringLiteral("20 Jul 2024"));
}

TEST(DateTimePicker, PanelClosesOnHostPressAndDisable) {
    Host h;
    h.picker->OpenDropDown();
    ASSERT_TRUE(h.picker->isDropped());
    EXPECT_TRUE(h.picker->panel()->isVisible());
    // Below the field, overlapping its bottom edge by one pixel.
    EXPECT_EQ(h.picker->panel()->pos(), h.picker->mapToGlobal(QPoint(0, 19)));
    QTest::mouseClick(h.after, Qt::LeftButton);
    EXPECT_FALSE(h.picker->isDropped());
    EXPECT_FALSE(h.picker->panel()->isVisible());

    h.picker->OpenDropDown();
    h.picker->SetEnabled(false);
    EXPECT_FALSE(h.picker->isDropped());
    h.picker->OpenDropDown();
    EXPECT_FALSE(h.picker->isDropped());
}

TEST(DateTimePicker, DaysButtonsAndKeysInThePanel) {
    Host h;
    h.picker->OpenDropDown();
    CalendarPanel* panel = h.picker->panel();
    // July 2024 with Sunday first: the 1st (a Monday) is cell 1; click the 10th (cell 10).
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->cellRect(10).center());
    EXPECT_EQ(h.picker->state().highlightDate(), QDate(2024, 7, 10));
    // Today shows the month and keeps the highlight.
    h.picker->state().setViewDate(QDate(2023, 1, 1));
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->todayRect().center());
    EXPECT_EQ(h.picker->state().viewDate(), QDate(2024, 7, 3));
    EXPECT_EQ(h.picker->state().highlightDate(), QDate(2024, 7, 10));
    // The right arrow steps one month.
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->rightArrowRect().center());
    EXPECT_EQ(h.picker->state().viewDate().month(), 8);
    // Keys on the drop button steer the highlight; OK commits.
    QTest::keyClick(h.picker->dropButton(), Qt::Key_Right);
    EXPECT_EQ(h.picker->state().highlightDate(), QDate(2024, 7, 11));
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->okRect().center());
    EXPECT_FALSE(h.picker->isDropped());
    EXPECT_EQ(h.picker->DateSelected().date(), QDate(2024, 7, 11));
}

TEST(DateTimePicker, MonthListScrollsWhileHeldBelow) {
    Host h;
    h.picker->OpenDropDown();
    CalendarPanel* panel = h.picker->panel();
    const QPoint title = panel->titleRect().center();
    QTest::mousePress(panel, Qt::LeftButton, {}, title);
    ASSERT_TRUE(h.picker->isMonthListShown());
    const QRect list = h.picker->monthList()->geometry();
    const QDate middle = h.picker->state().monthList()[3];
    h.picker->trackMonthList(QPoint(list.center().x(), list.bottom() + 30));
    EXPECT_TRUE(h.picker->monthTicker().isActive());
    EXPECT_EQ(h.picker->monthTicker().interval(), 400);
    QMetaObject::invokeMethod(&h.picker->monthTicker(), "timeout");
    EXPECT_EQ(h.picker->state().monthList()[3], middle.addMonths(1));
    // Back inside the list: the scrolling stops and the item is remembered.
    h.picker->trackMonthList(QPoint(list.center().x(), list.top() + 1));
    EXPECT_FALSE(h.picker->monthTicker().isActive());
    EXPECT_EQ(h.picker->state().monthListIndex(), 0);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, title);
    EXPECT_FALSE(h.picker->isMonthListShown());
    EXPECT_EQ(h.picker->state().viewDate(), middle.addMonths(1 - 3));
}

TEST(DateTimePicker, PlainClickOnTitleKeepsTheMonth) {
    Host h;
    h.picker->OpenDropDown();
    CalendarPanel* panel = h.picker->panel();
    const QDate view = h.picker->state().viewDate();
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->titleRect().center());
    EXPECT_EQ(h.picker->state().viewDate(), view);
}

TEST(DateTimePicker, TabbingPassesOverTheDropButton) {
    Host h;
    h.before->setFocus();
    QTest::keyClick(h.before, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), h.picker->textBox());
    QTest::keyClick(h.picker->textBox(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), h.after);
    // Backwards the drop button does not send the focus forward again.
    QTest::keyClick(h.after, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), h.picker->textBox());
}

TEST(DateTimePicker, PropertyBagDefaults) {
    Host h;
    QVariantMap bag = h.picker->writeProperties();
    EXPECT_EQ(bag.value(QStringLiteral("FirstDayOfWeek")).toInt(), 1);
    EXPECT_EQ(bag.value(QStringLiteral("DescriptionFormat")).toString(), QStringLiteral("d mmm yyyy"));
    EXPECT_TRUE(bag.value(QStringLiteral("ShowNonMonthDays")).toBool());
    EXPECT_FALSE(bag.contains(QStringLiteral("Enabled")));
    ucDateTimePicker other;
    other.readProperties(bag);
    EXPECT_EQ(other.FirstDayOfWeek(), 1);
    EXPECT_TRUE(other.ShowNonMonthDays());
    EXPECT_TRUE(other.Enabled());
}

// The cells keep their pixel size; the day names must fit them in whatever font the
// system gives, with the long and the one-letter names and every first weekday.
TEST(DateTimePicker, EveryDayNameFitsItsCell) {
    Host h;
    CalendarPanel* panel = h.picker->panel();
    for (bool shortNames : {false, true})
        for (int first = 1; first <= 7; ++first) {
            h.picker->setShortDayNames(shortNames);
            h.picker->setFirstDayOfWeek(first);
            const QFontMetrics metrics(panel->dayNameFont());
            for (int column = 0; column < 7; ++column) {
                const QString name = h.picker->state().dayNames()[size_t(column)];
                EXPECT_LE(metrics.horizontalAdvance(name), panel->dayNameRect(column).width())
                    << name.toStdString() << " in a cell of " << CalendarPanel::CellWidth;
            }
        }
}

// The calendar is a window of its own: inside a modal dialog it must belong to the
// dialog, or the dialog's modality blocks every click on a day.
TEST(DateTimePicker, TheCalendarBelongsToAModalDialogThatHostsThePicker) {
    QDialog dialog;
    dialog.setModal(true);
    auto* picker = new ucDateTimePicker(&dialog);
    picker->initNewInstance();
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(picker);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    picker->OpenDropDown();
    ASSERT_TRUE(picker->isDropped());
    ASSERT_NE(picker->panel()->windowHandle(), nullptr);
    EXPECT_EQ(picker->panel()->windowHandle()->transientParent(), dialog.windowHandle());
    EXPECT_TRUE(dialog.windowHandle()->isAncestorOf(picker->panel()->windowHandle(),
                                                    QWindow::IncludeTransients));
    picker->CloseDropDown();
}
