#include "editing/TaskBasketRows.h"
#include "platform/comctl/ListView.h"

#include <gtest/gtest.h>

using namespace picbasket;

namespace {

typTask task(TaskType type, const QString& key, std::initializer_list<QString> params = {}) {
    typTask t;
    t.TaskID = int32_t(type);
    t.TaskKey = key;
    int k = 1;
    for (const QString& p : params)
        t.Param[size_t(k++)] = p;
    return t;
}

class TaskBasketRowsTest : public ::testing::Test {
protected:
    void expectInStep(const QStringList& names) {
        ASSERT_EQ(lvEdit.Count(), names.size());
        ASSERT_EQ(lvEditPreview.Count(), names.size());
        ASSERT_EQ(lvEditBatch.rowCount(), names.size());
        for (int i = 0; i < names.size(); ++i) {
            EXPECT_EQ(lvEdit.Text(i + 1), names[i]);
            EXPECT_EQ(lvEditPreview.Text(i + 1), names[i]);
            EXPECT_EQ(lvEdit.SmallIconKey(i + 1), lvEditBatch.row(i).Tag);
            EXPECT_EQ(lvEditPreview.SmallIconKey(i + 1), lvEditBatch.row(i).Tag);
        }
    }

    ListView lvEdit, lvEditPreview;
    TaskRowList lvEditBatch;
    TaskBasketRows basket{lvEdit, lvEditPreview, lvEditBatch};
};

} // namespace

TEST_F(TaskBasketRowsTest, RowsOfAllThreeListsStayInStep) {
    EXPECT_TRUE(basket.add(task(TaskType::Rotate, "rotate", {"True", "30", "-2147483634"})));
    EXPECT_TRUE(basket.add(task(TaskType::Flip, "flip", {"1"})));
    EXPECT_TRUE(basket.add(task(TaskType::Invert, "invert")));
    expectInStep({"Rotate", "Orientation", "Negative"});
    const TaskRow& rotate = lvEditBatch.row(0);
    EXPECT_EQ(rotate.Text, QStringLiteral("2"));
    EXPECT_EQ(rotate.SubItems[3], QStringLiteral("-2147483634"));
    for (int k = 4; k <= TaskParamCount; ++k)
        EXPECT_TRUE(rotate.SubItems[size_t(k)].isEmpty()) << k;

    EXPECT_TRUE(basket.remove(2));
    expectInStep({"Rotate", "Negative"});
    EXPECT_FALSE(basket.remove(0));
    EXPECT_FALSE(basket.remove(3));
    expectInStep({"Rotate", "Negative"});
    basket.clear();
    expectInStep({});
}

TEST_F(TaskBasketRowsTest, RedEyeCorrectionIsNeverQueued) {
    EXPECT_FALSE(basket.add(task(TaskType::RedEye, "redeye")));
    expectInStep({});
}

TEST_F(TaskBasketRowsTest, SelectionOfEngineRowIsListRowPlusOne) {
    for (int i = 0; i < 3; ++i)
        basket.add(task(TaskType::Invert, "invert"));
    lvEditPreview.setSelected(2, true);
    const ListViewTaskSelection selection(lvEditPreview);
    EXPECT_FALSE(selection.isRowSelected(0));
    EXPECT_TRUE(selection.isRowSelected(1));
    EXPECT_FALSE(selection.isRowSelected(2));
    EXPECT_FALSE(selection.isRowSelected(-1));
    EXPECT_FALSE(selection.isRowSelected(3));
}

TEST_F(TaskBasketRowsTest, ReplayCoversTheBasketUnlessItStopsBeforeTheLastRow) {
    for (int i = 0; i < 3; ++i)
        basket.add(task(TaskType::Invert, "invert"));
    const ListViewTaskSelection selection(lvEdit);
    // Selected row (1-based, 0 none) -> whether a run up to it covers all three rows.
    const std::pair<int, bool> cases[] = {{0, true}, {1, false}, {2, false}, {3, true}};
    for (const auto& [row, covers] : cases) {
        for (int r = 1; r <= 3; ++r)
            lvEdit.setSelected(r, r == row);
        EXPECT_EQ(fncReplayCoversWholeBasket(selection, 3), covers) << row;
    }
    EXPECT_TRUE(fncReplayCoversWholeBasket(selection, 0));
}
