#include "editing/ShadowPanel.h"

#include "editing/PanelLayout.h"
#include "editing/PictureOptions.h"

namespace picbasket {

ShadowPanel::ShadowPanel(QWidget* panel_) : QObject(panel_), panel(panel_) {
    QVBoxLayout* stack = panel::stack(panel);
    OptShadow =
        new PictureOptions(fncShadowOptionPictures(QSize(40, 32)), 4, QSize(46, 38), panel);
    stack->addWidget(OptShadow);
    connect(OptShadow, &PictureOptions::Click, this, [this](int index) {
        emit shadowClicked(index);
        emit optionsChanged();
    });
    panel::fit(panel);
}

} // namespace picbasket
