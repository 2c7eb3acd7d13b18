#include "platform/imagebox/WholeFileWriter.h"
#include "core/AppError.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
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

} // namespace

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
    if (!file.open(QIODevice::ReadOnly))
        raiseError(err::Unexpected,
                   QString("The file %1 could not be opened: %2").arg(path, file.errorString()));
    if (file.size() > limit)
        raiseError(err::Unexpected, QString("The file %1 is too large").arg(path));
    const QByteArray bytes = file.readAll();
    if (bytes.size() != file.size())
        raiseError(err::Unexpected, QString("The file %1 could not be read").arg(path));
    return bytes;
}

} // namespace picbasket::imagebox
