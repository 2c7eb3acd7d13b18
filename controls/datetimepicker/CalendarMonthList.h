#pragma once
#include <QWidget>

namespace picbasket {

class ucDateTimePicker;

// The list of seven months that drops over the month title while the mouse button
// is held on it; the item under the pointer shows white on black.
class CalendarMonthList : public QWidget {
    Q_OBJECT
public:
    explicit CalendarMonthList(ucDateTimePicker* picker);
    int itemHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ucDateTimePicker* picker_;
};

} // namespace picbasket
