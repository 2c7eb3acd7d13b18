#include "core/AppPaths.h"

#include "core/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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

// Why the folder cannot be this user's private folder, or an empty text. It is
// made 0700 at once (never made wider and narrowed later); one that exists must
// be a folder, not a link, and this user's own, and is narrowed to 0700, since
// another user's files never belong in it. The checks are made on the opened
// folder, so a link put in its place between the look and the use is refused.
QString makePrivateFolder(const QString& folder) {
    QDir().mkpath(QFileInfo(folder).absolutePath());
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return QString::fromLocal8Bit(std::strerror(errno));
    struct stat link {};
    if (::lstat(name.constData(), &link) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    if (S_ISLNK(link.st_mode))
        return QStringLiteral("it is a link");
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOTDIR ? QStringLiteral("it is not a folder")
                                : QString::fromLocal8Bit(std::strerror(errno));
    QString problem;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0)
        problem = QString::fromLocal8Bit(std::strerror(errno));
    else if (opened.st_uid != ::geteuid())
        problem = QStringLiteral("it belongs to another user");
    else if ((opened.st_mode & 0777) != 0700 && ::fchmod(fd, 0700) != 0)
        problem = QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return problem;
}

// The folder when it is private to this user. Otherwise the user is told (once
// for each folder and problem), and this run's private temporary folder serves instead, so no page
// is ever written where another user can read or replace it.
QString privateFolder(const QString& folder) {
    const QString problem = makePrivateFolder(folder);
    if (problem.isEmpty())
        return folder;
    static QSet<QString> told;
    if (!told.contains(folder + problem)) {
        told.insert(folder + problem);
        msgBox(QStringLiteral("The temporary page folder %1 cannot be used: %2. Pages are kept "
                              "in %3 for this session instead.")
                   .arg(folder, problem, AppPaths::privateTempFolder()),
               mb::OKOnly | mb::Exclamation);
    }
    return AppPaths::privateTempFolder();
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
