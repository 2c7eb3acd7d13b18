#include "editing/modTaskBasketFile.h"

#include "browser/clsFile.h"
#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "editing/TaskBasketRows.h"
#include "engine/tasks/TaskRowList.h"
#include "platform/comctl/ListView.h"

#include <vector>

namespace picbasket {

namespace {

// Appends ".tbf" unless the path ends so already, in any case.
void completeTaskBasketPath(QString& path) {
    if (path.right(4).toLower() != QLatin1String(".tbf"))
        path += QStringLiteral(".tbf");
}

int taskNumberOf(const QString& text, int line, const QString& path) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number < int(TaskType::Flip) || number > int(TaskType::Shadow))
        raiseError(err::InputPastEnd,
                   QStringLiteral("Line %1 of '%2' holds no task number from 1 to 15.")
                       .arg(line)
                       .arg(path));
    return number;
}

// Every task of the file, read and checked before the lists are touched.
std::vector<typTask> basketTasks(const QString& path) {
    clsFile file;
    if (!file.OpenForRead(path))
        raiseError(file.ErrorNumber(), file.ErrorText());
    std::vector<typTask> tasks;
    while (!file.fEof()) {
        QStringList fields;
        file.read_EditingList(fields);
        typTask task;
        task.TaskID = taskNumberOf(fields[0], file.recordLine(), path);
        task.TaskKey = fields[1];
        for (int k = 1; k <= TaskParamCount; ++k)
            task.Param[size_t(k)] = fields[k + 1];
        tasks.push_back(task);
    }
    file.closefile();
    return tasks;
}

} // namespace

bool fncSaveTaskBasket(QString& path, const TaskRowList& lvEditBatch) {
    bool saved = false;
    errorTail(QStringLiteral("modSaveOpenImageList.fncSaveTaskBasket"), [&] {
        if (lvEditBatch.isEmpty())
            return;
        completeTaskBasketPath(path);
        clsFile file;
        if (!file.OpenForWrite(path))
            raiseError(file.ErrorNumber(), file.ErrorText());
        for (const TaskRow& row : lvEditBatch.rows()) {
            QStringList fields{row.Text, row.Tag};
            for (int k = 1; k <= TaskParamCount; ++k)
                fields << row.SubItems[size_t(k)];
            file.write_EditingList(fields);
        }
        file.closefile();
        saved = true;
    });
    return saved;
}

bool fncOpenTaskBasket(const QString& path, ListView& lvEdit, ListView& lvEditPreview,
                       TaskRowList& lvEditBatch) {
    bool opened = false;
    errorTail(QStringLiteral("modSaveOpenImageList.fncOpenTaskBasket"), [&] {
        const std::vector<typTask> tasks = basketTasks(path);
        TaskBasketRows rows(lvEdit, lvEditPreview, lvEditBatch);
        rows.clear();
        for (const typTask& task : tasks)
            rows.add(task);
        opened = true;
    });
    return opened;
}

} // namespace picbasket
