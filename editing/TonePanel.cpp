#include "editing/TonePanel.h"

#include "editing/OptionControls.h"
#include "editing/PanelLayout.h"
#include "platform/comctl/Slider.h"

#include <QCheckBox>
#include <QLabel>

namespace picbasket {

TonePanel::TonePanel(QWidget* panel_, const Layout& layout) : QObject(panel_), panel(panel_) {
    QVBoxLayout* stack = panel::stack(panel);
    slider = new Slider(panel);
    slider->setMin(layout.minimum);
    slider->setMax(layout.maximum);
    slider->setValue(layout.value);
    slider->setTickFrequency(layout.maximum - layout.minimum > 20 ? 10 : 1);
    slider->setPageStep(layout.maximum - layout.minimum > 20 ? 10 : 1);
    stack->addWidget(slider);
    QHBoxLayout* valueRow = panel::row(stack);
    valueRow->addWidget(new QLabel(QStringLiteral("Value:"), panel));
    lblValue = new QLabel(panel);
    valueRow->addWidget(lblValue, 1);
    fncBindSlider(slider, lblValue, this, [this] { emit optionsChanged(); });
    if (layout.channels) {
        QHBoxLayout* channelRow = panel::row(stack);
        const char* names[] = {"Red", "Green", "Blue"};
        for (size_t i = 0; i < 3; ++i) {
            channels_[i] = new QCheckBox(QString::fromLatin1(names[i]), panel);
            channels_[i]->setChecked(true);
            channelRow->addWidget(channels_[i]);
            connect(channels_[i], &QCheckBox::toggled, this, [this] { emit optionsChanged(); });
        }
        channelRow->addStretch(1);
    }
    panel::fit(panel);
}

int TonePanel::value() const {
    return slider->Value();
}

void TonePanel::setValue(int value) {
    slider->setValue(value);
}

void TonePanel::load(int level, const std::array<uint8_t, 3>& channels) {
    setValue(level);
    lblValue->setText(QString::number(value()));
    for (size_t i = 0; i < 3 && channels_[0]; ++i)
        channels_[i]->setChecked(channels[i] != 0);
}

} // namespace picbasket
