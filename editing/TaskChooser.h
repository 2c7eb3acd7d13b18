#pragma once
#include <QString>
#include <cstdint>
#include <vector>

namespace picbasket {

// One entry of the task chooser in the explorer bar: the item's key (compared in
// exact case), its caption, the key of its icon in ilEdit, the task it chooses, the
// object name of the option panel it shows and the caption it gives the "Dialog"
// group.
struct TaskChooserItem {
    QString key;
    QString caption;
    QString iconKey;
    // -1 for "Nothing", which leaves the current task number as it is.
    int32_t taskId;
    QString panel;
    QString dialogCaption;
};

// The sixteen task items in the order the chooser shows them.
const std::vector<TaskChooserItem>& fncTaskChooserItems();
// The item for a key, exact case: one of the sixteen or "Nothing" (which has no item
// in the bar; the edit view raises it to show the empty state); nullptr otherwise.
const TaskChooserItem* fncFindChooserItem(const QString& key);

// The hint the shared empty panel shows for "Nothing" and for "Invert".
QString fncNothingHint();
QString fncInvertHint();

// The object names of the sixteen option panels, one per task plus the shared empty
// panel, in the order the main window builds them.
const std::vector<QString>& fncTaskPanelNames();

} // namespace picbasket
