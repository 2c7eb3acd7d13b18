#pragma once
#include "platform/screen/ScreenGrabber.h"

#include <QElapsedTimer>
#include <functional>
#include <vector>

namespace picbasket {

// A grabber for tests: hands out a picture chosen by the test (or a failure) and
// records what was asked of it, each grab with the milliseconds since the fake was
// made.
class FakeScreenGrabber : public ScreenGrabber {
public:
    FakeScreenGrabber();

    // The picture the next grabs return; an empty one makes them fail.
    QImage picture;
    // Grabs report a desktop that cannot be read.
    bool unreadable = false;
    // What setShowingDesktop answers.
    bool windowManager = true;

    std::vector<qint64> grabTimes;
    // Every setShowingDesktop request, in order.
    std::vector<bool> showingDesktopRequests;
    int syncCount = 0;
    // Called at each grab, before it answers (a test checks the windows then).
    std::function<void()> onGrab;

    ScreenGrab grabScreen(QScreen* screen) override;
    bool setShowingDesktop(bool showing) override;
    void syncDisplay() override { ++syncCount; }

private:
    QElapsedTimer clock_;
};

} // namespace picbasket
