#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

class X11Connection;

/// The time stamps of requests that window managers judge by time (activation above all).
/// The server's time is read on a private connection of its own, so that the event it waits
/// for is never taken from another reader. A key press the keyboard tap answered carries the
/// time of the user's action itself, which spares the jump it starts that round trip.
class X11ServerClock final {
public:
    /// How long a heard key press stands for the user's latest action.
    static constexpr std::chrono::milliseconds keyPressLifetime{1000};

    X11ServerClock();
    ~X11ServerClock();
    X11ServerClock(const X11ServerClock&) = delete;
    X11ServerClock& operator=(const X11ServerClock&) = delete;

    /// The server's time now; XCB_CURRENT_TIME when the server cannot be asked.
    xcb_timestamp_t now();
    /// Notes the time stamp of a key press the tap answered. Never waits for now().
    void heardKeyPress(xcb_timestamp_t time);
    /// The time stamp of a request made on the user's behalf: that of a key press heard within
    /// keyPressLifetime, the action the request answers, else the server's time now.
    xcb_timestamp_t userActionTime();

private:
    bool prepare();

    std::mutex heardMutex_;
    std::optional<std::pair<xcb_timestamp_t, std::chrono::steady_clock::time_point>> heard_;
    std::mutex mutex_;
    std::unique_ptr<X11Connection> connection_;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t property_ = XCB_NONE;
};
