#pragma once
#include "players/Fireworks.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace picbasket {

// The greeting: the picture in a window of its own size (fitted into the screen
// when larger) with fireworks over it. F toggles between full screen, where the
// picture is fitted to the screen on black, and the fixed size; Esc quits.
class GreetingWindow : public QWidget {
    Q_OBJECT

public:
    explicit GreetingWindow(const QImage& picture);

    bool isFullScreenMode() const { return fullScreen_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showFixed();
    void showWholeScreen();
    void prepareBase();
    void nextFrame();

    QImage picture_;
    QImage base_;  // the picture as shown at the window's size, 32-bit
    QImage frame_; // base_ with this frame's fireworks
    QRect target_;
    Fireworks fireworks_;
    QTimer timer_;
    bool fullScreen_ = false;
};

} // namespace picbasket
