#include "controls/dialogs/modCommonDialog.h"

#include "controls/dialogs/DialogBackend.h"

#include <QFileInfo>
#include <algorithm>

namespace picbasket {

namespace {

QString patternsOf(const QString& element) {
    QStringList patterns;
    for (const QString& part : element.split(QLatin1Char(';'))) {
        if (!part.trimmed().isEmpty()) {
            patterns << part.trimmed();
        }
    }
    return patterns.join(QLatin1Char(' '));
}

void showFileDialog(FileDialogRequest::Kind kind) {
    FileDialogRequest request;
    request.kind = kind;
    request.owner = CommonDialog.hWndOwner;
    request.title = CommonDialog.DialogTitle;
    request.nameFilters = fncFilterToNameFilters(CommonDialog.Filter);
    const int count = int(request.nameFilters.size());
    request.selectedFilter =
        count > 0 ? std::clamp(int(CommonDialog.FilterIndex), 1, count) - 1 : 0;
    request.initialFolder = CommonDialog.InitDir;
    request.flags = CommonDialog.Flags;

    const FileDialogAnswer answer = dialogBackend().showFileDialog(request);
    if (!answer.accepted || answer.path.isEmpty()) {
        return;
    }
    CommonDialog.FileName = answer.path;
    CommonDialog.FileTitle = QFileInfo(answer.path).fileName();
    if (count > 0) {
        CommonDialog.FilterIndex = std::clamp(answer.selectedFilter, 0, count - 1) + 1;
    }
}

} // namespace

QStringList fncFilterToNameFilters(const QString& filter) {
    const QStringList elements = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < elements.size(); i += 2) {
        const QString patterns = patternsOf(elements[i + 1]);
        if (elements[i].isEmpty() || patterns.isEmpty()) {
            break;
        }
        entries << elements[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries;
}

void fncShowOpen() {
    showFileDialog(FileDialogRequest::Kind::Open);
}

void fncShowSave() {
    showFileDialog(FileDialogRequest::Kind::Save);
}

} // namespace picbasket
