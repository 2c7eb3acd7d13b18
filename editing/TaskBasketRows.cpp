#include "editing/TaskBasketRows.h"

#include "platform/comctl/ListView.h"

namespace picbasket {

bool ListViewTaskSelection::isRowSelected(int index) const {
    return index >= 0 && index < list_.Count() && list_.Selected(index + 1);
}

bool TaskBasketRows::add(const typTask& task) {
    if (task.TaskID == int32_t(TaskType::RedEye))
        return false;
    const QString name = fncGetTaskName(task.TaskID);
    lvEdit_.AddItem(name, {}, task.TaskKey);
    lvEditPreview_.AddItem(name, {}, task.TaskKey);
    lvEditBatch_.addTask(task);
    return true;
}

bool TaskBasketRows::remove(int row) {
    if (row < 1 || row > count())
        return false;
    lvEditBatch_.removeRow(row - 1);
    lvEditPreview_.Remove(row);
    lvEdit_.Remove(row);
    return true;
}

void TaskBasketRows::clear() {
    lvEditBatch_.clear();
    lvEditPreview_.Clear();
    lvEdit_.Clear();
}

bool fncReplayCoversWholeBasket(const TaskListSelection& selection, int rowCount) {
    for (int i = 0; i + 1 < rowCount; ++i)
        if (selection.isRowSelected(i))
            return false;
    return true;
}

} // namespace picbasket
