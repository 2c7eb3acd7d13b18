#include "metadata/ExifAttributeDialog.h"

#include "controls/datetimepicker/ucDateTimePicker.h"
#include "metadata/modMetadata.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace picbasket {

ExifAttributeDialog::ExifAttributeDialog(const QString& name, const QString& title,
                                         QWidget* (*makeAttributeField)(QDialog*), QWidget* owner)
    : QDialog(owner) {
    setObjectName(name);
    setWindowTitle(title);
    setModal(true);
    lblAttribute = new QLabel(QStringLiteral("Attribute:"), this);
    // Made here so that the tab order runs from the attribute to the value.
    attributeField_ = makeAttributeField(this);
    lblValue = new QLabel(QStringLiteral("Value:"), this);
    txtValue = new QLineEdit(this);
    ucDateTime = new ucDateTimePicker(this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOK->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblAttribute, 0, 0);
    grid->addWidget(attributeField_, 0, 1);
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
}

void ExifAttributeDialog::cmdCancel_Click() {
    EditDialogResult = false;
    reject();
}

} // namespace picbasket
