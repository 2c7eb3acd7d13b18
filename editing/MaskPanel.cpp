#include "editing/MaskPanel.h"

#include "core/setup/typTaskDefaults.h"
#include "editing/EffectTasks.h"
#include "editing/OptionControls.h"
#include "editing/PanelLayout.h"
#include "editing/PictureOptions.h"
#include "platform/comctl/Slider.h"

#include <QCheckBox>
#include <QLabel>

namespace picbasket {

MaskPanel::MaskPanel(QWidget* panel_) : QObject(panel_), panel(panel_) {
    QVBoxLayout* stack = panel::stack(panel);
    OptMask = new PictureOptions(fncMaskOptionPictures(QSize(40, 32)), 4, QSize(46, 38), panel);
    stack->addWidget(OptMask);
    chkMaskTransparent = new QCheckBox(QStringLiteral("Transparent"), panel);
    chkMaskTransparent->setChecked(true);
    stack->addWidget(chkMaskTransparent);
    QHBoxLayout* level = panel::row(stack);
    level->addWidget(new QLabel(QStringLiteral("Level:"), panel));
    lblMask = new QLabel(panel);
    level->addWidget(lblMask, 1);
    sldMask = new Slider(panel);
    sldMask->setMin(0);
    sldMask->setMax(100);
    sldMask->setValue(50);
    sldMask->setTickFrequency(10);
    sldMask->setPageStep(10);
    stack->addWidget(sldMask);
    fncBindSlider(sldMask, lblMask, this, [this] { emit optionsChanged(); });
    connect(OptMask, &PictureOptions::Click, this, [this](int index) {
        emit maskClicked(index);
        emit optionsChanged();
    });
    connect(chkMaskTransparent, &QCheckBox::toggled, this, [this] { emit optionsChanged(); });
    panel::fit(panel);
}

void MaskPanel::load(const typMaskTask& d) {
    sldMask->setValue(d.Level);
    chkMaskTransparent->setChecked(d.Transparent != 0);
    OptMask->select(d.Style);
}

void MaskPanel::store(typMaskTask& d) const {
    d.Transparent = chkMaskTransparent->isChecked() ? 1 : 0;
    d.Level = int16_t(sldMask->Value());
}

MaskOptions MaskPanel::options(int style) const {
    return {chkMaskTransparent->isChecked(), sldMask->Value(), style};
}

} // namespace picbasket
