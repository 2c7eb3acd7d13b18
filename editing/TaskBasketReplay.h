#pragma once
#include <QByteArray>
#include <QImage>

namespace picbasket {

class ImageBox;
class ListView;
class TaskRowList;

// Replays the task basket on the preview from the image as loaded. The confirmed
// copy is always the whole basket applied to that image: after the rows change
// (open, remove) every row is replayed with no row selected and the copy taken
// again; a row click replays up to the selected row and leaves the copy alone, so
// its preview is an intermediate state. The task engine lets events run between
// rows, so a replay refuses to start while another one runs, and the window asks
// isRunning before it changes the rows.
class TaskBasketReplay {
public:
    TaskBasketReplay(const ListView& lvEdit, const ListView& lvEditPreview,
                     const TaskRowList& lvEditBatch);

    bool isRunning() const { return running_; }

    // Loads original into the box and runs the rows up to the selected row of the
    // active list (ActiveTaskList), or every row with wholeBasket. False, doing
    // nothing, while a replay runs or without an original image.
    bool replay(ImageBox& box, const QImage& original, bool wholeBasket);

    // The basket's row that the remove command takes: the selected row of the active
    // list (0 lvEdit, 1 lvEditPreview), 0 for none.
    int selectedRow(int activeList) const;

private:
    const ListView& lvEdit_;
    const ListView& lvEditPreview_;
    const TaskRowList& lvEditBatch_;
    bool running_ = false;
};

// Deselects every row of a visible task list.
void subClearTaskSelection(ListView& list);

} // namespace picbasket
