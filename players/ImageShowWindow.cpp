#include "players/ImageShowWindow.h"

#include "players/PlayerFile.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace picbasket {

namespace {
// How far the mouse may drift before a screensaver ends.
constexpr int MouseSlack = 10;
} // namespace

ImageShowWindow::ImageShowWindow(const PlayerFile& file, Mode mode, int intervalSeconds,
                                 QColor back)
    : file_(file), mode_(mode), back_(back) {
    setWindowTitle(mode == Mode::SlideShow ? QStringLiteral("Slide show")
                                           : QStringLiteral("Screensaver"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (mode == Mode::Screensaver) {
        setCursor(Qt::BlankCursor);
        setMouseTracking(true);
    }
    timer_.setInterval(std::max(1, intervalSeconds) * 1000);
    connect(&timer_, &QTimer::timeout, this, [this] { step(1); });
    showFullScreen();
    showImage(0);
    timer_.start();
}

void ImageShowWindow::showImage(int index) {
    const int count = file_.imageCount();
    if (count == 0)
        return;
    current_ = ((index % count) + count) % count;
    shown_ = file_.decode(current_, size());
    update();
}

void ImageShowWindow::step(int delta) {
    showImage(current_ + delta);
    timer_.start();
}

void ImageShowWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    showImage(current_);
}

void ImageShowWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), back_);
    if (shown_.isNull())
        return;
    const QSize fitted = fncFitSize(shown_.size(), size());
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, shown_);
}

void ImageShowWindow::keyPressEvent(QKeyEvent* event) {
    if (mode_ == Mode::Screensaver) {
        close();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        step(-1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step(1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ImageShowWindow::mousePressEvent(QMouseEvent* event) {
    if (mode_ == Mode::Screensaver)
        close();
    else
        QWidget::mousePressEvent(event);
}

void ImageShowWindow::mouseMoveEvent(QMouseEvent* event) {
    if (mode_ != Mode::Screensaver)
        return;
    const QPoint at = event->globalPosition().toPoint();
    if (!mouseSeen_) {
        mouseSeen_ = true;
        firstMouse_ = at;
        return;
    }
    if ((at - firstMouse_).manhattanLength() > MouseSlack)
        close();
}

} // namespace picbasket
