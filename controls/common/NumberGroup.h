#pragma once
#include <QObject>
#include <functional>

class QLineEdit;
class QScrollBar;
class QSlider;

namespace picbasket {

// One number shown three ways and kept in step: a slider, a digits-only text box
// and a small spin (a vertical scroll bar whose upper arrow raises the value).
//
//   slider moved or changed  -> box text and spin; valueChanged(slider value)
//   spin changed             -> box text and slider (the slider then reports)
//   box focused              -> whole text selected
//   box emptied              -> the stored value comes back, selected
//   box left                 -> clamped to the slider's range, then slider and spin
//
// The group binds widgets the dialog made and placed; the slider's range, steps and
// the box's length are set here. `stored` gives the value the box falls back to
// (the option as it was last stored).
class NumberGroup : public QObject {
    Q_OBJECT

public:
    struct Range {
        int minimum;
        int maximum;
        int largeStep;
        int smallStep;
        int spinLargeStep;
        int maxDigits;
    };

    NumberGroup(QSlider* slider, QLineEdit* box, QScrollBar* spin, const Range& range,
                std::function<int()> stored, QObject* parent = nullptr);

    int value() const;
    // The spin's number as it shows it.
    int spinValue() const;
    // Puts the value into all three (the slider reports it like a user's change).
    void setValue(int value);

    QSlider* slider() const { return slider_; }
    QLineEdit* box() const { return box_; }
    QScrollBar* spin() const { return spin_; }

signals:
    // The slider's value changed, by whatever means.
    void valueChanged(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sliderChanged(int value);
    void spinChanged(int negated);
    void boxEdited(const QString& text);
    void boxLeft();

    QSlider* slider_;
    QLineEdit* box_;
    QScrollBar* spin_;
    Range range_;
    std::function<int()> stored_;
};

} // namespace picbasket
