#include "platform/screen/QtScreenGrabber.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace picbasket {

QImage fncScreenPictureOf(const QImage& grabbed) {
    if (grabbed.isNull())
        return {};
    QImage picture = grabbed.convertToFormat(QImage::Format_RGB888);
    // Device pixels are the picture's pixels, whatever scale the screen has.
    picture.setDevicePixelRatio(1.0);
    return picture;
}

ScreenGrab QtScreenGrabber::grabScreen(QScreen* screen) {
    QScreen* source = screen ? screen : QGuiApplication::primaryScreen();
    if (!source)
        return {};
    return {fncScreenPictureOf(source->grabWindow(0).toImage()), false};
}

} // namespace picbasket
