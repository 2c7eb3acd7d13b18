#include "editing/OptionControls.h"

#include "controls/common/modGenericFunctions.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace picbasket {

SpinBar::SpinBar(int minimum, int maximum, QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setRange(-maximum, -minimum);
    setSingleStep(1);
    setPageStep(10);
    setFixedSize(16, 22);
    setValue(0);
    connect(this, &QScrollBar::valueChanged, this, [this](int negated) { emit Change(-negated); });
}

void fncBindSlider(QSlider* slider, QLabel* label, QObject* context,
                   const std::function<void()>& changed) {
    slider->setTracking(false);
    label->setText(QString::number(slider->value()));
    QObject::connect(slider, &QSlider::sliderMoved, context,
                     [label](int value) { label->setText(QString::number(value)); });
    QObject::connect(slider, &QSlider::valueChanged, context, [label, changed](int value) {
        label->setText(QString::number(value));
        changed();
    });
}

namespace {

class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn)
            if (auto* box = qobject_cast<QLineEdit*>(watched))
                QMetaObject::invokeMethod(
                    box, [box] { subSelectAllText(box); }, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void subSelectAllOnFocus(QLineEdit* box) {
    box->installEventFilter(new SelectAllOnFocus(box));
}

void fncBindNumberBox(QLineEdit* box, const QString& defaultText, QObject* context,
                      const std::function<void()>& changed) {
    subMakeNumericTextBox(box);
    subSelectAllOnFocus(box);
    QObject::connect(box, &QLineEdit::textChanged, context, [box, defaultText, changed] {
        subTextDefaultIfEmpty(box, defaultText);
        changed();
    });
}

} // namespace picbasket
