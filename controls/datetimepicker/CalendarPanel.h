#pragma once
#include <QRect>
#include <QWidget>

namespace picbasket {

class ucDateTimePicker;

// The calendar panel of the date picker: a frameless tool window that never takes
// the keyboard focus (it stays in the field), painted in paintEvent from the
// picker's state. Geometry in pixels:
//
//   0 +-----------------------------+
//     | <         title           > |  header (white), arrows 11 x 13
//  24 | day names (theme colour)    |
//  41 | 6 rows x 7 cells, 22 x 15,  |  2-pixel gaps
//     | first column 5 px from left |
// 145 | description of the highlight|
// 164 |              [ OK ][Today]  |
//     +-----------------------------+
class CalendarPanel : public QWidget {
    Q_OBJECT
public:
    explicit CalendarPanel(ucDateTimePicker* picker);

    static constexpr int CellWidth = 22, CellHeight = 15, Gap = 2, Left = 5;
    static constexpr int HeaderHeight = 22, DayNamesTop = 24, CellsTop = 41;
    static constexpr int DescriptionTop = 145, ButtonsTop = 164, ButtonHeight = 23;
    static constexpr int PanelWidth = Left * 2 + 7 * CellWidth + 6 * Gap;
    static constexpr int PanelHeight = ButtonsTop + ButtonHeight + 5;

    QRect cellRect(int index) const;
    QRect dayNameRect(int column) const;
    QRect leftArrowRect() const { return QRect(6, 5, 11, 13); }
    QRect rightArrowRect() const { return QRect(PanelWidth - 6 - 11, 5, 11, 13); }
    QRect titleRect() const;
    QRect descriptionRect() const { return QRect(Left, DescriptionTop, PanelWidth - 2 * Left, 15); }
    QRect okRect() const { return QRect(PanelWidth - Left - 2 * 52 - 4, ButtonsTop, 52, ButtonHeight); }
    QRect todayRect() const { return QRect(PanelWidth - Left - 52, ButtonsTop, 52, ButtonHeight); }
    int cellAt(const QPoint& p) const;
    // The panel's font, made smaller where needed so that every day name fits its
    // cell (the cells keep their size whatever the system font).
    QFont dayNameFont() const;

    // 1 normal, 2 hot, 3 pressed.
    int okState() const { return okState_; }
    int todayState() const { return todayState_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void paintHeader(QPainter& p);
    void paintCells(QPainter& p);
    void paintButton(QPainter& p, const QRect& r, const QString& caption, int state);
    void updateButtonStates(const QPoint& pos, bool held);
    bool wantsHand(const QPoint& pos) const;

    ucDateTimePicker* picker_;
    int okState_ = 1;
    int todayState_ = 1;
    bool titleHeld_ = false;
};

} // namespace picbasket
