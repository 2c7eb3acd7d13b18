#include "platform/shell/modShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace picbasket {

bool subShellExecute(const QString& pathOrAddress) {
    const QString target = pathOrAddress.trimmed();
    if (target.isEmpty())
        return false;
    const QUrl url = target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

} // namespace picbasket
