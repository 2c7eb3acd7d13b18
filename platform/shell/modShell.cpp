#include "platform/shell/modShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace picbasket {

namespace {

QUrl urlOf(const QString& target) {
    return target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
}

QStringList browserCommands() {
    QStringList commands;
    for (const QString& entry : qEnvironmentVariable("BROWSER").split(QLatin1Char(':')))
        if (!entry.trimmed().isEmpty())
            commands << entry.trimmed();
    commands << QStringLiteral("sensible-browser") << QStringLiteral("x-www-browser");
    return commands;
}

} // namespace

bool subShellExecute(const QString& pathOrAddress) {
    const QString target = pathOrAddress.trimmed();
    if (target.isEmpty())
        return false;
    return QDesktopServices::openUrl(urlOf(target));
}

bool subOpenInBrowser(const QString& pathOrAddress) {
    if (pathOrAddress.trimmed().isEmpty())
        return false;
    if (subShellExecute(pathOrAddress))
        return true;
    const QString address = urlOf(pathOrAddress.trimmed()).toString();
    for (const QString& command : browserCommands()) {
        const QString program = QStandardPaths::findExecutable(command);
        if (!program.isEmpty() && QProcess::startDetached(program, {address}))
            return true;
    }
    return false;
}

} // namespace picbasket
