#pragma once
#include <QScrollBar>
#include <functional>

class QLabel;
class QLineEdit;
class QSlider;

namespace picbasket {

// A small vertical spin beside a number box. A scroll bar's upper arrow lowers its
// value, so the bar holds the negated number and its upper arrow raises the value.
class SpinBar : public QScrollBar {
    Q_OBJECT
public:
    SpinBar(int minimum, int maximum, QWidget* parent = nullptr);
    int Value() const { return -value(); }
    void setSpinValue(int number) { setValue(-number); }

Q_SIGNALS:
    // The number changed, by the user or by code.
    void Change(int number);
};

// An option slider and its value label. The slider reports only where the thumb is
// let go (no tracking): dragging writes the label, a change of the value writes it
// and calls `changed`.
void fncBindSlider(QSlider* slider, QLabel* label, QObject* context,
                   const std::function<void()>& changed);

// The box's whole text is selected whenever it gets the focus.
void subSelectAllOnFocus(QLineEdit* box);

// A digits-only option box: the whole text selected on focus, the default text back
// (selected) when emptied, then `changed`.
void fncBindNumberBox(QLineEdit* box, const QString& defaultText, QObject* context,
                      const std::function<void()>& changed);

} // namespace picbasket
