#include "metadata/frmExifEditAttribute.h"

#include "controls/common/modGenericFunctions.h"
#include "controls/datetimepicker/ucDateTimePicker.h"
#include "metadata/modMetadata.h"
#include "engine/batch/ExifDateNames.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace picbasket {

frmExifEditAttribute::frmExifEditAttribute(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmExifEditAttribute"));
    setWindowTitle(QStringLiteral("Edit Attribute"));
    setModal(true);
    lblAttribute = new QLabel(QStringLiteral("Attribute:"), this);
    txtAttribute = new QLineEdit(this);
    txtAttribute->setReadOnly(true);
    lblValue = new QLabel(QStringLiteral("Value:"), this);
    txtValue = new QLineEdit(this);
    ucDateTime = new ucDateTimePicker(this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOK->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblAttribute, 0, 0);
    grid->addWidget(txtAttribute, 0, 1);
    grid->addWidget(lblValue, 1, 0);
    grid->addWidget(txtValue, 1, 1);
    // The text box and the date picker share the value's place; one of them shows.
    grid->addWidget(ucDateTime, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    resize(380, sizeHint().height());

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

void frmExifEditAttribute::cmdCancel_Click() {
    EditDialogResult = false;
    reject();
}

} // namespace picbasket
