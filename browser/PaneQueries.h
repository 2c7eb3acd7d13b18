#pragma once
#include <vector>

class QMenu;

namespace picbasket {

struct BasketSource;
class FileListBox;
class ImageBox;
class ProgressBar;
class TaskRowList;

// What a pane of the main window asks of another pane and needs answered at once,
// which no signal can carry: a box or list to work in, a flag to poll, a state to
// test before acting. Everything else a pane wants of the others it asks by a signal
// of its own, which the window connects. The window's PaneWiring answers each
// question from the one pane that owns the answer.
class PaneQueries {
public:
    // The hidden box the batch converts in.
    virtual ImageBox& batchBox() = 0;
    // The file list box whose Path is the folder the folder list shows.
    virtual FileListBox& folderFiles() = 0;
    // Copies of the folder list's selected rows in list order.
    virtual std::vector<BasketSource> folderRowsSelected() const = 0;
    // The flag that stops a folder listing, which the basket's print honours too.
    virtual bool& folderListingAbort() = 0;
    // The basket's bar, where the folder listing shows its progress, and whether an
    // add to the basket runs (a second one is refused meanwhile).
    virtual ProgressBar* basketBar() = 0;
    virtual bool basketAddRuns() const = 0;
    // The edit view's task rows, which the batch applies to every basket row.
    virtual const TaskRowList& batchTaskRows() const = 0;
    // The batch menu the basket's caption pops up.
    virtual QMenu* batchMenu() = 0;

protected:
    ~PaneQueries() = default;
};

} // namespace picbasket
