#include "shell/errors/modErrorReport.h"
#include "Version.h"
#include "core/Globals.h"
#include "core/MessageBox.h"

#include "core/AppPaths.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace picbasket {

namespace {

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
    return over.isEmpty() ? QUrl() : QUrl(over);
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

QString reportFileText(const ErrorReport& report, const ReportUserInput& input) {
    const QStringList lines = {
        QStringLiteral("Application: ") + ApplicationTitle + QLatin1Char(' ') + ErrAppVersion(),
        QStringLiteral("Routine: ") + report.source,
        QStringLiteral("Line: ") + QString::number(report.line),
        QStringLiteral("Trapping String: ") + report.activity,
        QStringLiteral("System error: ") + ErrText(report),
        QStringLiteral("Email: ") + input.email.trimmed(),
        QStringLiteral("Description:"),
        input.description,
    };
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

namespace {

constexpr QFileDevice::Permissions OwnerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// The report folder is the user's own: made 0700, and narrowed to 0700 when an
// earlier run left it wider.
bool makeReportFolder(const QString& folder, QString* error) {
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        *error = QStringLiteral("The folder %1 cannot be made.").arg(folder);
        return false;
    }
    if (!info.exists() && (!QDir().mkpath(info.absolutePath()) ||
                           !QDir().mkdir(folder, OwnerOnlyFolder))) {
        *error = QStringLiteral("The folder %1 cannot be made.").arg(folder);
        return false;
    }
    if (!QFile::setPermissions(folder, OwnerOnlyFolder)) {
        *error = QStringLiteral("The folder %1 cannot be made private.").arg(folder);
        return false;
    }
    return true;
}

// Report files older than the newest MaximumReportFiles are removed; only names of
// the report pattern are touched.
void removeOldReports(const QString& folder) {
    QFileInfoList reports = QDir(folder).entryInfoList(
        {QStringLiteral("report-*.txt")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    if (reports.size() <= MaximumReportFiles)
        return;
    std::sort(reports.begin(), reports.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const QDateTime ta = a.lastModified(), tb = b.lastModified();
        return ta != tb ? ta > tb : a.fileName() > b.fileName();
    });
    for (qsizetype i = MaximumReportFiles; i < reports.size(); ++i)
        QFile::remove(reports[i].absoluteFilePath());
}

} // namespace

bool writeReportFile(const QString& path, const QString& text, QString* error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!makeReportFolder(folder, error))
        return false;
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    // The temporary file is narrowed before anything is written into it, and the
    // rename keeps its mode.
    const bool opened = file.open(QIODevice::WriteOnly) && ::fchmod(file.handle(), 0600) == 0;
    if (!opened || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        if (error->isEmpty())
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    removeOldReports(folder);
    return true;
}

// The time to the millisecond keeps two reports of one run apart; a taken name still
// gets a number of its own.
QString newReportFilePath() {
    const QString folder = AppPaths::reportFolder();
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString path = folder + QStringLiteral("/report-") + stamp + QStringLiteral(".txt");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + QStringLiteral("/report-%1-%2.txt").arg(stamp).arg(n);
    return path;
}

QString reportFileNote(const QString& path, const QString& error) {
    if (!error.isEmpty())
        return QStringLiteral("This report could not be saved as %1: %2").arg(path, error);
    return QStringLiteral("This report is saved as %1").arg(path);
}

QString reportKeptMessage(const QString& path) {
    return joinLines({QStringLiteral("No report server is set up, so the report was not sent."),
                      QStringLiteral("It is saved as:"), path});
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
