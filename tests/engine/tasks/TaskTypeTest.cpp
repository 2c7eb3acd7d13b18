#include "engine/tasks/TaskType.h"
#include "core/AppError.h"
#include "engine/tasks/TaskRowList.h"

#include <gtest/gtest.h>

using namespace picbasket;

TEST(TaskType, NamesOfEveryTaskNumber) {
    const char* names[] = {"",           "Orientation", "Rotate", "Resize",    "Blur", "Contrast",
                           "Brightness", "Sharpen",     "Crop",   "Watermark", "Text", "Negative",
                           "Canvas",     "Frame",       "Mask",   "Shadow",    ""};
    for (int id = 0; id <= 16; ++id)
        EXPECT_EQ(fncGetTaskName(id), QString::fromLatin1(names[id])) << id;
    EXPECT_EQ(fncGetTaskName(-1), QString());
    EXPECT_EQ(fncGetTaskName(17), QString());
}

TEST(TaskRowList, ARowCarriesNumberKeyAndAllSeventeenParameters) {
    typTask task;
    task.TaskID = int32_t(TaskType::Rotate);
    task.TaskKey = QStringLiteral("rotate");
    task.Param[1] = QStringLiteral("True");
    task.Param[2] = QStringLiteral("90");
    task.Param[17] = QStringLiteral("last");
    TaskRowList rows;
    rows.addTask(task);
    const TaskRow& row = rows.row(0);
    EXPECT_EQ(row.Text, QStringLiteral("2"));
    EXPECT_EQ(row.Tag, QStringLiteral("rotate"));
    EXPECT_EQ(row.SubItems[1], QStringLiteral("True"));
    EXPECT_EQ(row.SubItems[2], QStringLiteral("90"));
    EXPECT_TRUE(row.SubItems[3].isEmpty());
    EXPECT_EQ(row.SubItems[17], QStringLiteral("last"));
}

TEST(TaskRowList, RowsOutsideTheListRaiseSubscriptOutOfRange) {
    TaskRowList rows;
    rows.addRow(TaskRow{});
    for (int index : {-1, 1}) {
        try {
            rows.row(index);
            ADD_FAILURE() << index;
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
        }
    }
    EXPECT_THROW(rows.removeRow(3), AppError);
    rows.removeRow(0);
    EXPECT_TRUE(rows.isEmpty());
}
