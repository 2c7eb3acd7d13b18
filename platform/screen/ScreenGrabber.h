#pragma once
#include <QImage>
#include <memory>

class QScreen;

namespace picbasket {

// What a grab brought back: the picture, or nothing. `unreadable` tells a desktop
// that lets no program read the screen (a Wayland session without a screenshot
// portal) from a grab that failed on a desktop that normally allows it.
struct ScreenGrab {
    QImage picture;
    bool unreadable = false;
};

// Reading the screen and moving the user's windows out of the way, as the capture
// dialog needs them. The real grabber talks to the display server; tests hand the
// dialog a FakeScreenGrabber.
class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;

    // The whole of that screen (the primary one for nullptr) in device pixels,
    // 24-bit colour.
    virtual ScreenGrab grabScreen(QScreen* screen) = 0;
    // Asks the window manager to hide every window and show the desktop (true), or
    // to bring the windows back (false). False when no window manager offers it.
    virtual bool setShowingDesktop(bool showing) = 0;
    // Returns once the display server has carried out every request sent so far,
    // so windows just hidden are gone from the screen.
    virtual void syncDisplay() = 0;
};

// The grabber for the display the application runs on: X11, the Wayland desktop
// portal, or Qt's own composition of our windows on other platforms (offscreen).
std::unique_ptr<ScreenGrabber> fncSystemScreenGrabber();

} // namespace picbasket
