#pragma once
#include "core/ErrorHandler.h"

#include <QString>
#include <QUrl>

namespace picbasket {

// The texts and the request address of the error report.

// The program version as major.minor.revision.
QString ErrAppVersion();
// The error number in decimal, " - " and the description.
QString ErrText(const ErrorReport& report);

// The server that receives reports: PICBASKET_REPORT_URL (scheme, host, port and an
// optional path prefix). Empty when the variable names none: this edition has no
// server of its own, so a report is then only kept as a file.
QUrl reportServer();
// The address used when the user gives none.
QString placeholderEmail();

// What the user typed in the report window.
struct ReportUserInput {
    QString email;       // blanks around it are trimmed; empty means the placeholder
    QString description; // sent as typed
};

// The report request: the server, the path "/email/reportError.asp" and the query
// keys ApplicationName, EmailFrom, ApplicationVersion, RoutineName, ErrorLineNumber,
// StringMessage, Error and UserDescription in that order. Every value is
// percent-encoded as UTF-8, so "&", "=", "+", blanks and line breaks in user text
// arrive as typed and cannot add or split parameters.
QUrl buildReportAddress(const QUrl& server, const ErrorReport& report,
                        const ReportUserInput& input);

// The report as a text file's contents: the facts of the error, then what the user
// typed.
QString reportFileText(const ErrorReport& report, const ReportUserInput& input);
// The reports a report folder keeps: writing a new one removes the oldest beyond.
inline constexpr int MaximumReportFiles = 100;

// Writes text into path whole (QSaveFile), mode 0600, making its folder (mode 0700,
// and an existing one narrowed to it); then removes the oldest report files of that
// folder beyond MaximumReportFiles. False with the reason in error when it cannot.
bool writeReportFile(const QString& path, const QString& text, QString* error);
// A new file name in the user's report folder for an error raised at this moment.
QString newReportFilePath();
// What the report window says about the file it keeps.
QString reportFileNote(const QString& path, const QString& error);
// The message after Send when no server is set: the report stays in its file.
QString reportKeptMessage(const QString& path);

// The message after a report was received.
QString reportThankYouMessage();
// The message after a report could not be delivered.
QString reportFailedMessage(const QString& detail);

} // namespace picbasket
