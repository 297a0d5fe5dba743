#include "X11KeyGrabs.h"

#include "Platform/KeyStrokeMap.h"
#include "Platform/Linux/KeyPositions.h"

#include <algorithm>
#include <cstdlib>

namespace X11KeyGrabs {

Result grabAll(xcb_connection_t* connection, xcb_window_t root, const X11ModifierMasks& masks) {
    // A grab matches the modifier state exactly: without the lock states Caps Lock or Num Lock
    // would silently turn the hotkeys off.
    const std::vector<std::uint16_t> states = masks.grabStates();

    struct Pending {
        std::int64_t keyCode;
        std::vector<xcb_void_cookie_t> cookies;
    };
    std::vector<Pending> pending;
    // All requests first, then the answers: one round trip instead of hundreds.
    for (const auto& key : KeyStrokeMap::table()) {
        const auto xKeyCode = KeyPositions::xKeyCode(key.code);
        if (!xKeyCode) continue;
        Pending p{key.code, {}};
        for (const std::uint16_t state : states)
            p.cookies.push_back(xcb_grab_key_checked(connection, 0, root, state, *xKeyCode,
                                                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC));
        pending.push_back(std::move(p));
    }

    Result result;
    for (const Pending& p : pending) {
        bool plainGrabbed = true;
        for (std::size_t i = 0; i < p.cookies.size(); ++i) {
            xcb_generic_error_t* error = xcb_request_check(connection, p.cookies[i]);
            // The plain right Super grab decides: a lock state held by someone else costs only
            // that state.
            if (error && i == 0) plainGrabbed = false;
            std::free(error);
        }
        (plainGrabbed ? result.grabbed : result.refused).push_back(p.keyCode);
    }
    return result;
}

std::optional<bool> triggerKeyTaken(const char* display) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(display, &screenNumber);
    std::optional<xcb_window_t> root;
    if (!xcb_connection_has_error(c)) {
        xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber && screen.rem > 0; ++i)
            xcb_screen_next(&screen);
        if (screen.rem > 0) root = screen.data->root;
    }
    if (!root) {
        xcb_disconnect(c);
        return std::nullopt;
    }
    // Should a right Super press start the trial grab in the moment it lasts, the keyboard
    // waits (synchronous mode) until the replay below, and the press then goes on as though
    // the trial had never been.
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_grab_key_checked(c, 0, *root, 0, KeyPositions::superRight,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC));
    const bool taken = error && error->error_code == XCB_ACCESS;
    std::free(error);
    xcb_ungrab_key(c, KeyPositions::superRight, *root, 0);
    xcb_allow_events(c, XCB_ALLOW_REPLAY_KEYBOARD, XCB_CURRENT_TIME);
    // A reply: the server has done all of the above before the connection goes.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
    return taken;
}

void ungrabStale(xcb_connection_t* connection, xcb_window_t root, const X11ModifierMasks& old,
                 const X11ModifierMasks& current) {
    const std::vector<std::uint16_t> kept = current.grabStates();
    for (const std::uint16_t state : old.grabStates()) {
        if (std::find(kept.begin(), kept.end(), state) != kept.end()) continue;
        for (const auto& key : KeyStrokeMap::table())
            if (const auto xKeyCode = KeyPositions::xKeyCode(key.code))
                xcb_ungrab_key(connection, *xKeyCode, root, state);
    }
}

} // namespace X11KeyGrabs
