#include "shell/errors/frmErrorReport.h"
#include "core/AppPaths.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "shell/errors/HttpReportSender.h"
#include "shell/errors/ReportSender.h"
#include "shell/errors/modErrorReport.h"

#include <QApplication>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace picbasket {

namespace {

bool g_reportOpen = false;

QLabel* caption(QWidget* parent, const char* name, const QString& text, bool wrap = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    return label;
}

// A value label: plain text, so an error text is never read as markup.
QLabel* value(QWidget* parent, const char* name) {
    QLabel* label = caption(parent, name, QString(), true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

frmErrorReport::frmErrorReport(ReportSender& sender, QWidget* parent)
    : QDialog(parent), sender_(sender) {
    setObjectName(QStringLiteral("frmErrorReport"));
    setWindowTitle(ApplicationTitle);
    setModal(true);
    buildControls();
}

void frmErrorReport::buildControls() {
    lblHeading = value(this, "lblHeading");
    QFont bold = lblHeading->font();
    bold.setBold(true);
    lblHeading->setFont(bold);
    QLabel* label4 =
        caption(this, "Label4",
                QStringLiteral(
                    "We are sorry for the incovenience. We have created an error report that you "
                    "can send to us. We will treat this report as confidential and anonymous. To "
                    "help us diagnose the cause of this error and improve this software, please "
                    "describe what you were doing when this error occurred, and send this report "
                    "to us."),
                true);

    auto* details = new QGridLayout;
    const auto row = [&](const char* name, const char* text, QLabel*& field,
                         const char* fieldName) {
        const int at = details->rowCount();
        details->addWidget(caption(this, name, QString::fromLatin1(text)), at, 0, Qt::AlignTop);
        field = value(this, fieldName);
        details->addWidget(field, at, 1);
    };
    row("Label5", "Application:", lblApplication, "lblApplication");
    row("Label8", "Routine:", lblRoutine, "lblRoutine");
    row("Label11", "Line:", lblLineNumber, "lblLineNumber");
    row("Label6", "Trapping String:", lblTrappingString, "lblTrappingString");
    row("Label13", "System error:", lblSystemError, "lblSystemError");
    details->setColumnStretch(1, 1);

    txtEmail = new QLineEdit(this);
    txtEmail->setObjectName(QStringLiteral("txtEmail"));
    txtUserDescription = new QPlainTextEdit(this);
    txtUserDescription->setObjectName(QStringLiteral("txtUserDescription"));
    cmdSend = new QPushButton(QStringLiteral("&Send"), this);
    cmdSend->setObjectName(QStringLiteral("cmdSend"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdSend, &QPushButton::clicked, this, &frmErrorReport::cmdSend_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmErrorReport::cmdCancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSend);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblHeading);
    layout->addWidget(label4);
    layout->addLayout(details);
    layout->addWidget(caption(
        this, "Label2",
        QStringLiteral("Your Email address [Optional, but if you want feedback, input one]")));
    layout->addWidget(txtEmail);
    layout->addWidget(
        caption(this, "Label1",
                QStringLiteral("Describe the steps leading to this error as well as your system "
                               "configuration. (eg. Win XP)  - [Optional]"),
                true));
    layout->addWidget(txtUserDescription, 1);
    layout->addWidget(caption(
        this, "Label3",
        QStringLiteral("Sending this report to us will help resolve this bug/issue in upcoming "
                       "release. It should take a few seconds to submit this error report online."),
        true));
    lblReportFile = value(this, "lblReportFile");
    layout->addWidget(lblReportFile);
    layout->addLayout(buttons);
    resize(520, 560);
}

void frmErrorReport::subFillReport(const ErrorReport& report) {
    report_ = report;
    lblHeading->setText(AppPaths::executableName() + QStringLiteral(" has encountered a problem"));
    lblApplication->setText(ApplicationTitle + QLatin1Char(' ') + ErrAppVersion());
    lblLineNumber->setText(QString::number(report.line));
    lblRoutine->setText(report.source);
    lblSystemError->setText(ErrText(report));
    lblTrappingString->setText(report.activity);
    reportFile_ = newReportFilePath();
    saveReportFile();
}

void frmErrorReport::saveReportFile() {
    const ReportUserInput input{txtEmail->text(), txtUserDescription->toPlainText()};
    reportFileError_.clear();
    writeReportFile(reportFile_, reportFileText(report_, input), &reportFileError_);
    lblReportFile->setText(reportFileNote(reportFile_, reportFileError_));
}

void frmErrorReport::cmdSend_Click() {
    saveReportFile();
    const QUrl server = reportServer();
    hide();
    if (server.isEmpty()) {
        if (reportFileError_.isEmpty())
            msgBox(reportKeptMessage(reportFile_), mb::Information);
        else
            msgBox(reportFileNote(reportFile_, reportFileError_), mb::Critical);
        accept();
        return;
    }
    const QUrl address =
        buildReportAddress(server, report_, {txtEmail->text(), txtUserDescription->toPlainText()});
    showOutcome(sender_.send(address));
    accept();
}

void frmErrorReport::showOutcome(const ReportSendResult& result) {
    switch (result.outcome) {
    case ReportSendResult::Outcome::Sent:
        msgBox(reportThankYouMessage(), mb::Information);
        break;
    case ReportSendResult::Outcome::NoConnection:
        msgBox(QStringLiteral("No active internet connection detected on your system!"),
               mb::Critical);
        break;
    case ReportSendResult::Outcome::Failed:
        msgBox(reportFailedMessage(result.detail), mb::Critical);
        break;
    }
}

void frmErrorReport::cmdCancel_Click() {
    saveReportFile();
    reject();
}

bool isErrorReportOpen() {
    return g_reportOpen;
}

void installErrorReportWindow(std::shared_ptr<ReportSender> sender) {
    if (!sender)
        sender = std::make_shared<HttpReportSender>();
    setErrorPresenter([sender](const ErrorReport& report) {
        if (g_reportOpen || !qobject_cast<QApplication*>(QCoreApplication::instance()))
            return;
        // Cleared however the window ends, so a later error is shown again.
        struct OpenFlag {
            OpenFlag() { g_reportOpen = true; }
            ~OpenFlag() { g_reportOpen = false; }
        } open;
        frmErrorReport form(*sender, QApplication::activeWindow());
        form.subFillReport(report);
        form.exec();
    });
}

} // namespace picbasket
