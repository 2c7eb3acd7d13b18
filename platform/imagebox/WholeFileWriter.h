#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

namespace picbasket::imagebox {

// Writes a file whole or not at all: the bytes go to a temporary name beside the
// target, `beforeCommit` may still change that temporary file (metadata), and
// only then is it renamed over the target. Any failure raises AppError
// 0x8000FFFF and leaves the target as it was.
void writeWholeFile(const QString& path, const QByteArray& bytes,
                    const std::function<void(const QString& temporaryPath)>& beforeCommit = {});

// Writes a new file whole or not at all, as writeWholeFile does, but never over an
// existing one: false, leaving that file alone, when the name is taken (also when it
// is taken while the bytes are written). Other failures raise AppError 0x8000FFFF.
bool writeNewFile(const QString& path, const QByteArray& bytes,
                  const std::function<void(const QString& temporaryPath)>& beforeCommit = {});

// The whole file, refusing one larger than `limit` bytes; a file that cannot be
// read raises AppError 0x8000FFFF.
QByteArray readWholeFile(const QString& path, qint64 limit);

} // namespace picbasket::imagebox
