#include "editing/RedEyePanel.h"

#include "editing/PanelLayout.h"

#include <QLabel>
#include <QPushButton>

namespace picbasket {

RedEyePanel::RedEyePanel(QWidget* panel_) : QObject(panel_), panel(panel_) {
    QVBoxLayout* stack = panel::stack(panel);
    auto* hint = new QLabel(QStringLiteral("Click the button below to activate the Red-Eye "
                                           "selection tool and select the eye region from the "
                                           "preview."),
                            panel);
    hint->setWordWrap(true);
    hint->setMinimumHeight(4 * hint->fontMetrics().lineSpacing() + 2);
    stack->addWidget(hint);
    chkRedEye = new QPushButton(QStringLiteral("Select eye region"), panel);
    chkRedEye->setCheckable(true);
    stack->addWidget(chkRedEye);
    panel::fit(panel);
}

} // namespace picbasket
