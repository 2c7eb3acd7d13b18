#include "metadata/frmExifNewAttribute.h"

#include "controls/datetimepicker/ucDateTimePicker.h"
#include "engine/batch/ExifDateNames.h"
#include "metadata/modMetadata.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace picbasket {

frmExifNewAttribute::frmExifNewAttribute(const ListView* exifList, QWidget* owner)
    : ExifAttributeDialog(
          QStringLiteral("frmExifNewAttribute"), QStringLiteral("New EXIF Attribute"),
          [](QDialog* form) -> QWidget* { return new QComboBox(form); }, owner),
      cmbAttribute(static_cast<QComboBox*>(attributeField_)) {
    Form_Load(exifList);
    connect(cmbAttribute, &QComboBox::currentIndexChanged, this,
            &frmExifNewAttribute::cmbAttribute_Click);
    connect(txtValue, &QLineEdit::textChanged, this, &frmExifNewAttribute::txtValue_Change);
    connect(ucDateTime, &ucDateTimePicker::DateChanged, this,
            &frmExifNewAttribute::ucDateTime_DateChanged);
    connect(cmdOK, &QPushButton::clicked, this, &frmExifNewAttribute::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmExifNewAttribute::cmdCancel_Click);
}

// Nothing is chosen at first, so OK waits for a choice.
void frmExifNewAttribute::Form_Load(const ListView* exifList) {
    EditDialogResult = false;
    for (const QString& name : EditableExifNames)
        if (fncAttributeNotInList(exifList, name))
            cmbAttribute->addItem(name);
    if (cmbAttribute->count() == 0)
        cmbAttribute->addItem(nothingToAdd());
    cmbAttribute->setCurrentIndex(-1);
    txtValue->setEnabled(false);
    ucDateTime->SetEnabled(false);
    ucDateTime->hide();
    cmdOK->setEnabled(false);
}

bool frmExifNewAttribute::chosenIsDate() const {
    return cmbAttribute->currentIndex() >= 0 && fncIsDateAttribute(cmbAttribute->currentText());
}

void frmExifNewAttribute::cmbAttribute_Click() {
    const QString name = cmbAttribute->currentText();
    if (cmbAttribute->currentIndex() < 0 || name == nothingToAdd())
        return;
    if (fncIsDateAttribute(name)) {
        ucDateTime->SetEnabled(true);
        ucDateTime->show();
        ucDateTime->setDateSelected(QDateTime::currentDateTime());
        txtValue->hide();
        cmdOK->setEnabled(true);
    } else {
        txtValue->show();
        txtValue->setEnabled(true);
        ucDateTime->hide();
        txtValue_Change();
    }
}

void frmExifNewAttribute::txtValue_Change() {
    if (!chosenIsDate())
        cmdOK->setEnabled(cmbAttribute->currentIndex() >= 0 &&
                          cmbAttribute->currentText() != nothingToAdd() &&
                          !txtValue->text().trimmed().isEmpty());
}

void frmExifNewAttribute::ucDateTime_DateChanged() {
    timePart_ = fncTimePartText(QDateTime::currentDateTime());
}

void frmExifNewAttribute::cmdOK_Click() {
    if (chosenIsDate()) {
        const QString time =
            timePart_.isEmpty() ? fncTimePartText(QDateTime::currentDateTime()) : timePart_;
        EditAttributeValue = fncDatePartText(ucDateTime->DateSelected()) + QLatin1Char(' ') + time;
    } else {
        EditAttributeValue = txtValue->text().trimmed();
    }
    EditAttributeName = cmbAttribute->currentText();
    EditDialogResult = true;
    accept();
}

} // namespace picbasket
