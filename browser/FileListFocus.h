#pragma once
#include <QString>

namespace picbasket {

class ListView;

// What is current and what has the focus, one object the window owns and every pane
// that needs it holds: the two file lists the preview follows, which of them last had
// the focus, how the folder list was last selected, and the file the preview shows.
// The lists' handlers write the focus, the preview writes the file; the folder pane,
// the basket, the preview and the metadata pane read them.
struct FileListFocus {
    // The folder list and the basket list, set by their panes as they are built.
    ListView* FolderList = nullptr;
    ListView* BasketList = nullptr;
    // The list that last got the focus ("lvFolder", "lvPages"), for previous and next.
    QString ActiveFileList;
    // Set by a drop on the folder list (and at start-up): key and mouse releases do
    // not preview until a click leaves fewer than two rows selected.
    bool FolderListDropped = false;
    // The rows selected at the last click on the folder list.
    int SelectedRowCount = 0;
    // The file the preview shows, "" while it shows none or a picture of no file. The
    // metadata commands write only to this file.
    QString PicTiffTag;

    // The list the preview's previous and next step through.
    ListView* activeList() const {
        return ActiveFileList == QLatin1String("lvPages") ? BasketList : FolderList;
    }
};

} // namespace picbasket
