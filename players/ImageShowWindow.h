#pragma once
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

namespace picbasket {

class PlayerFile;

// The full-screen show of the slide show and the screensaver: one image at a time,
// fitted into the screen (never enlarged) and centred on the background colour,
// the next one after each interval, from the last back to the first.
//
// The slide show quits on Esc and steps with the arrow keys; the screensaver ends
// on any key, a click or a mouse move of more than a few pixels.
class ImageShowWindow : public QWidget {
    Q_OBJECT

public:
    enum class Mode { SlideShow, Screensaver };
    ImageShowWindow(const PlayerFile& file, Mode mode, int intervalSeconds, QColor back);

    int current() const { return current_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void showImage(int index);
    void step(int delta);

    const PlayerFile& file_;
    Mode mode_;
    QColor back_;
    QTimer timer_;
    QImage shown_;
    int current_ = 0;
    bool mouseSeen_ = false;
    QPoint firstMouse_;
};

} // namespace picbasket
