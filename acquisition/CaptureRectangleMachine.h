#pragma once
#include "browser/SelectionController.h"

#include <QObject>
#include <QRect>

namespace picbasket {

// The mouse of the capture rectangle window: the preview's SelectionController with
// the rectangle tool always on (the same states, grips, 15-pixel rule and pointers;
// every button draws), and the window's four commands. Coordinates are display
// pixels of the frozen screen picture. The window turns the signals into figures on
// the picture's overlay, pointers, the tool strip and the crop.
class CaptureRectangleMachine : public QObject {
    Q_OBJECT

public:
    // The commands of the button bar, by button index.
    enum Command : int { NewSelection = 0, Accept = 1, ToggleToolStrip = 2, Cancel = 3 };

    explicit CaptureRectangleMachine(QObject* parent = nullptr);

    // 0 idle, 1 waiting for the first press, 2 drawing, 3 settled with grips,
    // 4 dragging a grip, 5 moving the rectangle.
    int SelectionState() const { return selection_.PreviewMouseMode; }
    const SelectionController& selection() const { return selection_; }

    void cmdBar_Click(int index);
    void mouseDown(int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(int x, int y);
    // A double-click on the picture: inside the settled rectangle it accepts,
    // elsewhere it shows or hides the tool strip.
    void doubleClick();

    // The rectangle with its corners put in order, right and bottom exclusive.
    QRect normalisedRectangle() const;

Q_SIGNALS:
    // An inverting figure over [left, right) x [top, bottom); drawn twice it is gone.
    void drawFigure(int left, int top, int right, int bottom, bool grip);
    void clearFigures();
    void pointerChanged(int pointer);
    // Accept of a rectangle at least 1 x 1: the picture is to be cropped to it (the
    // marks are already gone) and handed to the capture.
    void accepted(const QRect& rectangle);
    void cancelled();
    void toolStripToggled();

private:
    void accept();

    SelectionController selection_;
};

} // namespace picbasket
