#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

// A folder only this user may enter, created when missing. An existing folder is
// narrowed to 0700 as well: another user's files never belong in it.
QString privateFolder(const QString& folder) {
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

QString writable(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location);
}

// $XDG_STATE_HOME has no QStandardPaths location in this Qt; its rule is read here
// (an absolute path, else ~/.local/state), with the test mode's own tree.
QString stateHome() {
    if (QStandardPaths::isTestModeEnabled())
        return QDir::homePath() + QStringLiteral("/.qttest/state");
    const QString env = qEnvironmentVariable("XDG_STATE_HOME");
    if (!env.isEmpty() && QDir::isAbsolutePath(env))
        return env;
    return QDir::homePath() + QStringLiteral("/.local/state");
}

QString appFolderName() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("PicBasket") : name;
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
    QString config = writable(QStandardPaths::AppConfigLocation);
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config/") + appFolderName();
    QDir().mkpath(config);
    return config;
}

// A data root that already ends in "/" (the file-system root) gets no second one.
QString AppPaths::setupFile() {
    QString root = dataRoot();
    if (!root.trimmed().endsWith('/'))
        root += '/';
    return root + executableName() + QStringLiteral(".setup");
}

QString AppPaths::tempPageFolder() {
    if (!g_dataRoot.isEmpty())
        return g_dataRoot + QStringLiteral("/temp");
    QString base = writable(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        base = writable(QStandardPaths::RuntimeLocation) + QLatin1Char('/') + appFolderName();
    return privateFolder(base + QStringLiteral("/temp"));
}

QString AppPaths::picturesFolder() {
    if (!g_dataRoot.isEmpty())
        return g_dataRoot;
    const QString pictures = writable(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

QString AppPaths::startFolder() {
    const QString pictures = picturesFolder();
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

QString AppPaths::reportFolder() {
    if (!g_dataRoot.isEmpty())
        return g_dataRoot + QStringLiteral("/reports");
    return stateHome() + QLatin1Char('/') + appFolderName() + QStringLiteral("/reports");
}

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
