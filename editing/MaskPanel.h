#pragma once
#include <QObject>

class QCheckBox;
class QLabel;
class QWidget;

namespace picbasket {

class PictureOptions;
class Slider;

// The Mask panel: one of eight mask pictures, its transparency box and its level.
class MaskPanel : public QObject {
    Q_OBJECT
public:
    explicit MaskPanel(QWidget* panel);

    QWidget* panel;
    PictureOptions* OptMask;
    QCheckBox* chkMaskTransparent;
    Slider* sldMask;
    QLabel* lblMask;

Q_SIGNALS:
    void optionsChanged();
    void maskClicked(int index);
};

} // namespace picbasket
