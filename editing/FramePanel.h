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
struct FrameOptions;
struct typFrameTask;

// The Frame panel: a picture frame (one of eight, optionally on added canvas) or a
// plain frame of a size in the shared background colour.
class FramePanel : public QObject {
    Q_OBJECT
public:
    explicit FramePanel(QWidget* panel);

    // What the panel provides: its options to and from the stored ones and as the
    // frame they describe, the focus-out rule Preview runs again, and the controls
    // the tests drive. The chosen picture (the edit view's selected style) and the
    // shared background colour are the edit view's.
    // The stored kind, picture, size and canvas box shown with the kind's part; the
    // panel takes the height they need.
    void load(const typFrameTask& stored);
    // The stored kind, size and canvas box.
    void store(typFrameTask& stored) const;
    // The kind, the canvas box and the size.
    FrameOptions options() const;
    bool pictureFrame() const;
    // The size box's focus-out rule: 0 to 800, then the spin takes the value.
    void clampSize();
    // "Image" and "Color"; the picture part with the frame pictures and "Use canvas
    // space"; the size box and its spin of the colour part.
    const std::array<QRadioButton*, 2>& kindOptions() const { return OptFrameStyle; }
    QWidget* picturePart() const { return picFrameImage; }
    PictureOptions* pictureOptions() const { return OptFrameImage; }
    QCheckBox* canvasBox() const { return chkFrameImageResizeCanvas; }
    QLineEdit* sizeBox() const { return txtFrameSize; }
    SpinBar* sizeSpin() const { return vsFrameSize; }

Q_SIGNALS:
    void optionsChanged();
    // "Image" (0) or "Color" (1) was chosen, after its part of the panel was shown
    // and the panel took its new height.
    void frameKindClicked(int index);
    // A frame picture was chosen.
    void frameImageClicked(int index);

private:
    QWidget* panel;
    std::array<QRadioButton*, 2> OptFrameStyle{};
    QWidget* picFrameImage;
    PictureOptions* OptFrameImage;
    QCheckBox* chkFrameImageResizeCanvas;
    QWidget* picFrameColor;
    QLineEdit* txtFrameSize;
    SpinBar* vsFrameSize;
};

} // namespace picbasket
