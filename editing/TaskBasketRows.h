#pragma once
#include "engine/tasks/TaskRowList.h"

namespace picbasket {

class ListView;

// A visible task list as the task engine sees it: row i of the engine is row i + 1
// of the list view.
class ListViewTaskSelection : public TaskListSelection {
public:
    explicit ListViewTaskSelection(const ListView& list) : list_(list) {}
    bool isRowSelected(int index) const override;

private:
    const ListView& list_;
};

// The task basket: the two visible lists (explorer view and edit view) and the
// executable rows. Row n of each is the same task, so the three gain and lose rows
// only together, through these.
class TaskBasketRows {
public:
    TaskBasketRows(ListView& lvEdit, ListView& lvEditPreview, TaskRowList& lvEditBatch)
        : lvEdit_(lvEdit), lvEditPreview_(lvEditPreview), lvEditBatch_(lvEditBatch) {}

    int count() const { return lvEditBatch_.rowCount(); }
    // Appends the task to all three lists: the visible rows show its basket name with
    // its key as the small icon. A red-eye correction is never queued: false.
    bool add(const typTask& task);
    // Removes row `row` (1-based) from all three; false when there is no such row.
    bool remove(int row);
    void clear();

private:
    ListView& lvEdit_;
    ListView& lvEditPreview_;
    TaskRowList& lvEditBatch_;
};

// Whether a preview that was run "up to the selected row" of the given list shows
// every row of the basket: no row is selected before the last one.
bool fncReplayCoversWholeBasket(const TaskListSelection& selection, int rowCount);

} // namespace picbasket
