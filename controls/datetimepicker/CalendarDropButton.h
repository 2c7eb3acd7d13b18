#pragma once
#include <QWidget>

namespace picbasket {

class ucDateTimePicker;

// The drop button at the right end of the date field. It takes the keyboard focus
// while the panel is open (its keys steer the highlight) but tabbing passes over it.
class CalendarDropButton : public QWidget {
    Q_OBJECT
public:
    explicit CalendarDropButton(ucDateTimePicker* picker);
    // 1 normal, 2 hot, 3 pressed, 4 disabled.
    int buttonState() const { return state_; }
    void setButtonState(int state);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    ucDateTimePicker* picker_;
    int state_ = 1;
};

} // namespace picbasket
