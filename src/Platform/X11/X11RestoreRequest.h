#pragma once

#include "Platform/WindowOperationsPort.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>

/// Brings a minimised client back and waits, on a connection of its own, until
/// `_NET_WM_STATE` says it is shown. The request activates the window the way a pager does
/// (`_NET_ACTIVE_WINDOW`, source 2), which managers honour for minimised windows.
namespace X11RestoreRequest {

/// Unchanged when the window is gone, belongs to another process than `pid`, is not
/// minimised or cannot be read; failed when the manager has not shown it within `limit`.
RestoreOutcome run(xcb_window_t window, std::int32_t pid, std::chrono::milliseconds limit);

} // namespace X11RestoreRequest
