#pragma once
#include "platform/screen/ScreenGrabber.h"

namespace picbasket {

// Reads the screen through Qt (QScreen::grabWindow of window 0). On X11 that is the
// server's real screen; on the offscreen platform it is the composition of our own
// windows. There is no window manager to ask and nothing to sync.
class QtScreenGrabber : public ScreenGrabber {
public:
    ScreenGrab grabScreen(QScreen* screen) override;
    bool setShowingDesktop(bool) override { return false; }
    void syncDisplay() override {}
};

// The picture of a grab as the image box keeps colour: 24-bit RGB.
QImage fncScreenPictureOf(const QImage& grabbed);

} // namespace picbasket
