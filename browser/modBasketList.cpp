#include "browser/modBasketList.h"

#include "engine/batch/BasketRows.h"
#include "platform/comctl/ListView.h"

namespace picbasket {

std::unique_ptr<BasketRows> fncBasketRowsOf(const ListView& lvPages) {
    auto rows = std::make_unique<BasketRows>();
    for (int r = 1; r <= lvPages.Count(); ++r) {
        BasketRow row;
        row.Text = lvPages.Text(r);
        row.Tag = lvPages.Tag(r);
        for (int s = 1; s <= 4; ++s)
            row.setSubItem(s, lvPages.SubItem(r, s));
        rows->addRow(row);
    }
    return rows;
}

void subMoveSelectedItems(ListView& list, int x, int y) {
    const int target = list.HitTest(x, y);
    const int current = list.SelectedItem();
    if (target == 0 || current == 0)
        return;
    const int insertion = target >= current ? target + 1 : target;
    list.setDropHighlight(0);
    list.MoveRows(list.SelectedRows(), insertion);
}

void subRemoveSelectedItems(ListView& list) {
    const std::vector<int> rows = list.SelectedRows();
    for (auto r = rows.rbegin(); r != rows.rend(); ++r)
        list.Remove(*r);
}

void subSortListViewByColumn(ListView& list, int column) {
    if (column < 1)
        return;
    const int order = list.SortKey() == column && list.SortOrder() == 0 ? 1 : 0;
    // One sort, when Sorted goes on again, instead of one per changed property.
    list.setSorted(false);
    list.setSortKey(column);
    list.setSortOrder(order);
    list.setSorted(true);
}

} // namespace picbasket
