#include "platform/comctl/ListView.h"
#include "platform/comctl/ImageList.h"

#include <QListView>
#include <QSignalSpy>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// Three basket-like rows: text, tag and two sub-items each.
void fill(ListView& list) {
    list.AddColumn(QStringLiteral("File Name"));
    list.AddColumn(QStringLiteral("Size"));
    const char* rows[][3] = {{"delta", "/p/delta.jpg", "30 KB"},
                             {"Alpha", "/p/alpha.jpg", "10 KB"},
                             {"charlie", "/p/charlie.jpg", "20 KB"}};
    for (const auto& row : rows) {
        const int r = list.AddItem(QString::fromLatin1(row[0]));
        list.setTag(r, QString::fromLatin1(row[1]));
        list.setSubItem(r, 1, QString::fromLatin1(row[2]));
    }
}

QStringList texts(const ListView& list) {
    QStringList out;
    for (int r = 1; r <= list.Count(); ++r)
        out << list.Text(r);
    return out;
}

} // namespace

TEST(ListView, RowsCarryTextTagSubItemsAndIconKeys) {
    ListView list;
    fill(list);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.ColumnCount(), 2);
    EXPECT_EQ(list.ColumnText(2), QStringLiteral("Size"));
    EXPECT_EQ(list.Tag(2), QStringLiteral("/p/alpha.jpg"));
    EXPECT_EQ(list.SubItem(3, 1), QStringLiteral("20 KB"));
    list.setIconKeys(1, QStringLiteral("big1"), QStringLiteral("small1"));
    EXPECT_EQ(list.IconKey(1), QStringLiteral("big1"));
    EXPECT_EQ(list.SmallIconKey(1), QStringLiteral("small1"));
    // Out of range reads give nothing and writes are ignored.
    EXPECT_EQ(list.Text(0), QString());
    EXPECT_EQ(list.Tag(4), QString());
    list.setText(9, QStringLiteral("x"));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.ColumnWidth(3), 0);
}

// Hidden task lists keep seventeen values per row with a single column.
TEST(ListView, SubItemsBeyondTheColumnsAreKeptAndNotShown) {
    ListView list;
    list.AddColumn(QStringLiteral("Task"));
    const int row = list.AddItem(QStringLiteral("3"));
    list.setSubItem(row, 17, QStringLiteral("last"));
    list.setSubItem(row, 1, QStringLiteral("first"));
    EXPECT_EQ(list.SubItem(row, 17), QStringLiteral("last"));
    EXPECT_EQ(list.SubItem(row, 1), QStringLiteral("first"));
    EXPECT_EQ(list.SubItem(row, 9), QString());
    EXPECT_EQ(list.ColumnCount(), 1);
    EXPECT_TRUE(list.reportView()->isColumnHidden(17));
    // A column added later is shown.
    list.AddColumn(QStringLiteral("Second"));
    EXPECT_EQ(list.ColumnCount(), 2);
    EXPECT_FALSE(list.reportView()->isColumnHidden(1));
    EXPECT_EQ(list.SubItem(row, 1), QStringLiteral("first"));
}

TEST(ListView, SortReordersTheRowsThemselves) {
    ListView list;
    fill(list);
    list.setSelectedItem(1);   // "delta"
    list.setSelected(3, true); // "charlie"
    list.Sort(1, true);
    EXPECT_EQ(texts(list), QStringList({"Alpha", "charlie", "delta"}));
    EXPECT_EQ(list.Tag(1), QStringLiteral("/p/alpha.jpg"));
    EXPECT_EQ(list.SubItem(3, 1), QStringLiteral("30 KB"));
    EXPECT_EQ(list.SelectedItem(), 3);
    EXPECT_TRUE(list.Selected(2));
    EXPECT_TRUE(list.Selected(3));
    EXPECT_FALSE(list.Selected(1));
    list.Sort(2, false);
    EXPECT_EQ(texts(list), QStringList({"delta", "charlie", "Alpha"}));
}

// Keys travel with their rows; the list's own tag outlives its rows.
TEST(ListView, KeysFollowTheirRowsAndTheListKeepsItsTag) {
    ListView list;
    fill(list);
    list.setKey(1, QStringLiteral("Make"));
    list.setTag(QStringLiteral("/p/shown.jpg"));
    EXPECT_EQ(list.Key(2), QString());
    EXPECT_EQ(list.Key(7), QString());
    list.Sort(1, true); // "delta" moves to the end
    EXPECT_EQ(list.Key(3), QStringLiteral("Make"));
    EXPECT_EQ(list.Key(1), QString());
    list.Clear();
    EXPECT_EQ(list.Tag(), QStringLiteral("/p/shown.jpg"));
}

TEST(ListView, SortKeepsTheOrderOfEqualRows) {
    ListView list;
    list.AddColumn(QStringLiteral("Name"));
    list.AddColumn(QStringLiteral("Type"));
    for (const char* name : {"b", "a", "c", "d"}) {
        const int r = list.AddItem(QString::fromLatin1(name));
        list.setSubItem(r, 1, QStringLiteral("JPEG"));
    }
    list.Sort(2, true);
    EXPECT_EQ(texts(list), QStringList({"b", "a", "c", "d"}));
}

TEST(ListView, BothViewsShareRowsAndSelection) {
    ListView list;
    fill(list);
    list.setView(ListView::lvwIcon);
    list.setSelectedItem(2);
    list.setView(ListView::lvwReport);
    EXPECT_EQ(list.SelectedItem(), 2);
    EXPECT_EQ(list.iconView()->model(), list.reportView()->model());
}

TEST(ListView, PictureComesFromTheListOfTheShownView) {
    ImageList large, small;
    QImage big(32, 32, QImage::Format_RGB32), little(16, 16, QImage::Format_RGB32);
    large.Add(big, QStringLiteral("k"));
    small.Add(little, QStringLiteral("k"));
    ListView list;
    list.AddColumn(QStringLiteral("Name"));
    list.setIcons(&large);
    list.setSmallIcons(&small);
    list.AddItem(QStringLiteral("one"), QStringLiteral("k"), QStringLiteral("k"));
    auto shown = [&] {
        return list.reportView()
            ->model()
            ->index(0, 0)
            .data(Qt::DecorationRole)
            .value<QPixmap>()
            .size();
    };
    list.setView(ListView::lvwReport);
    EXPECT_EQ(shown(), QSize(16, 16));
    list.setView(ListView::lvwIcon);
    EXPECT_EQ(shown(), QSize(32, 32));
}

TEST(ListView, SingleSelectionKeepsOneRow) {
    ListView list;
    fill(list);
    list.setMultiSelect(false);
    list.setSelected(1, true);
    list.setSelected(2, true);
    EXPECT_EQ(list.SelectedCount(), 1);
    EXPECT_TRUE(list.Selected(2));
}

TEST(ListView, RemoveAndClear) {
    ListView list;
    fill(list);
    list.Remove(1);
    EXPECT_EQ(texts(list), QStringList({"Alpha", "charlie"}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.SelectedItem(), 0);
}

TEST(ListView, FullRowSelectSwitch) {
    ListView list;
    EXPECT_FALSE(list.FullRowSelect());
    EXPECT_TRUE(fncListViewFullRowSelect(&list, true, false));
    EXPECT_TRUE(list.FullRowSelect());
    EXPECT_TRUE(fncListViewFullRowSelect(&list, false, false));
    EXPECT_FALSE(list.FullRowSelect());
    EXPECT_FALSE(fncListViewFullRowSelect(nullptr, true, false));
}
