#include "metadata/frmIPTCCategory.h"

#include "core/ErrorHandler.h"
#include "platform/imagebox/ImageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace picbasket {

void subAddListEntry(QListWidget* list, QLineEdit* box) {
    if (box->text().isEmpty())
        return;
    list->addItem(box->text());
    box->clear();
}

void subDeleteListEntry(QListWidget* list) {
    const int row = list->currentRow();
    if (row >= 0 && list->item(row)->isSelected())
        delete list->takeItem(row);
}

frmIPTCCategory::frmIPTCCategory(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmIPTCCategory"));
    setWindowTitle(QStringLiteral("IPTC Supplemental Categories"));
    setModal(true);
    lblUrgency = new QLabel(QStringLiteral("Urgency:"), this);
    cboUrgency = new QComboBox(this);
    lblSupCat = new QLabel(QStringLiteral("Supplemental Categories:"), this);
    lstSupCats = new QListWidget(this);
    txtSupCatAdd = new QLineEdit(this);
    cmdAddSupCat = new QPushButton(QStringLiteral("Add"), this);
    cmdDelSupCat = new QPushButton(QStringLiteral("Delete"), this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    // Enter in the text box adds its entry; no button is the default, so it never
    // closes the dialog as well.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    txtSupCatAdd->setFocus();

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblUrgency, 0, 0);
    grid->addWidget(cboUrgency, 0, 1);
    grid->addWidget(lblSupCat, 1, 0, 1, 3);
    grid->addWidget(txtSupCatAdd, 2, 0, 1, 2);
    grid->addWidget(cmdAddSupCat, 2, 2);
    grid->addWidget(lstSupCats, 3, 0, 2, 2);
    grid->addWidget(cmdDelSupCat, 3, 2, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    resize(360, 320);

    connect(cmdAddSupCat, &QPushButton::clicked, this, &frmIPTCCategory::cmdAddSupCat_Click);
    connect(txtSupCatAdd, &QLineEdit::returnPressed, this, &frmIPTCCategory::cmdAddSupCat_Click);
    connect(cmdDelSupCat, &QPushButton::clicked, this, &frmIPTCCategory::cmdDelSupCat_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// An urgency the list does not offer (9) joins it, so OK keeps it rather than
// writing "None".
void frmIPTCCategory::subSetup(const ImageBox& box) {
    errorTail(QStringLiteral("subSetup"), [&] {
        cboUrgency->clear();
        for (int urgency = 1; urgency <= 8; ++urgency)
            cboUrgency->addItem(QString::number(urgency));
        cboUrgency->addItem(QStringLiteral("None"));
        cboUrgency->setCurrentText(QStringLiteral("None"));
        lstSupCats->clear();
        if (!box.HasImage())
            return;
        lstSupCats->addItems(box.IptcSupplementalCategories());
        const int urgency = box.IptcUrgency();
        if (urgency == 0)
            return;
        const QString shown = QString::number(urgency);
        if (cboUrgency->findText(shown) < 0)
            cboUrgency->insertItem(cboUrgency->count() - 1, shown);
        cboUrgency->setCurrentText(shown);
    });
}

void frmIPTCCategory::cmdAddSupCat_Click() {
    subAddListEntry(lstSupCats, txtSupCatAdd);
}

void frmIPTCCategory::cmdDelSupCat_Click() {
    subDeleteListEntry(lstSupCats);
}

} // namespace picbasket
