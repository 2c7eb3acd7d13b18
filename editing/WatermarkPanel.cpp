#include "editing/WatermarkPanel.h"

#include "core/setup/typTaskDefaults.h"
#include "editing/ColorButton.h"
#include "editing/OptionControls.h"
#include "editing/OverlayTasks.h"
#include "editing/PanelLayout.h"
#include "platform/comctl/Slider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

namespace picbasket {

namespace {

constexpr QSize PictureBox(150, 96);

} // namespace

void WatermarkPicture::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseDown(p.x(), p.y());
}

void WatermarkPicture::mouseReleaseEvent(QMouseEvent*) {
    emit MouseUp();
}

void WatermarkPicture::setPicture(const QImage& image, const QString& file) {
    picture = image;
    path = image.isNull() ? QString() : file;
    setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
}

WatermarkPanel::WatermarkPanel(QWidget* panel_, QComboBox* styles)
    : QObject(panel_), panel(panel_), cboMergeStyle(styles) {
    QVBoxLayout* stack = panel::stack(panel);
    cmdSelectMerge = new QPushButton(QStringLiteral("Select Image"), panel);
    QHBoxLayout* top = panel::row(stack);
    top->addWidget(cmdSelectMerge);
    lblWatermarkResolution = new QLabel(panel);
    top->addWidget(lblWatermarkResolution, 1);

    picWatermarkImageContainer = new QGroupBox(panel);
    auto* frame = new QHBoxLayout(picWatermarkImageContainer);
    frame->setContentsMargins(4, 4, 4, 4);
    picWatermarkImage = new WatermarkPicture(picWatermarkImageContainer);
    picWatermarkImage->setFixedSize(PictureBox);
    picWatermarkImage->setAlignment(Qt::AlignCenter);
    frame->addWidget(picWatermarkImage, 0, Qt::AlignCenter);
    stack->addWidget(picWatermarkImageContainer);

    QHBoxLayout* transparent = panel::row(stack);
    chkWatermarkTransparent = new QCheckBox(QStringLiteral("Transparent"), panel);
    transparent->addWidget(chkWatermarkTransparent);
    picTransparentOptions = new QWidget(panel);
    auto* options = new QHBoxLayout(picTransparentOptions);
    options->setContentsMargins(0, 0, 0, 0);
    picWatermarkTransparentColor = new ColorButton(picTransparentOptions);
    picWatermarkTransparentColor->setFixedSize(40, 22);
    picWatermarkTransparentColor->setToolTip(QStringLiteral("Choose the transparent colour"));
    chkWatermarkTransparentColor = new QPushButton(QStringLiteral("Pick"), picTransparentOptions);
    chkWatermarkTransparentColor->setCheckable(true);
    chkWatermarkTransparentColor->setToolTip(
        QStringLiteral("Pick the transparent colour from the picture"));
    options->addWidget(picWatermarkTransparentColor);
    options->addWidget(chkWatermarkTransparentColor);
    transparent->addWidget(picTransparentOptions);
    transparent->addStretch(1);

    QHBoxLayout* style = panel::row(stack);
    style->addWidget(new QLabel(QStringLiteral("Style:"), panel));
    cboMergeStyle->setParent(panel);
    style->addWidget(cboMergeStyle, 1);

    QHBoxLayout* level = panel::row(stack);
    level->addWidget(new QLabel(QStringLiteral("Transparency:"), panel));
    lblWatermarkTransparency = new QLabel(panel);
    level->addWidget(lblWatermarkTransparency, 1);
    sldWatermarkTransparency = new Slider(panel);
    sldWatermarkTransparency->setMin(0);
    sldWatermarkTransparency->setMax(100);
    sldWatermarkTransparency->setValue(50);
    sldWatermarkTransparency->setTickFrequency(10);
    sldWatermarkTransparency->setPageStep(10);
    stack->addWidget(sldWatermarkTransparency);
    fncBindSlider(sldWatermarkTransparency, lblWatermarkTransparency, this,
                  [this] { emit optionsChanged(); });

    chkWatermarkTransparent->setChecked(true);
    connect(chkWatermarkTransparent, &QCheckBox::toggled, this, [this](bool on) {
        picTransparentOptions->setVisible(on);
        emit optionsChanged();
    });
    connect(cboMergeStyle, &QComboBox::currentIndexChanged, this, [this](int index) {
        emit optionsChanged();
        emit mergeStyleClicked(index);
    });
    panel::fit(panel);
}

QSize WatermarkPanel::pictureBox() const {
    return PictureBox;
}

void WatermarkPanel::showPicture(const QImage& picture, const QString& path, int width,
                                 int height) {
    picWatermarkImage->setPicture(picture, path);
    lblWatermarkResolution->setText(
        picture.isNull() ? QString() : QStringLiteral("%1 x %2").arg(width).arg(height));
}

void WatermarkPanel::load(const typWatermarkTask& d) {
    cboMergeStyle->setCurrentIndex(d.MergeStyle);
    sldWatermarkTransparency->setValue(d.Transparency);
    chkWatermarkTransparent->setChecked(d.Transparent != 0);
    picWatermarkTransparentColor->setBackColor(d.TransparentColor);
}

void WatermarkPanel::store(typWatermarkTask& d) const {
    d.MergeStyle = int16_t(std::max(0, cboMergeStyle->currentIndex()));
    d.Transparency = int16_t(sldWatermarkTransparency->Value());
    d.Transparent = chkWatermarkTransparent->isChecked() ? 1 : 0;
    d.TransparentColor = picWatermarkTransparentColor->BackColor();
    d.ImageFile = picWatermarkImage->file();
}

WatermarkOptions WatermarkPanel::options() const {
    WatermarkOptions o;
    o.transparent = chkWatermarkTransparent->isChecked();
    o.transparentColor = picWatermarkTransparentColor->BackColor();
    o.transparency = sldWatermarkTransparency->Value();
    o.styleText = cboMergeStyle->currentText();
    return o;
}

} // namespace picbasket
