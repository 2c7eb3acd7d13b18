#pragma once
#include <QString>

namespace picbasket {

class ListView;
class TaskRowList;

// The task basket files: ".tbf" holds the executable task rows (task number, task key
// and the 17 parameters a line), each line a record of the quoted-record form
// (core/QuotedRecords.h), written and read through browser/clsFile as the basket
// files are. Both functions end in the error tail: a failure is reported and the
// function returns false. An open reads and checks the whole file before it changes
// a list; a save replaces the file only when every record was written.

// Saves the task rows, one 19-field record each. Appends ".tbf" unless path ends so
// in any case. An empty list writes nothing and gives false.
bool fncSaveTaskBasket(QString& path, const TaskRowList& lvEditBatch);

// Replaces the three task lists with the file's rows. Every record must hold 19
// fields and a task number of 1 to 15, or the file is refused and the lists stay.
bool fncOpenTaskBasket(const QString& path, ListView& lvEdit, ListView& lvEditPreview,
                       TaskRowList& lvEditBatch);

} // namespace picbasket
