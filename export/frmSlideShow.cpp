#include "export/frmSlideShow.h"

#include "controls/common/NumberGroup.h"
#include "controls/dialogs/modCommonDialogAPI.h"
#include "core/setup/modSetup.h"
#include "editing/ColorButton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

namespace picbasket {

frmSlideShow::frmSlideShow(const GeneratorSources& sources, QWidget* parent)
    : QDialog(parent), sources_(sources) {
    setObjectName(QStringLiteral("frmSlideShow"));
    setWindowTitle(QStringLiteral("Generate Slide show"));
    setModal(true);
    buildControls();
    Form_Load();
}

void frmSlideShow::buildControls() {
    cmdPageBackgroundColor = new ColorButton(this);
    cmdPageBackgroundColor->setObjectName(QStringLiteral("cmdPageBackgroundColor"));
    cmdPageBackgroundColor->setFixedSize(48, 22);
    connect(cmdPageBackgroundColor, &QPushButton::clicked, this,
            &frmSlideShow::cmdPageBackgroundColor_Click);

    txtInterval = new QLineEdit(this);
    txtInterval->setObjectName(QStringLiteral("txtInterval"));
    txtInterval->setFixedWidth(
        txtInterval->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    vsInterval = new QScrollBar(this);
    vsInterval->setObjectName(QStringLiteral("vsInterval"));
    vsInterval->setFixedHeight(txtInterval->sizeHint().height());
    intervalSlider_ = new QSlider(Qt::Horizontal, this);
    intervalSlider_->hide();
    // An emptied box gets "3" back; one digit at most.
    interval = new NumberGroup(
        intervalSlider_, txtInterval, vsInterval, {1, 9, 1, 1, 1, 1}, [] { return 3; }, this);

    sldQuality = new QSlider(Qt::Horizontal, this);
    sldQuality->setObjectName(QStringLiteral("sldQuality"));
    sldQuality->setRange(1, 100);
    sldQuality->setPageStep(5);
    sldQuality->setSingleStep(1);
    lblQuality = new QLabel(this);
    lblQuality->setObjectName(QStringLiteral("lblQuality"));
    lblQuality->setMinimumWidth(lblQuality->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    connect(sldQuality, &QSlider::valueChanged, this,
            [this](int value) { lblQuality->setText(QString::number(value)); });

    auto* note = new QLabel(
        QStringLiteral("NOTE: Choosing a higher quality will result in bigger file size"), this);
    note->setWordWrap(true);
    chkProcessEditingList = new QCheckBox(QStringLiteral("Process Tasks Basket"), this);
    chkProcessEditingList->setObjectName(QStringLiteral("chkProcessEditingList"));
    cmdCreate = new QPushButton(QStringLiteral("&Generate"), this);
    cmdCreate->setObjectName(QStringLiteral("cmdCreate"));
    cmdCreate->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("C&ancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdCreate, &QPushButton::clicked, this, &frmSlideShow::cmdCreate_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSlideShow::cmdCancel_Click);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Background Color :"), this), 0, 0);
    grid->addWidget(cmdPageBackgroundColor, 0, 1, 1, 3, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Interval ( in secs) :"), this), 1, 0);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->setSpacing(0);
    intervalRow->addWidget(txtInterval);
    intervalRow->addWidget(vsInterval);
    intervalRow->addStretch();
    grid->addLayout(intervalRow, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Image Quality :"), this), 2, 0);
    grid->addWidget(sldQuality, 2, 1, 1, 2);
    grid->addWidget(lblQuality, 2, 3);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCreate);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(chkProcessEditingList);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

void frmSlideShow::Form_Load() {
    const typSlideShow& block = picbasket::Setup.SlideShow;
    cmdPageBackgroundColor->setBackColor(block.BackColor);
    interval->setValue(block.Interval);
    txtInterval->setText(QString::number(block.Interval));
    sldQuality->setValue(block.Quality);
    lblQuality->setText(QString::number(block.Quality));
    chkProcessEditingList->setChecked(block.ProcessTasks == 1);
}

void frmSlideShow::cmdPageBackgroundColor_Click() {
    const ColorResult result = fncShowColor(this, true);
    if (result.Cancel || int32_t(result.Color) < 0)
        return;
    cmdPageBackgroundColor->setBackColor(result.Color);
}

void frmSlideShow::cmdCreate_Click() {
    hide();
    typSlideShow& block = picbasket::Setup.SlideShow;
    SlideShowParams.BackColor = cmdPageBackgroundColor->BackColor();
    // Enter in the box generates without leaving it, so the box's clamp is applied here too.
    SlideShowParams.Interval = int16_t(std::clamp(txtInterval->text().toInt(), 1, 9));
    block.BackColor = SlideShowParams.BackColor;
    block.Interval = SlideShowParams.Interval;
    block.ProcessTasks = chkProcessEditingList->isChecked() ? 1 : 0;
    block.Quality = int16_t(sldQuality->value());
    MkSlideShow(sources_, block.Quality, block.ProcessTasks);
    accept();
}

void frmSlideShow::cmdCancel_Click() {
    reject();
}

} // namespace picbasket
