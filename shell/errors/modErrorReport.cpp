#include "shell/errors/modErrorReport.h"
#include "Version.h"
#include "core/Globals.h"
#include "core/MessageBox.h"

#include <QByteArray>
#include <QStringList>
#include <utility>
#include <vector>

namespace picbasket {

namespace {

// No report server runs for this edition yet; the reserved ".invalid" domain makes
// sure nothing a user typed ever reaches a host nobody here controls.
constexpr const char* kDefaultReportServer = "https://reports.picbasket.invalid";
constexpr const char* kReportPath = "/email/reportError.asp";

QByteArray encoded(const QString& value) {
    return QUrl::toPercentEncoding(value);
}

} // namespace

QString ErrAppVersion() {
    return QStringLiteral("%1.%2.%3")
        .arg(version::Major)
        .arg(version::Minor)
        .arg(version::Revision);
}

QString ErrText(const ErrorReport& report) {
    return QString::number(report.number) + QStringLiteral(" - ") + report.description;
}

QUrl reportServer() {
    const QString over = qEnvironmentVariable("PICBASKET_REPORT_URL").trimmed();
    return QUrl(over.isEmpty() ? QString::fromLatin1(kDefaultReportServer) : over);
}

QString placeholderEmail() {
    return QStringLiteral("anonymous@picbasket.invalid");
}

QUrl buildReportAddress(const QUrl& server, const ErrorReport& report,
                        const ReportUserInput& input) {
    const QString email =
        input.email.trimmed().isEmpty() ? placeholderEmail() : input.email.trimmed();
    const std::vector<std::pair<const char*, QString>> fields = {
        {"ApplicationName", ApplicationTitle},
        {"EmailFrom", email},
        {"ApplicationVersion", ErrAppVersion()},
        {"RoutineName", report.source},
        {"ErrorLineNumber", QString::number(report.line)},
        {"StringMessage", report.activity},
        {"Error", ErrText(report)},
        {"UserDescription", input.description},
    };
    QByteArray query;
    for (const auto& [key, value] : fields) {
        if (!query.isEmpty())
            query += '&';
        query += key;
        query += '=';
        query += encoded(value);
    }
    QUrl address = server;
    QString path = address.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    address.setPath(path + QString::fromLatin1(kReportPath));
    address.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return address;
}

QString reportThankYouMessage() {
    return joinLines({QStringLiteral("Report send. Thank you very much for your time."), QString(),
                      QStringLiteral("If you had provided us with a valid email address,"),
                      QStringLiteral("one of our support staff will attend to this error report,"),
                      QStringLiteral("and you might get a responce from us")});
}

QString reportFailedMessage(const QString& detail) {
    QStringList lines = {QStringLiteral("The error report could not be sent.")};
    if (!detail.trimmed().isEmpty())
        lines << detail.trimmed();
    return joinLines(lines);
}

} // namespace picbasket
