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

// The picture of the watermark panel: it shows the chosen image fitted into its
// box and reports presses and releases of the mouse on it (for the colour pick).
class WatermarkPicture : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The shown picture (empty when none) and the file it came from.
    QImage picture;
    QString path;

Q_SIGNALS:
    void MouseDown(int x, int y);
    void MouseUp();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
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

Q_SIGNALS:
    void optionsChanged();
    // The merge style list's choice (index), after the options were marked changed.
    void mergeStyleClicked(int index);
};

} // namespace picbasket
