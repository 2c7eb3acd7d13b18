#pragma once
#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <functional>

namespace picbasket {

// One of the 42 cells of the month grid (six weeks of seven days).
struct CalendarCell {
    QDate date;          // null for a blank cell
    bool inMonth = false; // a day of the month shown (black), else a neighbour day (grey)
    QString caption() const { return date.isValid() ? QString::number(date.day()) : QString(); }
};

// The colour scheme chosen from the look in force.
struct CalendarScheme {
    int currentTheme = 0; // 0 classic or unknown, 1 blue, 2 olive green, 3 silver
    uint32_t themeColor = 0x8000000Fu; // OLE colour
};

// The scheme for a style file name and colour name, compared in lower case by containment.
CalendarScheme calendarSchemeFor(const QString& styleFileName, const QString& colorName);

// What a key in the open calendar does when it reaches the drop button.
enum class CalendarKeyAction { None, Commit, Close, Today, MovedHighlight };

// The state of the date picker without any widget: the committed, highlighted and
// viewed dates, the first day of the week, the month grid and the month list.
// "Today" comes from a clock the tests can replace.
class CalendarState {
public:
    using Clock = std::function<QDate()>;
    using DateChangedHandler = std::function<void(const QDateTime& from, const QDateTime& to)>;

    CalendarState();

    void setClock(Clock clock) { clock_ = std::move(clock); }
    QDate today() const { return clock_ ? clock_() : QDate::currentDate(); }
    void onDateChanged(DateChangedHandler handler) { dateChanged_ = std::move(handler); }

    // The committed value. Setting it: the same value does nothing (returns false);
    // the zero date-time means today; another calendar day raises DateChanged
    // before it is stored; the same day at another time keeps the stored value.
    // Highlight and view always follow. Returns true when anything moved.
    QDateTime dateSelected() const { return selected_; }
    bool setDateSelected(const QDateTime& value);

    QDate highlightDate() const { return highlight_; }
    // Returns true when the highlight moved (the view follows it).
    bool setHighlightDate(const QDate& date);
    // The view is any day of the month shown; a null view reads as today.
    QDate viewDate() const { return view_.isValid() ? view_ : today(); }
    bool setViewDate(const QDate& date);

    // 0 = the system's first day, 1 = Sunday ... 7 = Saturday. Values outside 1..7
    // are taken modulo 7 (8 gives 1, 14 gives 0); negative values are normalised
    // into 0..6 the same way.
    int firstDayOfWeek() const { return firstDayOfWeek_; }
    bool setFirstDayOfWeek(int value);
    // The first day in force, 1 = Sunday ... 7 = Saturday (0 resolved through the system locale).
    int effectiveFirstDay() const;

    bool showNonMonthDays() const { return showNonMonthDays_; }
    void setShowNonMonthDays(bool show) { showNonMonthDays_ = show; }
    bool shortDayNames() const { return shortDayNames_; }
    void setShortDayNames(bool shortNames) { shortDayNames_ = shortNames; }

    // An empty format reads as "d mmm yyyy" and is stored so.
    QString descriptionFormat();
    void setDescriptionFormat(const QString& format) { descriptionFormat_ = format; }
    QString formattedSelected();
    QString formattedHighlight();
    QString title() const; // the view month, "mmmm yyyy"

    // The grid of the view month (or of month/year; 0 takes the view's). A month
    // outside 1..12 leaves the grid as it was and returns false.
    bool buildMonthGrid(int month = 0, int year = 0);
    const std::array<CalendarCell, 42>& cells() const { return cells_; }
    // The cell holding the highlight day, or -1.
    int highlightCell() const;
    // The cells showing today, or -1.
    int todayCell() const;
    // Day names in column order ("Sun".."Sat" or their first letters).
    std::array<QString, 7> dayNames() const;

    // Keys that reach the drop button while the panel is open (Qt key codes).
    CalendarKeyAction dropButtonKey(int key);
    // The Today action: the view shows today's month, the highlight stays.
    void showToday() { setViewDate(today()); }

    // The month list: seven months around a date, and the item last under the pointer.
    void fillMonthList(const QDate& around);
    const std::array<QDate, 7>& monthList() const { return monthList_; }
    int monthListIndex() const { return monthListIndex_; }
    // Opening the list clears the remembered item, so a plain click on the title
    // (no move over the list) changes nothing.
    void openMonthList(const QDate& around);
    // The item under a point y pixels below the list's top, items h pixels high
    // (floor; -1 outside the list). Stores it as the remembered item when inside.
    int trackMonthList(int y, int itemHeight);
    // One tick of the scrolling timer: earlier moves the list one month back.
    void scrollMonthList(bool earlier);
    // The release: the view moves to the remembered item, if any. Returns true when it did.
    bool releaseMonthList();

private:
    Clock clock_;
    DateChangedHandler dateChanged_;
    QDateTime selected_;
    QDate highlight_;
    QDate view_;
    int firstDayOfWeek_ = 0;
    bool showNonMonthDays_ = false;
    bool shortDayNames_ = false;
    QString descriptionFormat_;
    std::array<CalendarCell, 42> cells_{};
    std::array<QDate, 7> monthList_{};
    int monthListIndex_ = -1;
};

// The zero date-time (30 December 1899, 00:00), which selects today.
QDateTime zeroDateTime();
// The weekday in the runtime's numbering, 1 = Sunday ... 7 = Saturday.
int runtimeWeekday(const QDate& date);

} // namespace picbasket
