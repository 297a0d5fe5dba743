#pragma once

#include "X11Clients.h"

#include <xcb/xcb.h>

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class X11Connection;

/// Hears the window manager change its client lists, and the server change its monitors,
/// without a round trip per question: a private connection listens to the root window, and a
/// question only reads what has already arrived. What was read from the server may be kept
/// while its generation stays the same.
///
/// A change that is still on its way when asked shows up at the next question, as if it had
/// happened just after this one.
class X11RootWatch final {
public:
    /// Counters that grow with each change heard.
    struct Generations {
        /// `_NET_CLIENT_LIST`: windows came or went.
        std::uint64_t clientList = 0;
        /// `_NET_CLIENT_LIST_STACKING`: windows came, went or were restacked.
        std::uint64_t stacking = 0;
        /// Monitors, outputs or the screen's size.
        std::uint64_t displays = 0;
        /// Any of what X11Clients::Root holds: the client lists, the current desktop, the
        /// number of desktops, the active window.
        std::uint64_t root = 0;
    };

    /// Watches the root window of `display` (the DISPLAY variable when empty).
    explicit X11RootWatch(QByteArray display);
    ~X11RootWatch();
    X11RootWatch(const X11RootWatch&) = delete;
    X11RootWatch& operator=(const X11RootWatch&) = delete;

    /// The counters now. While the private connection is missing or broken, every call counts
    /// as a change: nothing read can be known to be still true.
    Generations current();

    /// The root's published state: the one `read` gave last time, unless the root changed
    /// since, in which case `read` is asked again and given the state it gave last time.
    X11Clients::Root
    root(const std::function<X11Clients::Root(const std::optional<X11Clients::Root>& last)>& read);

private:
    bool connected();
    void changedAll();

    std::mutex mutex_;
    QByteArray display_;
    std::unique_ptr<X11Connection> connection_;
    xcb_atom_t clientList_ = XCB_NONE;
    xcb_atom_t stacking_ = XCB_NONE;
    std::uint8_t randrEvents_ = 0;
    std::vector<xcb_atom_t> rootAtoms_;
    Generations generations_;

    std::mutex rootMutex_;
    std::optional<X11Clients::Root> root_;
    std::uint64_t rootGeneration_ = 0;
};
