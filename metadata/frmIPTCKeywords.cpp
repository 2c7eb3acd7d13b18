#include "metadata/frmIPTCKeywords.h"

#include "core/ErrorHandler.h"
#include "metadata/frmIPTCCategory.h"
#include "platform/imagebox/ImageBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace picbasket {

frmIPTCKeywords::frmIPTCKeywords(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmIPTCKeywords"));
    setWindowTitle(QStringLiteral("IPTC Keywords"));
    setModal(true);
    auto* label = new QLabel(QStringLiteral("Keywords:"), this);
    lstKeywords = new QListWidget(this);
    txtKeywordAdd = new QLineEdit(this);
    cmdAddKeyword = new QPushButton(QStringLiteral("Add"), this);
    cmdDelKeyword = new QPushButton(QStringLiteral("Delete"), this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    // Enter in the text box adds its entry; no button is the default, so it never
    // closes the dialog as well.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    txtKeywordAdd->setFocus();

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(txtKeywordAdd, 1, 0);
    grid->addWidget(cmdAddKeyword, 1, 1);
    grid->addWidget(lstKeywords, 2, 0, 2, 1);
    grid->addWidget(cmdDelKeyword, 2, 1, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(3, 1);
    resize(340, 300);

    connect(cmdAddKeyword, &QPushButton::clicked, this, &frmIPTCKeywords::cmdAddKeyword_Click);
    connect(txtKeywordAdd, &QLineEdit::returnPressed, this, &frmIPTCKeywords::cmdAddKeyword_Click);
    connect(cmdDelKeyword, &QPushButton::clicked, this, &frmIPTCKeywords::cmdDelKeyword_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmIPTCKeywords::subSetup(const ImageBox& box) {
    errorTail(QStringLiteral("frmIPTCKeywords.subSetup"), [&] {
        lstKeywords->clear();
        if (!box.HasImage())
            return;
        lstKeywords->addItems(box.IptcKeywords());
    });
}

void frmIPTCKeywords::cmdAddKeyword_Click() {
    subAddListEntry(lstKeywords, txtKeywordAdd);
}

void frmIPTCKeywords::cmdDelKeyword_Click() {
    subDeleteListEntry(lstKeywords);
}

} // namespace picbasket
