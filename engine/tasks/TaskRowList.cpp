#include "engine/tasks/TaskRowList.h"

#include "core/AppError.h"

namespace picbasket {

TaskRow TaskRow::fromTask(const typTask& task) {
    TaskRow row;
    row.Text = QString::number(task.TaskID);
    row.Tag = task.TaskKey;
    for (int k = 1; k <= TaskParamCount; ++k)
        row.SubItems[k] = task.Param[k];
    return row;
}

const TaskRow& TaskRowList::row(int index) const {
    if (index < 0 || index >= rowCount())
        raiseError(err::SubscriptOutOfRange);
    return rows_[size_t(index)];
}

TaskRow& TaskRowList::row(int index) {
    if (index < 0 || index >= rowCount())
        raiseError(err::SubscriptOutOfRange);
    return rows_[size_t(index)];
}

void TaskRowList::removeRow(int index) {
    row(index);
    rows_.erase(rows_.begin() + index);
}

} // namespace picbasket
