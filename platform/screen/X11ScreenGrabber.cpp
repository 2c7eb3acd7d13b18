#include "platform/screen/X11ScreenGrabber.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace picbasket {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;

// The root window of the connection's first screen, 0 without one.
uint32_t rootWindow(xcb_connection_t* connection) {
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return screens.rem > 0 ? screens.data->root : 0;
}

} // namespace

X11ScreenGrabber::X11ScreenGrabber(xcb_connection_t* connection) : connection_(connection) {}

uint32_t X11ScreenGrabber::atom(const char* name) const {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection_, 1, static_cast<uint16_t>(std::strlen(name)), name);
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection_, cookie, nullptr));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}

// The list is read in one request of up to 4096 atoms; window managers list far fewer.
bool X11ScreenGrabber::windowManagerSupports(uint32_t root, uint32_t feature) const {
    const uint32_t supported = atom("_NET_SUPPORTED");
    if (supported == XCB_ATOM_NONE || feature == XCB_ATOM_NONE)
        return false;
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection_, 0, root, supported, XCB_ATOM_ATOM, 0, 4096);
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_, cookie, nullptr));
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_ATOM)
        return false;
    const auto* atoms = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i)
        if (atoms[i] == feature)
            return true;
    return false;
}

bool X11ScreenGrabber::setShowingDesktop(bool showing) {
    if (!connection_)
        return false;
    const uint32_t root = rootWindow(connection_);
    const uint32_t showingDesktop = atom("_NET_SHOWING_DESKTOP");
    if (!root || !windowManagerSupports(root, showingDesktop))
        return false;
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = root;
    message.type = showingDesktop;
    message.data.data32[0] = showing ? 1 : 0;
    xcb_send_event(connection_, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
    return true;
}

// GetInputFocus has a reply, so when it arrives every earlier request is done.
void X11ScreenGrabber::syncDisplay() {
    if (!connection_)
        return;
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

} // namespace picbasket
