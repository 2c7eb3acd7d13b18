#include "platform/imagebox/WholeFileWriter.h"
#include "core/AppError.h"
#include "core/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace picbasket::imagebox {

namespace {

[[noreturn]] void cannotWrite(const QString& path, const QString& why) {
    raiseError(err::Unexpected, QString("The file %1 could not be written: %2").arg(path, why));
}

QFile::Permissions permissionsFor(const QString& path) {
    const QFileInfo existing(path);
    if (existing.exists())
        return existing.permissions();
    return QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
}

// Gives the finished temporary file the target's name unless that name exists. File
// systems without the no-replace rename get a hard link, which refuses an existing
// name just as well.
bool renameNoReplace(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno == EEXIST)
        return false;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        cannotWrite(to, "the finished file could not take its name");
    if (::link(source.constData(), target.constData()) != 0) {
        if (errno == EEXIST)
            return false;
        cannotWrite(to, "the finished file could not take its name");
    }
    ::unlink(source.constData());
    return true;
}

// The bytes in a hidden temporary file beside the target, on disk, closed.
void writeTemporary(QTemporaryFile& temporary, const QString& path, const QByteArray& bytes) {
    const QFileInfo target(path);
    if (target.fileName().isEmpty() || target.isDir())
        cannotWrite(path, "the name is no file name");
    temporary.setFileTemplate(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
    if (!temporary.open())
        cannotWrite(path, temporary.errorString());
    if (temporary.write(bytes) != bytes.size() || !temporary.flush() ||
        ::fsync(temporary.handle()) != 0)
        cannotWrite(path, temporary.errorString());
    temporary.close();
}

} // namespace

bool writeNewFile(const QString& path, const QByteArray& bytes,
                  const std::function<void(const QString&)>& beforeCommit) {
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
        return false;
    QTemporaryFile temporary;
    writeTemporary(temporary, path, bytes);
    if (beforeCommit)
        beforeCommit(temporary.fileName());
    QFile::setPermissions(temporary.fileName(), permissionsFor(path));
    if (!renameNoReplace(temporary.fileName(), QFileInfo(path).absoluteFilePath()))
        return false;
    temporary.setAutoRemove(false);
    return true;
}

void writeWholeFile(const QString& path, const QByteArray& bytes,
                    const std::function<void(const QString&)>& beforeCommit) {
    const QFileInfo target(path);
    if (target.fileName().isEmpty() || target.isDir())
        cannotWrite(path, "the name is no file name");
    QTemporaryFile temporary(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
    if (!temporary.open())
        cannotWrite(path, temporary.errorString());
    if (temporary.write(bytes) != bytes.size() || !temporary.flush() ||
        ::fsync(temporary.handle()) != 0)
        cannotWrite(path, temporary.errorString());
    temporary.close();
    if (beforeCommit)
        beforeCommit(temporary.fileName());
    QFile::setPermissions(temporary.fileName(), permissionsFor(path));
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        cannotWrite(path, "the finished file could not take its name");
    temporary.setAutoRemove(false);
}

QByteArray readWholeFile(const QString& path, qint64 limit) {
    QFile file(path);
    QString why;
    if (!openRegularFile(file, &why))
        raiseError(err::Unexpected, QString("The file %1 could not be opened: %2").arg(path, why));
    if (file.size() > limit)
        raiseError(err::Unexpected, QString("The file %1 is too large").arg(path));
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        raiseError(err::Unexpected, QString("The file %1 could not be read").arg(path));
    return bytes;
}

} // namespace picbasket::imagebox
