#include "controls/dialogs/frmStatus.h"

#include "core/Globals.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace picbasket {

namespace {
const char* const kProcessingText = "Please wait..... your request is being processed";
const char* const kCancellingText = "Please wait...... cancelling operaration";
} // namespace

frmStatus::frmStatus(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmStatus"));
    setWindowTitle(QStringLiteral("Processing..."));
    setModal(false);
    buildControls();
    Form_Load();
}

frmStatus& frmStatus::instance(QWidget* owner) {
    static QPointer<frmStatus> dialog;
    if (!dialog)
        dialog = new frmStatus(owner);
    return *dialog;
}

void frmStatus::buildControls() {
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextFormat(Qt::PlainText);
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setTextFormat(Qt::PlainText);
    pbQueue = new QProgressBar(this);
    pbQueue->setObjectName(QStringLiteral("pbQueue"));
    pbQueue->setRange(0, 0);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdCancel, &QPushButton::clicked, this, &frmStatus::cmdCancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus);
    layout->addWidget(lblMessage);
    layout->addWidget(pbQueue);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void frmStatus::Form_Load() {
    lblStatus->setText(QString::fromLatin1(kProcessingText));
}

void frmStatus::cmdCancel_Click() {
    QCoreApplication::processEvents();
    lblStatus->setText(QString::fromLatin1(kCancellingText));
    CancelOperation = true;
}

void frmStatus::showWaiting() {
    // A Cancel that came after the previous operation's last poll must not stop
    // the new one before it starts.
    CancelOperation = false;
    Form_Load();
    lblMessage->clear();
    pbQueue->setRange(0, 0);
    setWindowModality(parentWidget() ? Qt::WindowModal : Qt::NonModal);
    show();
    raise();
}

void frmStatus::closeWaiting() {
    closingByOwner_ = true;
    hide();
    closingByOwner_ = false;
}

void frmStatus::reject() {
    cmdCancel_Click();
}

void frmStatus::closeEvent(QCloseEvent* event) {
    if (closingByOwner_ || !isVisible()) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    cmdCancel_Click();
}

void frmStatus::QueueBar::setMaximum(int maximum) {
    owner_.pbQueue->setRange(0, maximum);
}

void frmStatus::QueueBar::setValue(int value) {
    owner_.pbQueue->setValue(value);
}

void frmStatus::QueueBar::setVisible(bool visible) {
    owner_.pbQueue->setVisible(visible);
}

} // namespace picbasket
