#include "controls/datetimepicker/CalendarDropButton.h"
#include "controls/datetimepicker/ucDateTimePicker.h"
#include "platform/theme/ThemeData.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace picbasket {

CalendarDropButton::CalendarDropButton(ucDateTimePicker* picker) : QWidget(picker), picker_(picker) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void CalendarDropButton::setButtonState(int state) {
    if (state == state_)
        return;
    state_ = state;
    update();
}

void CalendarDropButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Themed: the combo box's drop-button part over the parent's background.
    if (picker_->isThemed()) {
        if (auto theme = ThemeData::open(this, QStringLiteral("COMBOBOX"))) {
            drawThemeParentBackground(this, p, rect());
            theme->drawBackground(p, cp::DropDownButton, state_ == 0 ? 1 : state_, rect());
        }
        return;
    }
    // Classic: a push button with a down arrow.
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = rect();
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_Sunken);
    if (state_ == 3)
        option.state |= QStyle::State_Sunken;
    if (state_ == 4)
        option.state &= ~QStyle::State_Enabled;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
    QStyleOption arrow(option);
    arrow.rect = rect().adjusted(4, 5, -4, -5);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &p, this);
}

void CalendarDropButton::mousePressEvent(QMouseEvent* event) {
    if (!picker_->Enabled() || event->button() != Qt::LeftButton)
        return;
    setButtonState(3);
    if (picker_->isDropped()) {
        picker_->CloseDropDown();
        picker_->textBox()->setFocus(Qt::OtherFocusReason);
    } else {
        picker_->OpenDropDown();
    }
}

void CalendarDropButton::mouseMoveEvent(QMouseEvent* event) {
    if (picker_->Enabled())
        setButtonState((event->buttons() & Qt::LeftButton) ? 3 : 2);
}

void CalendarDropButton::mouseReleaseEvent(QMouseEvent*) {
    if (picker_->Enabled())
        setButtonState(2);
}

void CalendarDropButton::leaveEvent(QEvent*) {
    if (picker_->Enabled())
        setButtonState(1);
}

void CalendarDropButton::keyPressEvent(QKeyEvent* event) {
    if (!picker_->Enabled())
        return;
    if (!picker_->isDropped()) {
        picker_->OpenDropDown();
        return;
    }
    switch (picker_->state().dropButtonKey(event->key())) {
    case CalendarKeyAction::Commit: picker_->CommitHighlight(); break;
    case CalendarKeyAction::Close:
        picker_->CloseDropDown();
        picker_->textBox()->setFocus(Qt::OtherFocusReason);
        break;
    case CalendarKeyAction::Today:
    case CalendarKeyAction::MovedHighlight: picker_->refreshPanel(); break;
    case CalendarKeyAction::None: break;
    }
}

void CalendarDropButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // Tabbing passes over the drop button, forwards and backwards alike.
    if (picker_->isDropped() || (QApplication::mouseButtons() & Qt::LeftButton))
        return;
    if (event->reason() == Qt::TabFocusReason)
        focusNextPrevChild(true);
    else if (event->reason() == Qt::BacktabFocusReason)
        focusNextPrevChild(false);
}

} // namespace picbasket
