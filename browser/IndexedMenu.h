#pragma once
#include <QString>
#include <functional>
#include <initializer_list>

class QMenu;
class QAction;

namespace picbasket {

// One entry of a menu array: its index and caption; "-" makes a separator, which has
// an index of its own but no handler. Indexes may leave gaps.
struct MenuItem {
    int index;
    const char* caption;
};

// Fills a menu with the items of a menu array and calls the handler with an item's
// index when it is chosen. The index is kept in the action's data.
void fillIndexedMenu(QMenu* menu, std::initializer_list<MenuItem> items,
                     const std::function<void(int)>& handler);

// The action of a menu array's item by its index, nullptr for none (or a separator).
QAction* indexedMenuItem(const QMenu* menu, int index);

} // namespace picbasket
