#pragma once
#include <QObject>

class QPushButton;
class QWidget;

namespace picbasket {

// The Red-Eye Correction panel: the hint and the toggle that starts marking the eye
// region on the preview.
class RedEyePanel : public QObject {
    Q_OBJECT
public:
    explicit RedEyePanel(QWidget* panel);

    // What the panel provides: the toggle, which the edit view connects and clears
    // when a pick mode ends.
    QPushButton* regionToggle() const { return chkRedEye; }

private:
    QWidget* panel;
    QPushButton* chkRedEye;
};

} // namespace picbasket
