#include "controls/datetimepicker/CalendarMonthList.h"
#include "controls/datetimepicker/ucDateTimePicker.h"
#include "core/DateFormat.h"
#include "core/OleColor.h"

#include <QPainter>

namespace picbasket {

CalendarMonthList::CalendarMonthList(ucDateTimePicker* picker)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      picker_(picker) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFont(picker->font());
    resize(fontMetrics().horizontalAdvance(QStringLiteral("September 0000")) + 12, 7 * itemHeight());
}

int CalendarMonthList::itemHeight() const { return fontMetrics().height() + 2; }

void CalendarMonthList::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), oleToQColor(syscolor::Window, palette()));
    const int h = itemHeight();
    const auto& months = picker_->state().monthList();
    for (int i = 0; i < 7; ++i) {
        const QRect r(0, i * h, width(), h);
        const bool hot = i == picker_->state().monthListIndex();
        if (hot)
            p.fillRect(r, Qt::black);
        p.setPen(hot ? Qt::white : Qt::black);
        const QDateTime when(months[size_t(i)], QTime(0, 0));
        p.drawText(r, Qt::AlignCenter, formatDate(when, QStringLiteral("mmmm yyyy")));
    }
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace picbasket
