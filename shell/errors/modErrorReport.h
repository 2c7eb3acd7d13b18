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

// The server that receives reports: PICBASKET_REPORT_URL when set (scheme, host,
// port and an optional path prefix), else the compiled default.
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

// The message after a report was received.
QString reportThankYouMessage();
// The message after a report could not be delivered.
QString reportFailedMessage(const QString& detail);

} // namespace picbasket
