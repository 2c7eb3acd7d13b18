#include "browser/IndexedMenu.h"

#include <QAction>
#include <QMenu>

namespace picbasket {

void fillIndexedMenu(QMenu* menu, std::initializer_list<MenuItem> items,
                     const std::function<void(int)>& handler) {
    for (const MenuItem& item : items) {
        const QString caption = QString::fromUtf8(item.caption);
        QAction* action = caption == QLatin1String("-") ? menu->addSeparator()
                                                        : menu->addAction(caption);
        action->setData(item.index);
        if (action->isSeparator() || !handler)
            continue;
        const int index = item.index;
        QObject::connect(action, &QAction::triggered, menu, [handler, index] { handler(index); });
    }
}

QAction* indexedMenuItem(const QMenu* menu, int index) {
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && action->data().toInt() == index)
            return action;
    return nullptr;
}

} // namespace picbasket
