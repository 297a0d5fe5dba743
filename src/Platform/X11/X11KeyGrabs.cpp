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
