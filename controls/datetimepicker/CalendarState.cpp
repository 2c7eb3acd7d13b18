#include "controls/datetimepicker/CalendarState.h"
#include "core/DateFormat.h"

#include <QLocale>

namespace picbasket {

namespace {
const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const QString kDefaultFormat = QStringLiteral("d mmm yyyy");
} // namespace

QDateTime zeroDateTime() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

int runtimeWeekday(const QDate& date) { return date.dayOfWeek() % 7 + 1; }

CalendarScheme calendarSchemeFor(const QString& styleFileName, const QString& colorName) {
    const QString file = styleFileName.toLower();
    const QString color = colorName.toLower();
    if (!file.contains(QLatin1String("luna.msstyles")))
        return {};
    if (color.contains(QLatin1String("normalcolor")))
        return {1, 0x00F5BE9Eu}; // RGB(158, 190, 245)
    if (color.contains(QLatin1String("homestead")))
        return {2, 0x00A7D9D9u}; // RGB(217, 217, 167)
    if (color.contains(QLatin1String("metallic")))
        return {3, 0x00E5D7D7u}; // RGB(215, 215, 229)
    return {};
}

CalendarState::CalendarState() { selected_ = QDateTime(today(), QTime(0, 0)); }

bool CalendarState::setDateSelected(const QDateTime& value) {
    if (value == selected_)
        return false;
    QDateTime d = value;
    if (d == zeroDateTime())
        d = QDateTime(today(), QTime(0, 0));
    if (selected_.date().daysTo(d.date()) != 0) {
        if (dateChanged_)
            dateChanged_(selected_, d);
        selected_ = d;
    }
    setHighlightDate(d.date());
    setViewDate(d.date());
    buildMonthGrid();
    return true;
}

bool CalendarState::setHighlightDate(const QDate& date) {
    if (date == highlight_)
        return false;
    highlight_ = date;
    setViewDate(date);
    buildMonthGrid();
    return true;
}

bool CalendarState::setViewDate(const QDate& date) {
    if (date == view_)
        return false;
    view_ = date;
    buildMonthGrid();
    return true;
}

bool CalendarState::setFirstDayOfWeek(int value) {
    if (value == firstDayOfWeek_)
        return false;
    int n = value;
    if (n < 1 || n > 7)
        n = ((n % 7) + 7) % 7;
    firstDayOfWeek_ = n;
    buildMonthGrid();
    return true;
}

int CalendarState::effectiveFirstDay() const {
    if (firstDayOfWeek_ >= 1 && firstDayOfWeek_ <= 7)
        return firstDayOfWeek_;
    return int(QLocale::system().firstDayOfWeek()) % 7 + 1;
}

QString CalendarState::descriptionFormat() {
    if (descriptionFormat_.isEmpty())
        descriptionFormat_ = kDefaultFormat;
    return descriptionFormat_;
}

QString CalendarState::formattedSelected() { return formatDate(selected_, descriptionFormat()); }

QString CalendarState::formattedHighlight() {
    return formatDate(QDateTime(highlight_.isValid() ? highlight_ : QDate(1899, 12, 30), QTime(0, 0)),
                      descriptionFormat());
}

QString CalendarState::title() const { return formatDate(QDateTime(viewDate(), QTime(0, 0)), "mmmm yyyy"); }

bool CalendarState::buildMonthGrid(int month, int year) {
    const QDate view = viewDate();
    const int m = month == 0 ? view.month() : month;
    const int y = year == 0 ? view.year() : year;
    if (m < 1 || m > 12)
        return false;
    // Built from numbers, never from localised month names.
    const QDate first(y, m, 1);
    if (!first.isValid())
        return false;
    const int lead = (runtimeWeekday(first) - effectiveFirstDay() + 7) % 7;
    for (int i = 0; i < 42; ++i) {
        const QDate day = first.addDays(i - lead);
        const bool inMonth = day.month() == m && day.year() == y;
        cells_[size_t(i)] = CalendarCell{inMonth || showNonMonthDays_ ? day : QDate(), inMonth};
    }
    return true;
}

int CalendarState::highlightCell() const {
    for (int i = 0; i < 42; ++i)
        if (cells_[size_t(i)].date.isValid() && cells_[size_t(i)].date == highlight_)
            return i;
    return -1;
}

int CalendarState::todayCell() const {
    const QDate t = today();
    for (int i = 0; i < 42; ++i)
        if (cells_[size_t(i)].date == t)
            return i;
    return -1;
}

std::array<QString, 7> CalendarState::dayNames() const {
    std::array<QString, 7> names;
    const int first = effectiveFirstDay();
    for (int i = 0; i < 7; ++i) {
        const QString name = QString::fromLatin1(kShortDays[(first - 1 + i) % 7]);
        names[size_t(i)] = shortDayNames_ ? name.left(1) : name;
    }
    return names;
}

CalendarKeyAction CalendarState::dropButtonKey(int key) {
    const QDate h = highlight_.isValid() ? highlight_ : today();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: return CalendarKeyAction::Commit;
    case Qt::Key_Escape: return CalendarKeyAction::Close;
    case Qt::Key_PageUp: setHighlightDate(h.addMonths(-1)); return CalendarKeyAction::MovedHighlight;
    case Qt::Key_PageDown: setHighlightDate(h.addMonths(1)); return CalendarKeyAction::MovedHighlight;
    case Qt::Key_Left: setHighlightDate(h.addDays(-1)); return CalendarKeyAction::MovedHighlight;
    case Qt::Key_Right: setHighlightDate(h.addDays(1)); return CalendarKeyAction::MovedHighlight;
    case Qt::Key_Up: setHighlightDate(h.addDays(-7)); return CalendarKeyAction::MovedHighlight;
    case Qt::Key_Down: setHighlightDate(h.addDays(7)); return CalendarKeyAction::MovedHighlight;
    case Qt::Key_Home:
        setHighlightDate(today());
        showToday();
        return CalendarKeyAction::Today;
    default: return CalendarKeyAction::None;
    }
}

void CalendarState::fillMonthList(const QDate& around) {
    for (int k = -3; k <= 3; ++k)
        monthList_[size_t(k + 3)] = around.addMonths(k);
}

void CalendarState::openMonthList(const QDate& around) {
    fillMonthList(around);
    monthListIndex_ = -1;
}

int CalendarState::trackMonthList(int y, int itemHeight) {
    if (itemHeight <= 0 || y < 0)
        return -1;
    const int index = y / itemHeight;
    if (index > 6)
        return -1;
    monthListIndex_ = index;
    return index;
}

void CalendarState::scrollMonthList(bool earlier) {
    // A copy: the list is refilled around one of its own items.
    const QDate around = monthList_[earlier ? 2 : 4];
    fillMonthList(around);
}

bool CalendarState::releaseMonthList() {
    if (monthListIndex_ < 0 || monthListIndex_ > 6)
        return false;
    setViewDate(monthList_[size_t(monthListIndex_)]);
    return true;
}

} // namespace picbasket
