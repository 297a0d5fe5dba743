#pragma once

#include "X11ModifierMasks.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
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

/// Grabs Super + each bindable key in every state of `masks` (the lock keys on or off) and
/// waits for the server's answers. A grab of ours already there for the same state is
/// simply made again.
Result grabAll(xcb_connection_t* connection, xcb_window_t root, const X11ModifierMasks& masks);

/// Whether another client holds the right Super key by itself (pressed with no modifier, as a
/// window manager that opens its menu with it grabs it): its grab then takes every right
/// Super press, and no stroke reaches ours. Told by a trial grab on a short-lived connection
/// to `display` (the DISPLAY variable's when null), so that no grab of the tap's connection
/// is touched; nothing when the display cannot be reached.
std::optional<bool> triggerKeyTaken(const char* display);

/// Gives back the grabs made for `old` in states that `current` no longer grabs.
void ungrabStale(xcb_connection_t* connection, xcb_window_t root, const X11ModifierMasks& old,
                 const X11ModifierMasks& current);

} // namespace X11KeyGrabs
