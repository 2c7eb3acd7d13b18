#pragma once
#include <QBoxLayout>
#include <QWidget>

namespace picbasket::panel {

// The width the explorer bar gives its groups' bodies, with its scroll bar shown.
inline constexpr int Width = 208;

// A panel's controls stacked from the top.
inline QVBoxLayout* stack(QWidget* panel) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->setSpacing(4);
    return layout;
}

inline QHBoxLayout* row(QBoxLayout* parent) {
    auto* line = new QHBoxLayout;
    line->setSpacing(4);
    parent->addLayout(line);
    return line;
}

// The panel takes the height its shown controls need; called again whenever a part
// of it is shown or hidden.
inline void fit(QWidget* panel) {
    if (QLayout* layout = panel->layout()) {
        layout->invalidate();
        layout->activate();
        panel->resize(Width, layout->sizeHint().height());
    }
}

} // namespace picbasket::panel
