#pragma once

#include <xcb/xcb.h>

#include <chrono>

/// Asks the window manager to minimise or restore a client and waits, on a connection of
/// its own, until `_NET_WM_STATE` says it did. Restoring activates the window the way a
/// pager does (`_NET_ACTIVE_WINDOW`, source 2), which managers honour for minimised
/// windows; minimising sends the ICCCM iconify request.
namespace X11MinimizeRequest {

/// True once the window's hidden state equals `minimize` (at once when it already does);
/// false when the window is gone, the display cannot be reached, or the manager has not
/// done it within `limit`.
bool run(xcb_window_t window, bool minimize, std::chrono::milliseconds limit);

} // namespace X11MinimizeRequest
