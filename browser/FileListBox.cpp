#include "browser/FileListBox.h"

#include <QDir>

namespace picbasket {

void FileListBox::Refresh() {
    names_.clear();
    if (Path.isEmpty())
        return;
    const QDir folder(Path);
    if (!folder.exists())
        return;
    const QStringList filters = Pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // Without QDir::Hidden, QDir::System and QDir::CaseSensitive: visible regular files
    // (and links to them), matched case-insensitively.
    names_ = folder.entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

} // namespace picbasket
