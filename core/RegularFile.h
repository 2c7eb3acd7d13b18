#pragma once
#include <QByteArray>
#include <QString>
#include <cstdio>

class QFile;

// Opening the image files a user named. A name in a basket or a folder can stand
// for a named pipe, a device, a folder or a link that leads nowhere; opening a pipe
// for reading waits for a writer for ever. Every reader of a user's image goes
// through these helpers: they look at the name first (lstat and stat), open with
// O_NONBLOCK, so that a file swapped for a pipe between the look and the open still
// cannot block, and then check the open descriptor (fstat) before a byte is read.
namespace picbasket {

// Why the path is not a regular file that can be read, in a sentence for the user
// ("The file no longer exists.", "It is a link that leads nowhere.", "Its name cannot
// be read.", "It is a folder.", "It is not a regular file."); empty when it is one.
QString fncNotRegularFileReason(const QString& path);

// True when the path names a regular file (a link is followed).
bool fncIsRegularFile(const QString& path);

// Opens `file` (by its fileName()) read-only when it is a regular file. On failure
// returns false and, when `why` is given, sets it to the reason. The file is
// opened without O_NONBLOCK once the descriptor is known to be a regular file. Qt
// forgets the name of a file opened by its descriptor: fileName() is empty after
// a successful open, so a reader that goes by the name's suffix (QImageReader) is
// given the format.
bool openRegularFile(QFile& file, QString* why = nullptr);

// A C stream reading the regular file, or nullptr (with `why` set) when it is none.
// The caller closes it with fclose.
std::FILE* openRegularStream(const QString& path, QString* why = nullptr);

// Opens a read-only descriptor of the regular file, or -1 (with `why` set).
int openRegularDescriptor(const QString& path, QString* why = nullptr);

} // namespace picbasket
