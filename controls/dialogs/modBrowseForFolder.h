#pragma once
#include <QString>
#include <cstdint>

class QWidget;

namespace picbasket {

// The folder chooser that picks an output folder.

// Opens the chooser titled "Please select a destination folder to save all the
// files!" at the start folder (no preselection when it is empty) and returns the
// chosen folder as it came, or "" when the user cancelled or chose only blanks.
QString fncBrowseDestinationFolder(QWidget* owner, const QString& startFolder);

// The chooser itself; "" on cancel, and on a failure, which goes to the error handler
// as "modBrowseForFolder.Folder_Browse".
QString Folder_Browse(QWidget* owner, const QString& title, int32_t flags,
                      const QString& startFolder);

} // namespace picbasket
