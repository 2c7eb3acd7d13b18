#pragma once
#include "core/ErrorHandler.h"

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace picbasket {

class ReportSender;
struct ReportSendResult;

// The modal error report: what failed, where and while doing what, with room for the
// user's e-mail address and a description, and the choice to send it or not. It
// keeps its own copy of the report, so what is sent is what the user saw, and writes
// it as a text file in the user's report folder as soon as it opens (again with the
// user's text when it closes), saying where. Send sends only when
// PICBASKET_REPORT_URL names a server.
class frmErrorReport : public QDialog {
    Q_OBJECT
public:
    explicit frmErrorReport(ReportSender& sender, QWidget* parent = nullptr);

    // Fills the labels from the report.
    void subFillReport(const ErrorReport& report);
    // Hides the window, sends the report, tells the user how it went and closes.
    void cmdSend_Click();
    // Closes without sending.
    void cmdCancel_Click();

private:
    void buildControls();
    void showOutcome(const ReportSendResult& result);
    // Writes the report with what the user typed so far into its file.
    void saveReportFile();

    ReportSender& sender_;
    ErrorReport report_;
    QString reportFile_;
    QString reportFileError_;
    QLabel* lblHeading = nullptr;
    QLabel* lblApplication = nullptr;
    QLabel* lblRoutine = nullptr;
    QLabel* lblLineNumber = nullptr;
    QLabel* lblTrappingString = nullptr;
    QLabel* lblSystemError = nullptr;
    QLabel* lblReportFile = nullptr;
    QLineEdit* txtEmail = nullptr;
    QPlainTextEdit* txtUserDescription = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// Makes the error-report window the presenter of every error, sending through the
// given sender (the real HTTP sender when none is given). An error raised while a
// report is open is not shown again: it has gone to stderr already.
void installErrorReportWindow(std::shared_ptr<ReportSender> sender = {});
// True while an error report is on screen (or being sent).
bool isErrorReportOpen();

} // namespace picbasket
