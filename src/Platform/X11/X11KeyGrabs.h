#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

/// The passive grabs behind the hotkeys: Super + each of the 47 bindable keys on the root
/// window, in synchronous keyboard mode, so that every such press waits for our answer.
namespace X11KeyGrabs {

/// What grabbing found: the keys that are ours, and those another client holds already.
struct Result {
    /// Tap key codes of the keys whose Super grab succeeded.
    std::vector<std::int64_t> grabbed;
    /// Tap key codes of the keys whose Super grab was refused (another client has it).
    std::vector<std::int64_t> refused;
};

/// Grabs Super + each bindable key, also with Caps Lock and Num Lock on, and waits for the
/// server's answers.
Result grabAll(xcb_connection_t* connection, xcb_window_t root);

/// The tap's event flags of an X key event's modifier state.
std::uint64_t flags(std::uint16_t state);

} // namespace X11KeyGrabs
