#pragma once
#include <QString>

// File-name and folder helpers. Paths use "/"; extension and name searches look only
// at the last path component and at its last ".".
namespace picbasket {

// This run's private temporary folder, ending in "/".
QString fncGetTempPath();
// The text after the last "." of the last component; a name without "." is returned whole.
QString fncGetFileExtension(const QString& fileName);
// The text before the last "." of the last component; a name without "." is returned unchanged.
QString fncStripFileExtension(const QString& fileName);
// The text up to and including the last "/"; empty when there is none.
QString fncGetFolderFromPath(const QString& path);
// Trims the path and appends "/" when missing; a blank path becomes empty and is
// left as it was. Returns the path.
QString subAddBackslash(QString& path);
// Creates one folder level; an existing folder is success. On failure a message box
// "Error creating directory". Returns whether the folder now exists.
bool subCreateDirectory(const QString& path);
// True when the trimmed path names an existing file (not a folder).
bool fncFileExists(const QString& path);
// True only when the path names an existing folder.
bool fncFolderExists(const QString& path, bool includeFolders = true);

} // namespace picbasket
