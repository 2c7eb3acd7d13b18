#include "engine/batch/BasketRows.h"
#include "core/AppError.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {
BasketRow basketRow(const char* text, const char* source) {
    BasketRow row;
    row.Text = text;
    row.Tag = QStringLiteral("/tmp/") + text;
    row.setSubItem(1, "640 X 480");
    row.setSubItem(4, source);
    return row;
}
} // namespace

TEST(BasketRows, RowsShowInTheModelColumnsAndKeepTheirOrder) {
    BasketRows rows;
    QSignalSpy inserted(&rows, &QAbstractItemModel::rowsInserted);
    rows.addRow(basketRow("one", "/src/one.png"));
    rows.addRow(basketRow("two", "/src/multi.tif"));
    rows.addRow(basketRow("three", "/src/multi.tif"));
    EXPECT_EQ(inserted.count(), 3);
    rows.removeAt(0);
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(rows.row(0).Text, "two");
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.columnCount(), 5);
    EXPECT_EQ(rows.data(rows.index(1, 0)).toString(), "three");
    EXPECT_EQ(rows.data(rows.index(1, 1)).toString(), "640 X 480");
    EXPECT_EQ(rows.data(rows.index(1, 4)).toString(), "/src/multi.tif");
    EXPECT_EQ(rows.data(rows.index(1, 0), BasketRows::TagRole).toString(), "/tmp/three");
    EXPECT_EQ(rows.headerData(4, Qt::Horizontal).toString(), "Path");
    EXPECT_TRUE(rows.hasSource("/src/multi.tif"));
    EXPECT_FALSE(rows.hasSource("/src/one.png"));
}

TEST(BasketRows, IndexesOutsideTheRowsAreRefused) {
    BasketRows rows;
    rows.addRow(basketRow("one", "/src/one.png"));
    for (int index : {-1, 1}) {
        try {
            (void)rows.row(index);
            ADD_FAILURE() << index;
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::SubscriptOutOfRange);
        }
    }
    BasketRow row;
    EXPECT_THROW(row.setSubItem(5, "x"), AppError);
    EXPECT_EQ(row.SubItem(0), QString());
    rows.clearRows();
    EXPECT_EQ(rows.count(), 0);
}
