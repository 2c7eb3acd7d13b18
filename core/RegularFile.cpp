#include "core/RegularFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace picbasket {

namespace {

// A name read from a folder whose bytes are not valid in the file-name encoding
// was decoded with replacement characters, so it names no file any more.
bool nameWasUnreadable(const QString& path) {
    return path.contains(QChar::ReplacementCharacter);
}

QString reasonOfErrno(int error, const QString& path) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return nameWasUnreadable(path) ? QStringLiteral("Its name cannot be read.")
                                       : QStringLiteral("The file no longer exists.");
    case ELOOP:
        return QStringLiteral("It is a link that leads nowhere.");
    default:
        return QStringLiteral("It cannot be opened: ") +
               QString::fromLocal8Bit(std::strerror(error));
    }
}

QString reasonOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("It is a folder.");
    return QStringLiteral("It is not a regular file.");
}

void setWhy(QString* why, const QString& reason) {
    if (why)
        *why = reason;
}

} // namespace

QString fncNotRegularFileReason(const QString& path) {
    if (path.isEmpty())
        return QStringLiteral("The file no longer exists.");
    const QByteArray name = QFile::encodeName(path);
    struct stat link {};
    if (::lstat(name.constData(), &link) != 0)
        return reasonOfErrno(errno, path);
    struct stat target {};
    if (::stat(name.constData(), &target) != 0) {
        // The name is there, what it leads to is not: a dangling link or a loop.
        if (S_ISLNK(link.st_mode))
            return QStringLiteral("It is a link that leads nowhere.");
        return reasonOfErrno(errno, path);
    }
    return reasonOfMode(target.st_mode);
}

bool fncIsRegularFile(const QString& path) {
    return fncNotRegularFileReason(path).isEmpty();
}

int openRegularDescriptor(const QString& path, QString* why) {
    const QString reason = fncNotRegularFileReason(path);
    if (!reason.isEmpty()) {
        setWhy(why, reason);
        return -1;
    }
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        setWhy(why, reasonOfErrno(errno, path));
        return -1;
    }
    struct stat opened {};
    QString openedReason;
    if (::fstat(fd, &opened) != 0)
        openedReason = reasonOfErrno(errno, path);
    else
        openedReason = reasonOfMode(opened.st_mode);
    if (openedReason.isEmpty() && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        openedReason = reasonOfErrno(errno, path);
    if (!openedReason.isEmpty()) {
        ::close(fd);
        setWhy(why, openedReason);
        return -1;
    }
    return fd;
}

bool openRegularFile(QFile& file, QString* why) {
    const int fd = openRegularDescriptor(file.fileName(), why);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setWhy(why, QStringLiteral("It cannot be opened: ") + file.errorString());
        return false;
    }
    return true;
}

std::FILE* openRegularStream(const QString& path, QString* why) {
    const int fd = openRegularDescriptor(path, why);
    if (fd < 0)
        return nullptr;
    std::FILE* stream = ::fdopen(fd, "rb");
    if (!stream) {
        setWhy(why, reasonOfErrno(errno, path));
        ::close(fd);
    }
    return stream;
}

} // namespace picbasket
