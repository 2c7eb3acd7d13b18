#include "editing/ColorButton.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace picbasket {

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void ColorButton::setBackColor(OleColor color) {
    color_ = color;
    update();
}

void ColorButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(4, 4, -5, -5);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(oleToQColor(color_, palette()));
    painter.drawRect(swatch);
}

} // namespace picbasket
