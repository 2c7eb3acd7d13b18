#include "platform/comctl/Slider.h"

namespace picbasket {

Slider::Slider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::TicksBelow);
    setRange(0, 10);
    setTickInterval(1);
}

} // namespace picbasket
