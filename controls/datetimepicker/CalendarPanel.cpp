#include "controls/datetimepicker/CalendarPanel.h"
#include "controls/datetimepicker/ucDateTimePicker.h"
#include "core/OleColor.h"
#include "platform/theme/DrawTextFlags.h"
#include "platform/theme/ThemeData.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>
#include <QToolTip>
#include <algorithm>

namespace picbasket {

namespace {
const QColor kSelection(251, 230, 148);
} // namespace

CalendarPanel::CalendarPanel(ucDateTimePicker* picker)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      picker_(picker) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setFixedSize(PanelWidth, PanelHeight);
}

QRect CalendarPanel::cellRect(int index) const {
    const int row = index / 7, column = index % 7;
    return QRect(Left + column * (CellWidth + Gap), CellsTop + row * (CellHeight + Gap), CellWidth,
                 CellHeight);
}

QRect CalendarPanel::dayNameRect(int column) const {
    return QRect(Left + column * (CellWidth + Gap), DayNamesTop, CellWidth, CellHeight);
}

QRect CalendarPanel::titleRect() const {
    const int w = fontMetrics().horizontalAdvance(picker_->state().title()) + 4;
    return QRect((PanelWidth - w) / 2, 3, w, HeaderHeight - 6);
}

int CalendarPanel::cellAt(const QPoint& p) const {
    for (int i = 0; i < 42; ++i)
        if (cellRect(i).contains(p))
            return i;
    return -1;
}

void CalendarPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), oleToQColor(syscolor::Window, palette()));
    paintHeader(p);
    paintCells(p);
    CalendarState& s = picker_->state();
    p.setPen(Qt::black);
    p.drawText(descriptionRect(), Qt::AlignCenter, s.formattedHighlight());
    paintButton(p, okRect(), QStringLiteral("OK"), okState_);
    paintButton(p, todayRect(), QStringLiteral("Today"), todayState_);
    p.setPen(oleToQColor(picker_->themeColor(), palette()));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CalendarPanel::paintHeader(QPainter& p) {
    const QColor theme = oleToQColor(picker_->themeColor(), palette());
    p.fillRect(QRect(1, 1, PanelWidth - 2, HeaderHeight - 1), Qt::white);
    p.setPen(Qt::black);
    p.drawText(titleRect(), Qt::AlignCenter, picker_->state().title());
    const auto triangle = [&](const QRect& r, bool left) {
        QPainterPath path;
        const int tip = left ? r.left() + 2 : r.right() - 2;
        const int base = left ? r.right() - 2 : r.left() + 2;
        path.moveTo(tip, r.center().y());
        path.lineTo(base, r.top() + 2);
        path.lineTo(base, r.bottom() - 1);
        path.closeSubpath();
        p.fillPath(path, Qt::black);
    };
    triangle(leftArrowRect(), true);
    triangle(rightArrowRect(), false);
    p.fillRect(QRect(1, DayNamesTop, PanelWidth - 2, CellHeight), theme);
    const auto names = picker_->state().dayNames();
    p.save();
    p.setFont(dayNameFont());
    for (int i = 0; i < 7; ++i)
        p.drawText(dayNameRect(i), Qt::AlignCenter, names[size_t(i)]);
    p.restore();
}

QFont CalendarPanel::dayNameFont() const {
    constexpr int SmallestPixels = 6;
    QFont font = this->font();
    const auto names = picker_->state().dayNames();
    auto widest = [&names](const QFont& f) {
        const QFontMetrics metrics(f);
        int width = 0;
        for (const QString& name : names)
            width = std::max(width, metrics.horizontalAdvance(name));
        return width;
    };
    int pixels = QFontInfo(font).pixelSize();
    while (widest(font) > CellWidth - 1 && pixels > SmallestPixels) {
        font.setPixelSize(--pixels);
    }
    return font;
}

void CalendarPanel::paintCells(QPainter& p) {
    CalendarState& s = picker_->state();
    const QColor theme = oleToQColor(picker_->themeColor(), palette());
    const QDate today = s.today();
    for (int i = 0; i < 42; ++i) {
        const CalendarCell& cell = s.cells()[size_t(i)];
        const QRect r = cellRect(i);
        if (cell.date.isValid()) {
            if (cell.date == s.highlightDate())
                p.fillRect(r, kSelection);
            else if (cell.date == today)
                p.fillRect(r, theme);
        }
        p.setPen(cell.inMonth ? QColor(Qt::black) : oleToQColor(syscolor::GrayText, palette()));
        p.drawText(r, Qt::AlignCenter, cell.caption());
    }
    const int h = s.highlightCell();
    if (h >= 0) {
        p.setPen(Qt::black);
        p.drawRect(cellRect(h).adjusted(0, 0, -1, -1));
    }
}

void CalendarPanel::paintButton(QPainter& p, const QRect& r, const QString& caption, int state) {
    if (picker_->isThemed()) {
        if (auto theme = ThemeData::open(this, QStringLiteral("BUTTON"))) {
            theme->drawBackground(p, bp::PushButton, state, r);
            theme->drawText(p, bp::PushButton, state, caption, dt::Center | dt::VCenter | dt::SingleLine,
                           theme->contentRect(bp::PushButton, state, r));
        }
        return;
    }
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = r;
    option.text = caption;
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_HasFocus);
    if (state == 3)
        option.state |= QStyle::State_Sunken;
    style()->drawControl(QStyle::CE_PushButton, &option, &p, this);
}

bool CalendarPanel::wantsHand(const QPoint& pos) const {
    if (pos.y() < HeaderHeight)
        return pos.x() <= leftArrowRect().right() + 10 || pos.x() >= rightArrowRect().left() - 10 ||
               titleRect().contains(pos);
    const int cell = cellAt(pos);
    if (cell >= 0)
        return picker_->state().cells()[size_t(cell)].date.isValid();
    return descriptionRect().contains(pos) || okRect().contains(pos) || todayRect().contains(pos);
}

void CalendarPanel::updateButtonStates(const QPoint& pos, bool held) {
    const int ok = okRect().contains(pos) ? (held ? 3 : 2) : 1;
    const int today = todayRect().contains(pos) ? (held ? 3 : 2) : 1;
    if (ok != okState_ || today != todayState_) {
        okState_ = ok;
        todayState_ = today;
        update();
    }
}

void CalendarPanel::mousePressEvent(QMouseEvent* event) {
    if (!picker_->Enabled())
        return;
    const QPoint pos = event->position().toPoint();
    CalendarState& s = picker_->state();
    updateButtonStates(pos, event->buttons() & Qt::LeftButton);
    if (event->button() != Qt::LeftButton)
        return;
    if (pos.y() < HeaderHeight) {
        const QRect title = titleRect();
        if (title.contains(pos) || (pos.x() >= title.left() && pos.x() <= title.right())) {
            titleHeld_ = true;
            picker_->showMonthListAt(mapToGlobal(QPoint(title.left(), HeaderHeight)));
        } else if (pos.x() < title.left()) {
            s.setViewDate(s.viewDate().addMonths(-1));
        } else {
            s.setViewDate(s.viewDate().addMonths(1));
        }
        update();
        return;
    }
    const int cell = cellAt(pos);
    if (cell >= 0 && s.cells()[size_t(cell)].date.isValid()) {
        s.setHighlightDate(s.cells()[size_t(cell)].date);
        update();
    } else if (descriptionRect().contains(pos)) {
        s.setViewDate(s.highlightDate());
        update();
    }
}

void CalendarPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (titleHeld_ && picker_->isMonthListShown()) {
        picker_->trackMonthList(event->globalPosition().toPoint());
        setCursor(picker_->UseHandCursor() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return;
    }
    setCursor(picker_->UseHandCursor() && wantsHand(pos) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    updateButtonStates(pos, event->buttons() & Qt::LeftButton);
}

void CalendarPanel::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (titleHeld_) {
        titleHeld_ = false;
        picker_->releaseMonthList();
        update();
        return;
    }
    if (event->button() != Qt::LeftButton || !picker_->Enabled())
        return;
    const bool onOk = okState_ == 3 && okRect().contains(pos);
    const bool onToday = todayState_ == 3 && todayRect().contains(pos);
    updateButtonStates(pos, false);
    if (onOk)
        picker_->CommitHighlight();
    else if (onToday) {
        picker_->state().showToday();
        update();
    }
}

void CalendarPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    const int cell = cellAt(event->position().toPoint());
    if (picker_->Enabled() && cell >= 0 && picker_->state().cells()[size_t(cell)].date.isValid())
        picker_->CommitHighlight();
}

void CalendarPanel::leaveEvent(QEvent*) {
    if (okState_ != 1 || todayState_ != 1) {
        okState_ = todayState_ = 1;
        update();
    }
}

bool CalendarPanel::event(QEvent* event) {
    // Each day cell shows its date as its tool tip; blank cells have none.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int cell = cellAt(help->pos());
        if (cell >= 0 && picker_->state().cells()[size_t(cell)].date.isValid())
            QToolTip::showText(help->globalPos(),
                               picker_->state().cells()[size_t(cell)].date.toString(Qt::ISODate), this);
        else if (descriptionRect().contains(help->pos()))
            QToolTip::showText(help->globalPos(),
                               QStringLiteral("The currently highlighted date. Press OK to select this date."), this);
        else if (okRect().contains(help->pos()))
            QToolTip::showText(help->globalPos(), QStringLiteral("Confirm your selection"), this);
        else if (todayRect().contains(help->pos()))
            QToolTip::showText(help->globalPos(), QStringLiteral("Show today"), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace picbasket
