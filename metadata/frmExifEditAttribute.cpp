#include "metadata/frmExifEditAttribute.h"

#include "controls/common/modGenericFunctions.h"
#include "controls/datetimepicker/ucDateTimePicker.h"
#include "metadata/modMetadata.h"
#include "engine/batch/ExifDateNames.h"

#include <QLineEdit>
#include <QPushButton>

namespace picbasket {

frmExifEditAttribute::frmExifEditAttribute(QWidget* owner)
    : ExifAttributeDialog(
          QStringLiteral("frmExifEditAttribute"), QStringLiteral("Edit Attribute"),
          [](QDialog* form) -> QWidget* {
              auto* name = new QLineEdit(form);
              name->setReadOnly(true);
              return name;
          },
          owner),
      txtAttribute(static_cast<QLineEdit*>(attributeField_)) {
    connect(cmdOK, &QPushButton::clicked, this, &frmExifEditAttribute::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmExifEditAttribute::cmdCancel_Click);
    Form_Load();
}

void frmExifEditAttribute::Form_Load() {
    EditDialogResult = false;
    oldValue_ = EditAttributeValue;
    txtAttribute->setText(EditAttributeName);
    txtValue->setText(EditAttributeValue);
    editsDate_ = fncIsDateAttribute(EditAttributeName) || fncIsIPTCDateAttribute(EditAttributeName);
    txtValue->setVisible(!editsDate_);
    ucDateTime->setVisible(editsDate_);
    if (!editsDate_) {
        subSelectAllText(txtValue);
        txtValue->setFocus();
        return;
    }
    const std::optional<DateText> old = fncParseDateText(oldValue_);
    ucDateTime->setDateSelected(old ? old->value : QDateTime::currentDateTime());
    keptTime_ = old && old->hasTime ? fncTimePartText(old->value) : QString();
}

// The whole new value is compared with the old one, so a date confirmed as it
// stood writes nothing.
void frmExifEditAttribute::cmdOK_Click() {
    QString value;
    if (editsDate_) {
        value = fncDatePartText(ucDateTime->DateSelected());
        if (!keptTime_.isEmpty())
            value += QLatin1Char(' ') + keptTime_;
    } else {
        value = txtValue->text().trimmed();
    }
    EditDialogResult = value != oldValue_;
    if (EditDialogResult)
        EditAttributeValue = value;
    accept();
}

} // namespace picbasket
