#pragma once

#include "Platform/X11/X11ClientProcess.h"
#include "Platform/X11/X11ClientWindow.h"

#include <xcb/res.h>
#include <xcb/xcb.h>

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class X11Connection;

/// Reads the window manager's client windows. Many windows are read in one pipelined pass:
/// every request is sent before the first reply is awaited, so a read costs one round trip
/// however many windows there are.
namespace X11Clients {

/// The parts of a client that a read asks for.
enum Field : unsigned {
    /// The window's process (see X11ClientProcess).
    pid = 1u << 0,
    ownerName = 1u << 1,
    title = 1u << 2,
    frame = 1u << 3,
    /// Hidden and sticky (`_NET_WM_STATE`).
    state = 1u << 4,
    desktop = 1u << 5,
    /// Layer and desktop element (`_NET_WM_WINDOW_TYPE`).
    type = 1u << 6,
    opacity = 1u << 7,
    all = (1u << 8) - 1,
};

/// What the manager publishes on the root window, read in one round trip.
struct Root {
    /// The managed client windows, front to back; nothing when the manager keeps no list.
    std::optional<std::vector<xcb_window_t>> frontToBack;
    /// `_NET_CURRENT_DESKTOP`.
    std::optional<std::uint32_t> currentDesktop;
    /// `_NET_NUMBER_OF_DESKTOPS`.
    std::optional<std::uint32_t> numberOfDesktops;
    /// `_NET_ACTIVE_WINDOW`; nothing when no window is active.
    std::optional<xcb_window_t> activeWindow;
};

/// The requests that tell one window's process: the server's answer, and the window's claim
/// for when the server has none.
struct ProcessCookies {
    std::optional<xcb_res_query_client_ids_cookie_t> server;
    xcb_get_property_cookie_t pid{}, machine{};
};

/// Sends the requests for `window`'s process; no reply is awaited.
ProcessCookies askProcess(X11Connection& connection, xcb_window_t window);
/// Collects the replies of `askProcess`, all of them.
X11ClientProcess process(X11Connection& connection, const ProcessCookies& cookies);

/// `WM_CLASS` ("instance\0class\0") as instance and class. Any client may set any bytes
/// there, an empty or unterminated value included, so it is split within its own length.
std::pair<QString, QString> splitWmClass(const QByteArray& value);

/// The root window's client lists, desktops and active window, as last read while the root
/// has not changed since (see X11RootWatch).
Root root(X11Connection& connection);
/// The same, asked of the server now.
Root readRoot(X11Connection& connection);

/// The root and the asked fields of the clients it lists, front to back.
struct Listing {
    Root root;
    std::vector<X11ClientWindow> clients;
};
/// The root as by `root`, and its clients read now. When the root has to be asked again, the
/// clients it listed last time are asked in the same round trip; only windows new to its list
/// cost one more.
Listing rootAndClients(X11Connection& connection, unsigned fields);
/// The asked fields of each window, in the given order. Windows that no longer exist are
/// left out. Map state (`viewable`) is always read.
std::vector<X11ClientWindow> read(X11Connection& connection, const std::vector<xcb_window_t>& windows,
                                  unsigned fields);
/// One window; nothing when it no longer exists.
std::optional<X11ClientWindow> readOne(X11Connection& connection, xcb_window_t window, unsigned fields);

} // namespace X11Clients
