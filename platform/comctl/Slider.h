#pragma once
#include <QSlider>

namespace picbasket {

// A horizontal slider with ticks below; Value stays inside Min..Max.
class Slider : public QSlider {
    Q_OBJECT

public:
    explicit Slider(QWidget* parent = nullptr);

    int Min() const { return minimum(); }
    void setMin(int value) { setMinimum(value); }
    int Max() const { return maximum(); }
    void setMax(int value) { setMaximum(value); }
    int Value() const { return value(); }
    void setValue(int value) { QSlider::setValue(value); }
    int TickFrequency() const { return tickInterval(); }
    void setTickFrequency(int value) { setTickInterval(value); }
};

} // namespace picbasket
