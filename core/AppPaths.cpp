#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

namespace picbasket {

namespace {

QString g_programFolder;
QString g_dataRoot;
QString g_executableName;

QFileInfo executable() {
    if (QCoreApplication::instance())
        return QFileInfo(QCoreApplication::applicationFilePath());
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
}

bool isWritableFolder(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

QString AppPaths::programFolder() {
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    return executable().absolutePath();
}

QString AppPaths::executableName() {
    if (!g_executableName.isEmpty())
        return g_executableName;
    return executable().completeBaseName();
}

QString AppPaths::dataRoot() {
    if (!g_dataRoot.isEmpty())
        return g_dataRoot;
    const QString program = programFolder();
    if (isWritableFolder(program))
        return program;
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty())
        user = QDir::homePath() + QStringLiteral("/.local/share/PicBasket");
    QDir().mkpath(user);
    return user;
}

// A data root that already ends in "/" (the file-system root) gets no second one.
QString AppPaths::setupFile() {
    QString root = dataRoot();
    if (!root.trimmed().endsWith('/'))
        root += '/';
    return root + executableName() + QStringLiteral(".setup");
}

QString AppPaths::tempPageFolder() { return dataRoot() + QStringLiteral("/temp"); }

QString AppPaths::privateTempFolder() {
    // QTemporaryDir creates the directory with mode 0700 and removes it when destroyed.
    static std::unique_ptr<QTemporaryDir> dir;
    if (!dir || !dir->isValid())
        dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/picbasket-XXXXXX"));
    return dir->path();
}

void AppPaths::overrideProgramFolder(const QString& folder) { g_programFolder = folder; }
void AppPaths::overrideDataRoot(const QString& folder) { g_dataRoot = folder; }
void AppPaths::overrideExecutableName(const QString& name) { g_executableName = name; }

void AppPaths::resetOverrides() {
    g_programFolder.clear();
    g_dataRoot.clear();
    g_executableName.clear();
}

} // namespace picbasket
