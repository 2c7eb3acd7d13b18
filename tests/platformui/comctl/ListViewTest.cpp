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

namespace {

ListView::Row row(const char* text, const char* size, const char* key = "") {
    ListView::Row r;
    r.text = QString::fromLatin1(text);
    r.tag = QStringLiteral("/p/") + r.text;
    r.subItems = {QString::fromLatin1(size)};
    r.iconKey = r.smallIconKey = QString::fromLatin1(key);
    return r;
}

} // namespace

TEST(ListView, RowsAddedWhileSortedGoToTheirPlace) {
    struct Case {
        const char* name;
        int key;
        int order;
        QStringList expected;
    };
    const Case cases[] = {
        {"by text ascending", 1, 0, {"Alpha", "bravo", "charlie", "delta", "echo"}},
        {"by text descending", 1, 1, {"echo", "delta", "charlie", "bravo", "Alpha"}},
        {"by sub-item ascending", 2, 0, {"Alpha", "echo", "charlie", "delta", "bravo"}},
    };
    for (const Case& c : cases) {
        ListView list;
        fill(list);
        list.setSortKey(c.key);
        list.setSortOrder(c.order);
        list.setSorted(true);
        list.AddRow(row("echo", "15 KB"));
        const int bravo = list.AddRow(row("bravo", "40 KB"));
        EXPECT_EQ(texts(list), c.expected) << c.name;
        EXPECT_EQ(list.Text(bravo), "bravo") << c.name;
        EXPECT_EQ(list.Tag(bravo), "/p/bravo") << c.name;
    }
    ListView unsorted;
    fill(unsorted);
    unsorted.AddRow(row("bravo", "40 KB"));
    EXPECT_EQ(texts(unsorted), QStringList({"delta", "Alpha", "charlie", "bravo"}))
        << "an unsorted list appends";
}

TEST(ListView, MovedRowsKeepEverythingAndEndTheSortedState) {
    ListView list;
    list.AddColumn(QStringLiteral("File Name"));
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        const int r = list.AddRow(row(name, name, name));
        list.setSubItem(r, 7, QStringLiteral("hidden ") + name);
    }
    list.setSortKey(1);
    list.setSorted(true);
    list.setSelected(2, true);
    list.setSelected(4, true);
    list.MoveRows({4, 2}, 6);
    EXPECT_EQ(texts(list), QStringList({"a", "c", "e", "b", "d"}));
    EXPECT_FALSE(list.Sorted());
    EXPECT_EQ(list.SelectedRows(), std::vector<int>({4, 5}));
    EXPECT_EQ(list.SelectedItem(), 4);
    EXPECT_EQ(list.Tag(5), "/p/d");
    EXPECT_EQ(list.SubItem(5, 1), "d");
    EXPECT_EQ(list.SubItem(5, 7), "hidden d");
    EXPECT_EQ(list.SmallIconKey(5), "d");
    EXPECT_EQ(list.IconKey(4), "b");
    list.MoveRows({4, 5}, 1);
    EXPECT_EQ(texts(list), QStringList({"b", "d", "a", "c", "e"}));
    list.AddRow(row("aa", ""));
    EXPECT_EQ(list.Text(6), "aa") << "after a move new rows go to the end";
}

TEST(ListView, DropHighlightPaintsOneRowUntilRowsMove) {
    ListView list;
    fill(list);
    QAbstractItemModel* model = list.reportView()->model();
    list.setDropHighlight(2);
    EXPECT_EQ(list.DropHighlight(), 2);
    EXPECT_TRUE(model->data(model->index(1, 1), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::BackgroundRole).isValid());
    list.setDropHighlight(9);
    EXPECT_EQ(list.DropHighlight(), 0) << "no such row";
    list.setDropHighlight(3);
    list.MoveRows({3}, 1);
    EXPECT_EQ(list.DropHighlight(), 0);
}

TEST(ListView, HitTestFindsTheRowUnderAPoint) {
    ListView list;
    fill(list);
    list.resize(300, 200);
    list.show();
    QTreeView* view = list.reportView();
    for (int r = 1; r <= 3; ++r) {
        const QPoint at = view->viewport()->mapTo(
            &list, view->visualRect(view->model()->index(r - 1, 0)).center());
        EXPECT_EQ(list.HitTest(at.x(), at.y()), r);
    }
    const QPoint below =
        view->viewport()->mapTo(&list, QPoint(5, view->viewport()->height() - 2));
    EXPECT_EQ(list.HitTest(below.x(), below.y()), 0);
    EXPECT_EQ(list.HitTest(-5, -5), 0);
}
