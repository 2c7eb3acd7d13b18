#include "platform/comctl/ProgressBar.h"

#include <algorithm>

namespace picbasket {

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    QProgressBar::setValue(0);
    setTextVisible(false);
}

void ProgressBar::setMin(int value) {
    setRange(value, std::max(value, maximum()));
}

void ProgressBar::setMax(int value) {
    setRange(std::min(value, minimum()), value);
}

void ProgressBar::setValue(int value) {
    QProgressBar::setValue(std::clamp(value, minimum(), maximum()));
}

void ProgressBar::mousePressEvent(QMouseEvent* event) {
    QProgressBar::mousePressEvent(event);
    emit MouseDown();
}

} // namespace picbasket
