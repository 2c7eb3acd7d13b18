#include "editing/TextPanel.h"

#include "controls/common/modGenericFunctions.h"
#include "core/Convert.h"
#include "core/setup/typTaskDefaults.h"
#include "editing/ColorButton.h"
#include "editing/OptionControls.h"
#include "editing/OverlayTasks.h"
#include "editing/PanelLayout.h"
#include "editing/PictureOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

namespace picbasket {

namespace {

QPushButton* styleToggle(const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setCheckable(true);
    button->setFixedSize(24, 22);
    return button;
}

QWidget* plainBox(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    return box;
}

} // namespace

TextPanel::TextPanel(QWidget* panel_, const Lists& lists)
    : QObject(panel_), panel(panel_), cboPosition(lists.cboPosition),
      ComboFilter(lists.ComboFilter), ComboFontFamily(lists.ComboFontFamily),
      comboFontSize(lists.comboFontSize) {
    QVBoxLayout* stack = panel::stack(panel);
    stack->addWidget(new QLabel(QStringLiteral("Enter your text"), panel));
    txtDraw = new QLineEdit(panel);
    stack->addWidget(txtDraw);

    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    stack->addLayout(grid);
    for (QComboBox* list : {cboPosition, ComboFilter, ComboFontFamily, comboFontSize})
        list->setParent(panel);
    grid->addWidget(new QLabel(QStringLiteral("Position"), panel), 0, 0);
    grid->addWidget(cboPosition, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Filter"), panel), 1, 0);
    grid->addWidget(ComboFilter, 1, 1, 1, 2);
    ComboFilter->show();
    grid->addWidget(ComboFontFamily, 2, 0, 1, 2);
    comboFontSize->setEditable(true);
    comboFontSize->setInsertPolicy(QComboBox::NoInsert);
    comboFontSize->setFixedWidth(56);
    subMakeNumericTextBox(comboFontSize->lineEdit());
    grid->addWidget(comboFontSize, 2, 2);
    grid->setColumnStretch(1, 1);
    ComboFontFamily->setMinimumContentsLength(8);
    ComboFontFamily->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    QHBoxLayout* styles = panel::row(stack);
    cmdTextColor = new ColorButton(panel);
    cmdTextColor->setFixedSize(36, 22);
    cmdTextColor->setToolTip(QStringLiteral("Text colour"));
    chkTextBold = styleToggle("B", panel);
    chkTextItalic = styleToggle("I", panel);
    chkTextUnderline = styleToggle("U", panel);
    QFont bold = chkTextBold->font(), italic = bold, underline = bold;
    bold.setBold(true);
    italic.setItalic(true);
    underline.setUnderline(true);
    chkTextBold->setFont(bold);
    chkTextItalic->setFont(italic);
    chkTextUnderline->setFont(underline);
    styles->addWidget(cmdTextColor);
    styles->addWidget(chkTextBold);
    styles->addWidget(chkTextItalic);
    styles->addWidget(chkTextUnderline);
    styles->addStretch(1);

    chkAntiAlias = new QCheckBox(QStringLiteral("Anti-Alias"), panel);
    stack->addWidget(chkAntiAlias);
    QHBoxLayout* background = panel::row(stack);
    chkTransparent = new QCheckBox(QStringLiteral("Transparent background"), panel);
    background->addWidget(chkTransparent);
    background->addStretch(1);
    QHBoxLayout* backColour = panel::row(stack);
    backColour->addWidget(new QLabel(QStringLiteral("Color"), panel));
    cmdTextBackground = new ColorButton(panel);
    cmdTextBackground->setFixedSize(36, 22);
    cmdTextBackground->setToolTip(QStringLiteral("Background colour"));
    backColour->addWidget(cmdTextBackground);
    backColour->addStretch(1);

    const QSize pictureButton(34, 28);
    QHBoxLayout* placing = panel::row(stack);
    picTextOrientation = plainBox(panel);
    OptTextOrientation =
        new PictureOptions(fncTextOrientationPictures(QSize(24, 20)), 2, pictureButton,
                           picTextOrientation);
    OptTextOrientation->button(0)->setToolTip(QStringLiteral("Horizontal"));
    OptTextOrientation->button(1)->setToolTip(QStringLiteral("Vertical"));
    picTextOrientation->layout()->addWidget(OptTextOrientation);
    placing->addWidget(picTextOrientation);
    picTextAlignment = plainBox(panel);
    OptTextAlignment = new PictureOptions(fncTextAlignmentPictures(QSize(24, 20)), 3,
                                          pictureButton, picTextAlignment);
    const char* alignments[] = {"Left", "Centre", "Right"};
    for (int i = 0; i < 3; ++i)
        OptTextAlignment->button(i)->setToolTip(QString::fromLatin1(alignments[i]));
    picTextAlignment->layout()->addWidget(OptTextAlignment);
    placing->addWidget(picTextAlignment);
    placing->addStretch(1);

    picTextOrientationCustom = plainBox(panel);
    picTextOrientationCustom->layout()->addWidget(
        new QLabel(QStringLiteral("Angle"), picTextOrientationCustom));
    txtTextAngle = new QLineEdit(QStringLiteral("0"), picTextOrientationCustom);
    txtTextAngle->setFixedWidth(48);
    vsbTextAngle = new SpinBar(-180, 180, picTextOrientationCustom);
    picTextOrientationCustom->layout()->addWidget(txtTextAngle);
    picTextOrientationCustom->layout()->addWidget(vsbTextAngle);
    static_cast<QHBoxLayout*>(picTextOrientationCustom->layout())->addStretch(1);
    stack->addWidget(picTextOrientationCustom);
    picTextOrientationCustom->hide();

    auto changed = [this] { emit optionsChanged(); };
    connect(txtDraw, &QLineEdit::textChanged, this, changed);
    connect(cboPosition, &QComboBox::currentIndexChanged, this,
            [this](int index) { positionChosen(index); });
    connect(ComboFilter, &QComboBox::currentIndexChanged, this, changed);
    connect(chkAntiAlias, &QCheckBox::toggled, this, [this] { emit changedFlagOnly(); });
    connect(chkTransparent, &QCheckBox::toggled, this, [this](bool on) {
        cmdTextBackground->setEnabled(!on);
        emit optionsChanged();
    });
    connect(ComboFontFamily, &QComboBox::currentIndexChanged, this, [this] {
        showTextFont();
        emit optionsChanged();
    });
    connect(comboFontSize, &QComboBox::currentIndexChanged, this, changed);
    connect(comboFontSize, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            comboFontSize->setEditText(QStringLiteral("0"));
        emit optionsChanged();
    });
    for (QPushButton* toggle : {chkTextBold, chkTextItalic, chkTextUnderline})
        connect(toggle, &QPushButton::toggled, this, [this] {
            showTextFont();
            emit optionsChanged();
        });
    connect(OptTextOrientation, &PictureOptions::Click, this, [this](int index) {
        picTextAlignment->setVisible(index == 0);
        emit optionsChanged();
        panel::fit(panel);
        emit layoutChanged();
    });
    connect(OptTextAlignment, &PictureOptions::Click, this, changed);
    fncBindNumberBox(txtTextAngle, QStringLiteral("0"), this, changed);
    // No minus can be typed; negative angles come from the spin.
    connect(txtTextAngle, &QLineEdit::editingFinished, this, [this] { clampAngle(); });
    connect(vsbTextAngle, &SpinBar::Change, this, [this](int value) {
        if (txtTextAngle->text() != QString::number(value))
            txtTextAngle->setText(QString::number(value));
        emit optionsChanged();
    });
    connect(comboFontSize->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { clampFontSize(); });
    cmdTextBackground->setEnabled(!chkTransparent->isChecked());
    panel::fit(panel);
}

void TextPanel::clampFontSize() {
    const QString clamped = fncClampText(comboFontSize->currentText(), 0, 200);
    if (clamped != comboFontSize->currentText())
        comboFontSize->setEditText(clamped);
}

void TextPanel::clampAngle() {
    subClampTextValue(txtTextAngle, -180, 180);
    bool ok = false;
    const int angle = txtTextAngle->text().toInt(&ok);
    if (ok && vsbTextAngle->Value() != angle)
        vsbTextAngle->setSpinValue(angle);
}

void TextPanel::load(const typTextTask& d) {
    chkTextBold->setChecked(d.Bold != 0);
    chkTextItalic->setChecked(d.Style2 != 0);
    chkTextUnderline->setChecked(d.Style3 != 0);
    txtDraw->setText(d.Caption);
    chkTransparent->setChecked(d.Transparent != 0);
    cmdTextBackground->setEnabled(!chkTransparent->isChecked());
    cmdTextBackground->setBackColor(d.BackColor);
    // A font list shorter than the stored index (fonts removed since) shows the
    // first family.
    ComboFontFamily->setCurrentIndex(
        d.FontFamily >= 0 && d.FontFamily < ComboFontFamily->count() ? d.FontFamily : 0);
    comboFontSize->setEditText(QString::number(d.FontSize));
    cboPosition->setCurrentIndex(d.Position);
    OptTextOrientation->select(d.Orientation == 0 ? 0 : 1);
    cmdTextColor->setBackColor(d.ForeColor);
    ComboFilter->setCurrentIndex(d.Filter);
    OptTextAlignment->select(d.Alignment);
    txtTextAngle->setText(QString::number(d.Angle));
    vsbTextAngle->setSpinValue(d.Angle);
    panel::fit(panel);
}

void TextPanel::store(typTextTask& x) const {
    auto check = [](const QAbstractButton* box) { return uint8_t(box->isChecked() ? 1 : 0); };
    x.Bold = check(chkTextBold);
    x.Style2 = check(chkTextItalic);
    x.Style3 = check(chkTextUnderline);
    x.Caption = txtDraw->text();
    x.Transparent = check(chkTransparent);
    x.BackColor = cmdTextBackground->BackColor();
    x.FontFamily = int16_t(ComboFontFamily->currentIndex());
    x.FontSize = cInt(comboFontSize->currentText());
    x.Position = int16_t(std::max(0, cboPosition->currentIndex()));
    x.Orientation = vertical() ? 1 : 0;
    x.ForeColor = cmdTextColor->BackColor();
    x.Filter = int16_t(std::max(0, ComboFilter->currentIndex()));
    x.Alignment = uint8_t(alignment());
    x.Angle = int16_t(vsbTextAngle->Value());
}

TextOptions TextPanel::options() const {
    TextOptions o;
    o.antiAlias = chkAntiAlias->isChecked();
    o.transparent = chkTransparent->isChecked();
    o.family = ComboFontFamily->currentText();
    o.size = comboFontSize->currentText();
    o.bold = chkTextBold->isChecked();
    o.italic = chkTextItalic->isChecked();
    o.underline = chkTextUnderline->isChecked();
    o.color = cmdTextColor->BackColor();
    o.backColor = cmdTextBackground->BackColor();
    o.position = cboPosition->currentIndex();
    o.vertical = vertical();
    o.alignment = alignment();
    o.angle = txtTextAngle->text();
    o.text = txtDraw->text();
    return o;
}

int TextPanel::alignment() const {
    return OptTextAlignment->selected();
}

bool TextPanel::vertical() const {
    return OptTextOrientation->selected() == 1;
}

// The text box shows its text in the chosen family and styles.
void TextPanel::showTextFont() {
    QFont font = txtDraw->font();
    if (!ComboFontFamily->currentText().isEmpty())
        font.setFamily(ComboFontFamily->currentText());
    font.setBold(chkTextBold->isChecked());
    font.setItalic(chkTextItalic->isChecked());
    font.setUnderline(chkTextUnderline->isChecked());
    txtDraw->setFont(font);
}

void TextPanel::positionChosen(int index) {
    emit optionsChanged();
    if (index >= 0 && index <= 8) {
        picTextOrientation->show();
        picTextAlignment->show();
        picTextOrientationCustom->hide();
    } else if (index == 9) {
        picTextOrientation->hide();
        picTextAlignment->hide();
        picTextOrientationCustom->show();
    }
    emit positionClicked(index);
    panel::fit(panel);
    emit layoutChanged();
}

} // namespace picbasket
