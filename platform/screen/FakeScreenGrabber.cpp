#include "platform/screen/FakeScreenGrabber.h"

namespace picbasket {

FakeScreenGrabber::FakeScreenGrabber() {
    clock_.start();
}

ScreenGrab FakeScreenGrabber::grabScreen(QScreen*) {
    grabTimes.push_back(clock_.elapsed());
    if (onGrab)
        onGrab();
    if (unreadable)
        return {QImage(), true};
    return {picture, false};
}

bool FakeScreenGrabber::setShowingDesktop(bool showing) {
    showingDesktopRequests.push_back(showing);
    return windowManager;
}

} // namespace picbasket
