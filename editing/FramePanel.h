#pragma once
#include <QObject>
#include <array>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace picbasket {

class PictureOptions;
class SpinBar;

// The Frame panel: a picture frame (one of eight, optionally on added canvas) or a
// plain frame of a size in the shared background colour.
class FramePanel : public QObject {
    Q_OBJECT
public:
    explicit FramePanel(QWidget* panel);

    bool pictureFrame() const;
    // The size box's focus-out rule: 0 to 800, then the spin takes the value.
    void clampSize();

    QWidget* panel;
    std::array<QRadioButton*, 2> OptFrameStyle{};
    QWidget* picFrameImage;
    PictureOptions* OptFrameImage;
    QCheckBox* chkFrameImageResizeCanvas;
    QWidget* picFrameColor;
    QLineEdit* txtFrameSize;
    SpinBar* vsFrameSize;

Q_SIGNALS:
    void optionsChanged();
    // "Image" (0) or "Color" (1) was chosen, after its part of the panel was shown.
    void frameKindClicked(int index);
    // A frame picture was chosen.
    void frameImageClicked(int index);
};

} // namespace picbasket
