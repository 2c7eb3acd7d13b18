#include "controls/datetimepicker/CalendarState.h"

#include <QDebug>
#include <gtest/gtest.h>
#include <vector>

using namespace picbasket;

namespace {

struct Fixture {
    CalendarState state;
    std::vector<std::pair<QDateTime, QDateTime>> events;
    explicit Fixture(QDate today = QDate(2024, 7, 3)) {
        state.setClock([today] { return today; });
        state.onDateChanged([this](const QDateTime& a, const QDateTime& b) { events.emplace_back(a, b); });
        state.setDateSelected(QDateTime(today, QTime(0, 0)));
        events.clear();
    }
};

} // namespace

TEST(CalendarStateTest, DateSelectedRules) {
    Fixture f;
    const QDateTime start = f.state.dateSelected();
    EXPECT_FALSE(f.state.setDateSelected(start));
    EXPECT_TRUE(f.events.empty());

    // The same day at another time: no event, stored value kept, highlight and view move.
    f.state.setViewDate(QDate(2020, 1, 1));
    EXPECT_TRUE(f.state.setDateSelected(QDateTime(start.date(), QTime(15, 30))));
    EXPECT_TRUE(f.events.empty());
    EXPECT_EQ(f.state.dateSelected(), start);
    EXPECT_EQ(f.state.viewDate(), start.date());

    // Another day: the event carries from and to, before the value is stored.
    const QDateTime next(QDate(2024, 8, 1), QTime(0, 0));
    f.state.onDateChanged([&](const QDateTime& a, const QDateTime& b) {
        EXPECT_EQ(f.state.dateSelected(), a);
        f.events.emplace_back(a, b);
    });
    f.state.setDateSelected(next);
    ASSERT_EQ(f.events.size(), 1u);
    EXPECT_EQ(f.events[0].first, start);
    EXPECT_EQ(f.events[0].second, next);
    EXPECT_EQ(f.state.dateSelected(), next);
    EXPECT_EQ(f.state.highlightDate(), next.date());

    // The zero date-time selects today, with an event since the day differs.
    f.state.setDateSelected(zeroDateTime());
    ASSERT_EQ(f.events.size(), 2u);
    EXPECT_EQ(f.state.dateSelected().date(), QDate(2024, 7, 3));
}

TEST(CalendarStateTest, FirstDayOfWeekIsNormalised) {
    const struct { int in, stored; } rows[] = {{8, 1}, {0, 0}, {14, 0}, {7, 7}, {1, 1}, {-1, 6}, {-7, 0}, {9, 2}};
    for (const auto& r : rows) {
        CalendarState s;
        s.setFirstDayOfWeek(3);
        s.setFirstDayOfWeek(r.in);
        EXPECT_EQ(s.firstDayOfWeek(), r.stored) << r.in;
    }
}

TEST(CalendarStateTest, MonthGrids) {
    // May 2005 begins on a Sunday; March 2005 on a Tuesday.
    const struct { int firstDay; QDate month; int cellOfDayOne; QDate cell0; } rows[] = {
        {1, QDate(2005, 5, 10), 0, QDate(2005, 5, 1)},
        {2, QDate(2005, 3, 10), 1, QDate(2005, 2, 28)},
        {2, QDate(2005, 5, 10), 6, QDate(2005, 4, 25)},
        {7, QDate(2005, 3, 10), 3, QDate(2005, 2, 26)},
    };
    for (const auto& r : rows) {
        CalendarState s;
        s.setShowNonMonthDays(true);
        s.setFirstDayOfWeek(r.firstDay);
        s.setViewDate(r.month);
        s.buildMonthGrid();
        EXPECT_EQ(s.cells()[size_t(r.cellOfDayOne)].date, QDate(r.month.year(), r.month.month(), 1)) << r.firstDay;
        EXPECT_TRUE(s.cells()[size_t(r.cellOfDayOne)].inMonth);
        EXPECT_EQ(s.cells()[0].date, r.cell0);
        EXPECT_EQ(s.cells()[0].inMonth, r.cellOfDayOne == 0);
    }
}

TEST(CalendarStateTest, NonMonthDaysShownOrBlank) {
    CalendarState s;
    s.setFirstDayOfWeek(2);
    s.setViewDate(QDate(2005, 3, 15));
    s.setShowNonMonthDays(false);
    s.buildMonthGrid();
    EXPECT_FALSE(s.cells()[0].date.isValid());
    EXPECT_EQ(s.cells()[0].caption(), QString());
    EXPECT_EQ(s.cells()[31].date, QDate(2005, 3, 31));
    EXPECT_FALSE(s.cells()[32].date.isValid());
    s.setShowNonMonthDays(true);
    s.buildMonthGrid();
    EXPECT_EQ(s.cells()[32].date, QDate(2005, 4, 1));
    EXPECT_EQ(s.cells()[32].caption(), QStringLiteral("1"));
    EXPECT_FALSE(s.cells()[32].inMonth);
    EXPECT_FALSE(s.buildMonthGrid(13, 2005));
    EXPECT_EQ(s.cells()[32].date, QDate(2005, 4, 1));
}

TEST(CalendarStateTest, KeysMoveTheHighlight) {
    const struct { const char* name; QDate from; int key; QDate to; } rows[] = {
        {"left on the first", QDate(2005, 3, 1), Qt::Key_Left, QDate(2005, 2, 28)},
        {"page down 2005", QDate(2005, 1, 31), Qt::Key_PageDown, QDate(2005, 2, 28)},
        {"page down 2004", QDate(2004, 1, 31), Qt::Key_PageDown, QDate(2004, 2, 29)},
        {"page up", QDate(2004, 3, 31), Qt::Key_PageUp, QDate(2004, 2, 29)},
        {"up a week", QDate(2005, 3, 3), Qt::Key_Up, QDate(2005, 2, 24)},
        {"down a week", QDate(2005, 3, 30), Qt::Key_Down, QDate(2005, 4, 6)},
        {"home", QDate(2001, 5, 5), Qt::Key_Home, QDate(2024, 7, 3)},
    };
    for (const auto& r : rows) {
        Fixture f;
        f.state.setHighlightDate(r.from);
        f.state.dropButtonKey(r.key);
        EXPECT_EQ(f.state.highlightDate(), r.to) << r.name;
        EXPECT_EQ(f.state.viewDate().month(), r.to.month()) << r.name;
        EXPECT_TRUE(f.events.empty()) << r.name;
    }
    Fixture f;
    EXPECT_EQ(f.state.dropButtonKey(Qt::Key_Return), CalendarKeyAction::Commit);
    EXPECT_EQ(f.state.dropButtonKey(Qt::Key_Escape), CalendarKeyAction::Close);
    EXPECT_EQ(f.state.dropButtonKey(Qt::Key_End), CalendarKeyAction::None);
}

TEST(CalendarStateTest, TodayShowsTheMonthAndKeepsTheHighlight) {
    Fixture f;
    f.state.setHighlightDate(QDate(2001, 5, 5));
    f.state.showToday();
    EXPECT_EQ(f.state.highlightDate(), QDate(2001, 5, 5));
    EXPECT_EQ(f.state.viewDate(), QDate(2024, 7, 3));
    EXPECT_GE(f.state.todayCell(), 0);
    EXPECT_EQ(f.state.highlightCell(), -1);
}

TEST(CalendarStateTest, MonthList) {
    CalendarState s;
    s.setViewDate(QDate(2005, 3, 31));
    s.openMonthList(s.viewDate());
    EXPECT_EQ(s.monthList()[0], QDate(2004, 12, 31));
    EXPECT_EQ(s.monthList()[4], QDate(2005, 4, 30));
    // A release without any move over the list changes nothing.
    EXPECT_FALSE(s.releaseMonthList());
    EXPECT_EQ(s.viewDate(), QDate(2005, 3, 31));
    // The item under the pointer is found by floor: 29 pixels into 15-pixel items is item 1.
    EXPECT_EQ(s.trackMonthList(29, 15), 1);
    EXPECT_EQ(s.trackMonthList(200, 15), -1);
    EXPECT_EQ(s.monthListIndex(), 1);
    s.scrollMonthList(false);
    EXPECT_EQ(s.monthList()[3], QDate(2005, 4, 30));
    s.scrollMonthList(true);
    s.scrollMonthList(true);
    EXPECT_EQ(s.monthList()[3].month(), 2);
    EXPECT_TRUE(s.releaseMonthList());
    EXPECT_EQ(s.viewDate().month(), 12);
    // Opening again forgets the last item.
    s.openMonthList(s.viewDate());
    EXPECT_EQ(s.monthListIndex(), -1);
}

TEST(CalendarStateTest, SchemesAndFormats) {
    const struct { const char* file; const char* color; int theme; uint32_t colour; } rows[] = {
        {"C:\\x\\Luna.msstyles", "NormalColor", 1, 0x00F5BE9E},
        {"luna.msstyles", "HomeStead", 2, 0x00A7D9D9},
        {"luna.msstyles", "Metallic", 3, 0x00E5D7D7},
        {"royale.msstyles", "NormalColor", 0, 0x8000000F},
        {"", "", 0, 0x8000000F},
    };
    for (const auto& r : rows) {
        const CalendarScheme s = calendarSchemeFor(QString::fromLatin1(r.file), QString::fromLatin1(r.color));
        EXPECT_EQ(s.currentTheme, r.theme) << r.file << r.color;
        EXPECT_EQ(s.themeColor, r.colour) << r.file << r.color;
    }
    CalendarState st;
    st.setDescriptionFormat(QString());
    EXPECT_EQ(st.descriptionFormat(), QStringLiteral("d mmm yyyy"));
    st.setFirstDayOfWeek(2);
    st.setShortDayNames(true);
    EXPECT_EQ(st.dayNames()[0], QStringLiteral("M"));
    st.setShortDayNames(false);
    EXPECT_EQ(st.dayNames()[6], QStringLiteral("Sun"));
}
