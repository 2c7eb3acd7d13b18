#include "editing/TaskBasketReplay.h"

#include "editing/TaskBasketRows.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBox.h"

namespace picbasket {

namespace {

struct RunningScope {
    explicit RunningScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningScope() { flag_ = false; }
    bool& flag_;
};

} // namespace

TaskBasketReplay::TaskBasketReplay(const ListView& lvEdit, const ListView& lvEditPreview,
                                   const TaskRowList& lvEditBatch)
    : lvEdit_(lvEdit), lvEditPreview_(lvEditPreview), lvEditBatch_(lvEditBatch) {}

bool TaskBasketReplay::replay(ImageBox& box, const QImage& original, bool wholeBasket) {
    if (running_ || original.isNull())
        return false;
    RunningScope scope(running_);
    box.setImage(original);
    const ListViewTaskSelection explorerList(lvEdit_);
    const ListViewTaskSelection editList(lvEditPreview_);
    subProcessPages(&explorerList, lvEditBatch_, box, &editList, wholeBasket);
    return true;
}

int TaskBasketReplay::selectedRow(int activeList) const {
    const ListView& list = activeList == 1 ? lvEditPreview_ : lvEdit_;
    for (int r = 1; r <= list.Count(); ++r)
        if (list.Selected(r))
            return r;
    return 0;
}

void subClearTaskSelection(ListView& list) {
    for (int r = 1; r <= list.Count(); ++r)
        list.setSelected(r, false);
}

} // namespace picbasket
