#include "players/GreetingWindow.h"

#include "players/PlayerFile.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace picbasket {

GreetingWindow::GreetingWindow(const QImage& picture)
    : picture_(picture.convertToFormat(QImage::Format_RGB32)) {
    setWindowTitle(QStringLiteral("Greeting"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    timer_.setInterval(33);
    connect(&timer_, &QTimer::timeout, this, &GreetingWindow::nextFrame);
    showFixed();
    timer_.start();
}

void GreetingWindow::showFixed() {
    fullScreen_ = false;
    QSize size = picture_.size();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen)
        size = fncFitSize(size, screen->availableGeometry().size() * 0.9);
    if (size.isEmpty())
        size = QSize(320, 240);
    showNormal();
    setFixedSize(size);
    if (screen)
        move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
    show();
}

void GreetingWindow::showWholeScreen() {
    fullScreen_ = true;
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    showFullScreen();
}

void GreetingWindow::prepareBase() {
    base_ = QImage(size(), QImage::Format_RGB32);
    base_.fill(Qt::black);
    if (picture_.isNull() || base_.isNull())
        return;
    const QSize fitted = fncFitSize(picture_.size(), size(), fullScreen_);
    target_ =
        QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    QPainter painter(&base_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target_, picture_);
}

void GreetingWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    prepareBase();
    frame_ = base_;
}

void GreetingWindow::nextFrame() {
    if (base_.isNull())
        return;
    fireworks_.advance(base_.size());
    frame_ = base_.copy();
    fireworks_.draw(frame_);
    update();
}

void GreetingWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (frame_.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(0, 0, frame_);
}

void GreetingWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        break;
    case Qt::Key_F:
        if (fullScreen_)
            showFixed();
        else
            showWholeScreen();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace picbasket
