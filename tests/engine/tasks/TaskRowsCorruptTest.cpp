#include "engine/tasks/modTaskEngine.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/engine/tasks/TaskTestSupport.h"

#include <gtest/gtest.h>

using namespace picbasket;
using picbasket::test::patternImage;
using picbasket::test::taskRow;

// Rows as a damaged task-basket file may bring them: every task number with every
// slot holding the same hostile text, and then a row of mixed ones. A run never
// throws and leaves a valid image behind.
TEST(TaskRowsCorrupt, HostileParameterTextsNeverBreakARun) {
    const QStringList texts = {"",    "abc",  "-2147483648", "2147483647", "1e308",  "-1e308",
                               "nan", "inf",  "-1",          "32767",      "-32768", "99999999999",
                               " 3 ", "True", "0x10",        "1,5",        "\t"};
    for (int id = 0; id <= 17; ++id)
        for (const QString& text : texts) {
            QStringList params;
            for (int k = 0; k < TaskParamCount; ++k)
                params << text;
            ImageBox box;
            box.setImage(patternImage(6, 5));
            TaskRowList rows;
            rows.addRow(taskRow(QString::number(id), params));
            EXPECT_NO_THROW(subProcessPages(nullptr, rows, box, nullptr, true))
                << id << text.toStdString();
            EXPECT_TRUE(box.HasImage()) << id << " " << text.toStdString();
        }
    ImageBox box;
    box.setImage(patternImage(6, 5));
    TaskRowList rows;
    for (int id = 0; id <= 16; ++id) {
        QStringList params;
        for (int k = 0; k < TaskParamCount; ++k)
            params << texts[(id * 7 + k * 3) % texts.size()];
        rows.addRow(taskRow(QString::number(id), params));
    }
    EXPECT_NO_THROW(subProcessPages(nullptr, rows, box, nullptr, true));
    EXPECT_TRUE(box.HasImage());
}
