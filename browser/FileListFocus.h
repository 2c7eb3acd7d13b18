#pragma once
#include <QString>

namespace picbasket {

// Which file list the preview follows, shared by the folder list, the basket list and
// the preview's previous and next: the lists' handlers write it, the preview reads it.
struct FileListFocus {
    // The list that last got the focus ("lvFolder", "lvPages"), for previous and next.
    QString ActiveFileList;
    // Set by a drop on the folder list (and at start-up): key and mouse releases do
    // not preview until a click leaves fewer than two rows selected.
    bool FolderListDropped = false;
    // The rows selected at the last click on the folder list.
    int SelectedRowCount = 0;
};

} // namespace picbasket
