#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <mutex>

class X11Connection;

/// The X server's current time, for requests that window managers judge by time stamp
/// (activation above all). Read on a private connection of its own, so that the event
/// it waits for is never taken from another reader.
class X11ServerClock final {
public:
    X11ServerClock();
    ~X11ServerClock();
    X11ServerClock(const X11ServerClock&) = delete;
    X11ServerClock& operator=(const X11ServerClock&) = delete;

    /// The server's time now; XCB_CURRENT_TIME when the server cannot be asked.
    xcb_timestamp_t now();

private:
    bool prepare();

    std::mutex mutex_;
    std::unique_ptr<X11Connection> connection_;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t property_ = XCB_NONE;
};
