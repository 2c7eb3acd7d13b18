#pragma once
#include "engine/tasks/TaskRowList.h"

#include <functional>

namespace picbasket {

class ImageBox;

// Runs the executable task rows in order on the image in `box`, each as a fixed
// sequence of image-box operations. Events run once before each row. With noStop
// false the run ends after the first row whose row at the same position in the
// visible list named by ActiveTaskList is selected (lvEdit for 0, lvEditPreview
// for 1); with noStop true the visible lists are not touched and may be null.
// An operation failing with type mismatch (13) or the unexpected failure
// (0x8000FFFF) is skipped; any other failure ends the run without a message.
// Sets CurrentActivity as it goes; never throws.
void subProcessPages(const TaskListSelection* lvEdit, const TaskRowList& lvEditBatch, ImageBox& box,
                     const TaskListSelection* lvEditPreview, bool noStop);

// Runs one task on the box with the operations a task row of it runs, so that a
// preview shows what the batch will write. Unlike a row run, any failure of an
// operation is thrown to the caller (an AppError), and the box may then hold the
// operations done before it.
void subRunTask(const typTask& task, ImageBox& box);

// Runs every task row on the box with the same skipping rules, but without
// events, status text or busy pointer, so that a batch job may run it on a worker
// thread. Never throws.
void fncRunTaskRows(const TaskRowList& rows, ImageBox& box);

// The windows set this to show a busy pointer while a run works: called with
// true when a run starts on a non-empty row list and with false whenever it ends.
void setTaskBusyCursorHook(std::function<void(bool busy)> hook);

} // namespace picbasket
