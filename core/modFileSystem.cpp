#include "core/modFileSystem.h"
#include "core/AppPaths.h"
#include "core/MessageBox.h"

#include <QDir>
#include <QFileInfo>

namespace picbasket {

namespace {

// Index of the last "." within the last path component, or -1.
int lastDotOfName(const QString& name) {
    const int slash = int(name.lastIndexOf('/'));
    const int dot = int(name.lastIndexOf('.'));
    return dot > slash ? dot : -1;
}

} // namespace

QString fncGetTempPath() {
    QString path = AppPaths::privateTempFolder();
    return subAddBackslash(path);
}

QString fncGetFileExtension(const QString& fileName) {
    const int dot = lastDotOfName(fileName);
    return dot < 0 ? fileName : fileName.mid(dot + 1);
}

QString fncStripFileExtension(const QString& fileName) {
    const int dot = lastDotOfName(fileName);
    return dot < 0 ? fileName : fileName.left(dot);
}

QString fncGetFolderFromPath(const QString& path) {
    const int slash = int(path.lastIndexOf('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString subAddBackslash(QString& path) {
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return QString();
    path = trimmed;
    if (!path.endsWith('/'))
        path += '/';
    return path;
}

bool subCreateDirectory(const QString& path) {
    if (QFileInfo(path).isDir())
        return true;
    if (QDir().mkdir(path))
        return true;
    msgBox(QStringLiteral("Error creating directory"), mb::OKOnly);
    return false;
}

bool fncFileExists(const QString& path) {
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QFileInfo info(trimmed);
    return info.exists() && !info.isDir();
}

bool fncFolderExists(const QString& path, bool /*includeFolders*/) {
    return !path.trimmed().isEmpty() && QFileInfo(path.trimmed()).isDir();
}

} // namespace picbasket
