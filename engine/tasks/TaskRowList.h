#pragma once
#include "engine/tasks/TaskType.h"

#include <QString>
#include <array>
#include <vector>

namespace picbasket {

// One executable task row: Text is the task number as text, Tag the task key,
// SubItems[1] to SubItems[17] the parameters (element 0 unused).
struct TaskRow {
    QString Text;
    QString Tag;
    std::array<QString, TaskParamCount + 1> SubItems;

    // The row a confirmed task becomes.
    static TaskRow fromTask(const typTask& task);
};

// The hidden list of executable task rows (`lvEditBatch`), in the order the tasks
// were confirmed. It is plain data: the task engine runs it, the task-basket
// files store it, the windows add and remove rows in step with the visible lists.
class TaskRowList {
public:
    int rowCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    // Rows are indexed from 0; an index outside the list raises error 9.
    const TaskRow& row(int index) const;
    TaskRow& row(int index);
    void addRow(const TaskRow& row) { rows_.push_back(row); }
    void addTask(const typTask& task) { rows_.push_back(TaskRow::fromTask(task)); }
    void removeRow(int index);
    void clear() { rows_.clear(); }
    const std::vector<TaskRow>& rows() const { return rows_; }

private:
    std::vector<TaskRow> rows_;
};

// What the task engine asks of a visible task list (`lvEdit`, `lvEditPreview`):
// which of its rows are selected. Rows are indexed from 0, as in TaskRowList.
class TaskListSelection {
public:
    virtual ~TaskListSelection() = default;
    virtual bool isRowSelected(int index) const = 0;
};

// Which visible list's selected row ends a preview run of the task engine:
// 0 the explorer view's list, 1 the edit view's list.
inline int32_t ActiveTaskList = 0;

} // namespace picbasket
