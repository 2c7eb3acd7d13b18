#pragma once
#include <QLabel>
#include <QObject>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace picbasket {

class ColorButton;
class Slider;
struct typWatermarkTask;
struct WatermarkOptions;

// The picture of the watermark panel: it shows the chosen image fitted into its
// box and reports presses and releases of the mouse on it (for the colour pick).
class WatermarkPicture : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The shown picture (empty when none) and the file it came from (empty without a
    // picture).
    const QImage& image() const { return picture; }
    const QString& file() const { return path; }
    void setPicture(const QImage& image, const QString& file);

Q_SIGNALS:
    void MouseDown(int x, int y);
    void MouseUp();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture;
    QString path;
};

// The Watermark panel: the image to stamp with its size, its transparent colour, the
// merge style and the transparency.
class WatermarkPanel : public QObject {
    Q_OBJECT
public:
    // The style list is the main window's, filled at start-up.
    WatermarkPanel(QWidget* panel, QComboBox* styles);

    // Shows the picture of the file (fitted into the box) and the file's own size;
    // an empty picture clears the picture and the size label.
    void showPicture(const QImage& picture, const QString& path, int width, int height);
    // The box the picture is fitted into.
    QSize pictureBox() const;

    // What the panel provides: its options to and from the stored ones and as the
    // watermark they describe, and the controls the edit view connects and the
    // tests drive. The merge style list is the edit view's (mergeStyleCombo).
    // The stored style, transparency and transparent colour shown; the stored file is
    // the edit view's to load.
    void load(const typWatermarkTask& stored);
    // The shown options and picture file as the stored ones.
    void store(typWatermarkTask& stored) const;
    // The transparency, the transparent colour and the style's text; the file, the
    // picked point and the preview's state are the edit view's.
    WatermarkOptions options() const;
    // "Select Image", the picture with the file's size beside it, the transparency
    // box with the transparent colour and its pick toggle, the transparency slider.
    QPushButton* selectButton() const { return cmdSelectMerge; }
    WatermarkPicture* picture() const { return picWatermarkImage; }
    QLabel* resolutionLabel() const { return lblWatermarkResolution; }
    QCheckBox* transparentBox() const { return chkWatermarkTransparent; }
    ColorButton* transparentColourButton() const { return picWatermarkTransparentColor; }
    QPushButton* colourPickToggle() const { return chkWatermarkTransparentColor; }
    Slider* transparencySlider() const { return sldWatermarkTransparency; }

Q_SIGNALS:
    void optionsChanged();
    // The merge style list's choice (index), after the options were marked changed.
    void mergeStyleClicked(int index);

private:
    QWidget* panel;
    QPushButton* cmdSelectMerge;
    QGroupBox* picWatermarkImageContainer;
    WatermarkPicture* picWatermarkImage;
    QLabel* lblWatermarkResolution;
    QCheckBox* chkWatermarkTransparent;
    QWidget* picTransparentOptions;
    ColorButton* picWatermarkTransparentColor;
    QPushButton* chkWatermarkTransparentColor;
    QComboBox* cboMergeStyle;
    Slider* sldWatermarkTransparency;
    QLabel* lblWatermarkTransparency;
};

} // namespace picbasket
