#include "X11KeyGrabs.h"

#include "Platform/KeyStrokeMap.h"
#include "KeyPositions.h"
#include "Platform/TapEvent.h"

#include <array>
#include <cstdlib>

namespace X11KeyGrabs {

Result grabAll(xcb_connection_t* connection, xcb_window_t root) {
    // A grab matches the modifier state exactly: without these variants Caps Lock or Num Lock
    // would silently turn the hotkeys off.
    constexpr std::array<std::uint16_t, 4> variants{XCB_MOD_MASK_4, XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK,
                                                    XCB_MOD_MASK_4 | XCB_MOD_MASK_2,
                                                    XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

    struct Pending {
        std::int64_t keyCode;
        std::array<xcb_void_cookie_t, variants.size()> cookies;
    };
    std::vector<Pending> pending;
    // All requests first, then the answers: one round trip instead of almost two hundred.
    for (const auto& key : KeyStrokeMap::table()) {
        const auto xKeyCode = KeyPositions::xKeyCode(key.code);
        if (!xKeyCode) continue;
        Pending p{key.code, {}};
        for (std::size_t i = 0; i < variants.size(); ++i)
            p.cookies[i] = xcb_grab_key_checked(connection, 0, root, variants[i], *xKeyCode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC);
        pending.push_back(p);
    }

    Result result;
    for (const Pending& p : pending) {
        bool plainGrabbed = true;
        for (std::size_t i = 0; i < variants.size(); ++i) {
            xcb_generic_error_t* error = xcb_request_check(connection, p.cookies[i]);
            // The plain Super grab decides: a lock variant held by someone else costs only
            // that variant.
            if (error && i == 0) plainGrabbed = false;
            std::free(error);
        }
        (plainGrabbed ? result.grabbed : result.refused).push_back(p.keyCode);
    }
    return result;
}

std::uint64_t flags(std::uint16_t state) {
    std::uint64_t flags = 0;
    if (state & XCB_MOD_MASK_SHIFT) flags |= EventFlag::shift;
    if (state & XCB_MOD_MASK_LOCK) flags |= EventFlag::capsLock;
    if (state & XCB_MOD_MASK_CONTROL) flags |= EventFlag::control;
    if (state & XCB_MOD_MASK_1) flags |= EventFlag::option;
    if (state & XCB_MOD_MASK_4) flags |= EventFlag::command;
    return flags;
}

} // namespace X11KeyGrabs
