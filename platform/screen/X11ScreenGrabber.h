#pragma once
#include "platform/screen/QtScreenGrabber.h"

#include <cstdint>

struct xcb_connection_t;

namespace picbasket {

// The X11 grabber: Qt reads the screen; the window manager is asked to show the
// desktop through the EWMH root-window message _NET_SHOWING_DESKTOP, when its
// _NET_SUPPORTED list names it; syncing is a round trip to the server.
class X11ScreenGrabber : public QtScreenGrabber {
public:
    // The application's own connection (it must outlive the grabber).
    explicit X11ScreenGrabber(xcb_connection_t* connection);

    bool setShowingDesktop(bool showing) override;
    void syncDisplay() override;

private:
    uint32_t atom(const char* name) const;
    bool windowManagerSupports(uint32_t root, uint32_t feature) const;

    xcb_connection_t* connection_;
};

} // namespace picbasket
