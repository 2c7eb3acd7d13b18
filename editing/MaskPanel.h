#pragma once
#include <QObject>

class QCheckBox;
class QLabel;
class QWidget;

namespace picbasket {

class PictureOptions;
class Slider;
struct MaskOptions;
struct typMaskTask;

// The Mask panel: one of eight mask pictures, its transparency box and its level.
class MaskPanel : public QObject {
    Q_OBJECT
public:
    explicit MaskPanel(QWidget* panel);

    // What the panel provides: its options to and from the stored ones and as the
    // mask they describe, and the controls the tests drive. The chosen picture is
    // the edit view's selected style, which it keeps from maskClicked.
    void load(const typMaskTask& stored);
    // The stored transparency box and level.
    void store(typMaskTask& stored) const;
    MaskOptions options(int style) const;
    // The mask pictures, the transparency box and the level slider.
    PictureOptions* pictureOptions() const { return OptMask; }
    QCheckBox* transparentBox() const { return chkMaskTransparent; }
    Slider* levelSlider() const { return sldMask; }

Q_SIGNALS:
    void optionsChanged();
    void maskClicked(int index);

private:
    QWidget* panel;
    PictureOptions* OptMask;
    QCheckBox* chkMaskTransparent;
    Slider* sldMask;
    QLabel* lblMask;
};

} // namespace picbasket
