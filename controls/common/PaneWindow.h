#pragma once
#include <QImage>
#include <QPoint>
#include <QString>

class QMenu;

namespace picbasket {

class StatusBar;

// What every pane of the main window asks of the window it sits in: the status bar
// below all panes, a new layout of the whole window after a pane changed its parts,
// the pop-up of a menu at a screen position, and the button pictures.
class PaneWindow {
public:
    virtual StatusBar* statusBar() = 0;
    // Lays out the whole window.
    virtual void subResize() = 0;
    virtual void subSetStatusPanelText(const QString& text) = 0;
    virtual void subPopupMenu(QMenu* menu, const QPoint& globalPosition) = 0;
    // The picture shown by each picture button, by the name of its picture box.
    virtual QImage picture(const QString& pictureBox) const = 0;

protected:
    ~PaneWindow() = default;
};

} // namespace picbasket
