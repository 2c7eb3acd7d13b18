#include "platform/screen/ScreenGrabber.h"
#include "platform/screen/QtScreenGrabber.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// On the offscreen platform the system grabber is Qt's own: the screen composed of
// our windows, at the screen's size in device pixels, as 24-bit colour.
TEST(ScreenGrabberTest, TheSystemGrabberReadsTheWholeScreen) {
    std::unique_ptr<ScreenGrabber> grabber = fncSystemScreenGrabber();
    ASSERT_TRUE(grabber);
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_TRUE(screen);
    const ScreenGrab grab = grabber->grabScreen(nullptr);
    EXPECT_FALSE(grab.unreadable);
    ASSERT_FALSE(grab.picture.isNull());
    EXPECT_EQ(grab.picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(grab.picture.size(), screen->geometry().size() * screen->devicePixelRatio());
    EXPECT_FALSE(grabber->setShowingDesktop(true)) << "no window manager to ask";
    grabber->syncDisplay();
}

// A scaled screen's grab keeps every device pixel as a picture pixel.
TEST(ScreenGrabberTest, PicturesAreDevicePixelsInTwentyFourBitColour) {
    QImage grabbed(40, 30, QImage::Format_ARGB32_Premultiplied);
    grabbed.fill(qRgb(200, 10, 30));
    grabbed.setDevicePixelRatio(2.0);
    const QImage picture = fncScreenPictureOf(grabbed);
    EXPECT_EQ(picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(picture.size(), QSize(40, 30));
    EXPECT_EQ(picture.devicePixelRatio(), 1.0);
    EXPECT_EQ(picture.pixel(39, 29), qRgb(200, 10, 30));
    EXPECT_TRUE(fncScreenPictureOf(QImage()).isNull());
}

} // namespace
