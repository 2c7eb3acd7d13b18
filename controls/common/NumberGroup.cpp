#include "controls/common/NumberGroup.h"

#include "controls/common/modGenericFunctions.h"

#include <QEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <utility>

namespace picbasket {

NumberGroup::NumberGroup(QSlider* slider, QLineEdit* box, QScrollBar* spin, const Range& range,
                         std::function<int()> stored, QObject* parent)
    : QObject(parent), slider_(slider), box_(box), spin_(spin), range_(range),
      stored_(std::move(stored)) {
    slider_->setRange(range.minimum, range.maximum);
    slider_->setPageStep(range.largeStep);
    slider_->setSingleStep(range.smallStep);
    spin_->setOrientation(Qt::Vertical);
    // A scroll bar's upper arrow lowers its value, so the spin holds the negated
    // number: the maximum sits at the top and the upper arrow raises the value.
    spin_->setRange(-range.maximum, -range.minimum);
    spin_->setPageStep(range.spinLargeStep);
    spin_->setSingleStep(range.smallStep);
    box_->setMaxLength(range.maxDigits);
    subMakeNumericTextBox(box_);
    box_->installEventFilter(this);
    connect(slider_, &QSlider::valueChanged, this, &NumberGroup::sliderChanged);
    connect(spin_, &QScrollBar::valueChanged, this, &NumberGroup::spinChanged);
    connect(box_, &QLineEdit::textChanged, this, &NumberGroup::boxEdited);
}

int NumberGroup::value() const {
    return slider_->value();
}

int NumberGroup::spinValue() const {
    return -spin_->value();
}

void NumberGroup::setValue(int value) {
    slider_->setValue(value);
    box_->setText(QString::number(slider_->value()));
    spin_->setValue(-slider_->value());
}

void NumberGroup::sliderChanged(int value) {
    box_->setText(QString::number(value));
    spin_->setValue(-value);
    emit valueChanged(value);
}

void NumberGroup::spinChanged(int negated) {
    const int value = -negated;
    box_->setText(QString::number(value));
    slider_->setValue(value);
}

void NumberGroup::boxEdited(const QString& text) {
    if (text.isEmpty() && stored_)
        subTextDefaultIfEmpty(box_, QString::number(stored_()));
}

void NumberGroup::boxLeft() {
    subClampTextValue(box_, int16_t(range_.minimum), int16_t(range_.maximum));
    bool ok = false;
    const int number = box_->text().toInt(&ok);
    if (!ok)
        return;
    spin_->setValue(-number);
    slider_->setValue(number);
}

bool NumberGroup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_) {
        if (event->type() == QEvent::FocusIn) {
            // After the line edit's own focus handling, which may place the cursor.
            QTimer::singleShot(0, box_, [box = box_] { subSelectAllText(box); });
        } else if (event->type() == QEvent::FocusOut) {
            boxLeft();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace picbasket
