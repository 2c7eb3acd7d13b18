#include "editing/FramePanel.h"

#include "controls/common/modGenericFunctions.h"
#include "core/Convert.h"
#include "core/setup/typTaskDefaults.h"
#include "editing/EffectTasks.h"
#include "editing/OptionControls.h"
#include "editing/PanelLayout.h"
#include "editing/PictureOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace picbasket {

FramePanel::FramePanel(QWidget* panel_) : QObject(panel_), panel(panel_) {
    QVBoxLayout* stack = panel::stack(panel);
    stack->addWidget(new QLabel(QStringLiteral("Select a frame style"), panel));
    auto* kinds = new QButtonGroup(panel);
    QHBoxLayout* kindRow = panel::row(stack);
    const char* captions[] = {"Image", "Color"};
    for (int i = 0; i < 2; ++i) {
        OptFrameStyle[size_t(i)] = new QRadioButton(QString::fromLatin1(captions[i]), panel);
        kinds->addButton(OptFrameStyle[size_t(i)], i);
        kindRow->addWidget(OptFrameStyle[size_t(i)]);
    }
    kindRow->addStretch(1);

    picFrameImage = new QWidget(panel);
    auto* image = new QVBoxLayout(picFrameImage);
    image->setContentsMargins(0, 0, 0, 0);
    OptFrameImage = new PictureOptions(fncFrameOptionPictures(QSize(40, 32)), 4, QSize(46, 38),
                                       picFrameImage);
    image->addWidget(OptFrameImage);
    chkFrameImageResizeCanvas = new QCheckBox(QStringLiteral("Use canvas space"), picFrameImage);
    chkFrameImageResizeCanvas->setChecked(true);
    image->addWidget(chkFrameImageResizeCanvas);
    stack->addWidget(picFrameImage);

    picFrameColor = new QWidget(panel);
    auto* colour = new QHBoxLayout(picFrameColor);
    colour->setContentsMargins(0, 0, 0, 0);
    colour->addWidget(new QLabel(QStringLiteral("Frame Size"), picFrameColor));
    txtFrameSize = new QLineEdit(QStringLiteral("0"), picFrameColor);
    txtFrameSize->setFixedWidth(48);
    colour->addWidget(txtFrameSize);
    vsFrameSize = new SpinBar(0, MaxFrameSize, picFrameColor);
    colour->addWidget(vsFrameSize);
    colour->addStretch(1);
    stack->addWidget(picFrameColor);
    picFrameColor->hide();
    OptFrameStyle[0]->setChecked(true);

    auto changed = [this] { emit optionsChanged(); };
    for (int i = 0; i < 2; ++i)
        connect(OptFrameStyle[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            picFrameImage->setVisible(i == 0);
            picFrameColor->setVisible(i == 1);
            emit optionsChanged();
            panel::fit(panel);
            emit frameKindClicked(i);
        });
    connect(OptFrameImage, &PictureOptions::Click, this, [this](int index) {
        emit frameImageClicked(index);
        emit optionsChanged();
    });
    connect(chkFrameImageResizeCanvas, &QCheckBox::toggled, this, changed);
    fncBindNumberBox(txtFrameSize, QStringLiteral("0"), this, changed);
    connect(txtFrameSize, &QLineEdit::editingFinished, this, [this] { clampSize(); });
    connect(vsFrameSize, &SpinBar::Change, this, [this](int value) {
        if (txtFrameSize->text() != QString::number(value))
            txtFrameSize->setText(QString::number(value));
        emit optionsChanged();
    });
    // Room for the larger of the two parts.
    panel::fit(panel);
}

void FramePanel::load(const typFrameTask& d) {
    OptFrameStyle[d.Kind == 0 ? 0 : 1]->setChecked(true);
    OptFrameImage->select(d.Style);
    txtFrameSize->setText(QString::number(d.Size));
    vsFrameSize->setSpinValue(d.Size);
    chkFrameImageResizeCanvas->setChecked(d.ResizeCanvas != 0);
    picFrameImage->hide();
    picFrameColor->hide();
    if (d.Kind == 0)
        picFrameImage->show();
    else
        picFrameColor->show();
    panel::fit(panel);
}

void FramePanel::store(typFrameTask& d) const {
    d.Size = cInt(txtFrameSize->text());
    d.ResizeCanvas = chkFrameImageResizeCanvas->isChecked() ? 1 : 0;
    d.Kind = pictureFrame() ? 0 : 1;
}

FrameOptions FramePanel::options() const {
    FrameOptions o;
    o.picture = pictureFrame();
    o.resizeCanvas = chkFrameImageResizeCanvas->isChecked();
    o.size = txtFrameSize->text();
    return o;
}

bool FramePanel::pictureFrame() const {
    return OptFrameStyle[0]->isChecked();
}

void FramePanel::clampSize() {
    subClampTextValue(txtFrameSize, 0, MaxFrameSize);
    bool ok = false;
    const int size = txtFrameSize->text().toInt(&ok);
    if (ok && vsFrameSize->Value() != size)
        vsFrameSize->setSpinValue(size);
}

} // namespace picbasket
