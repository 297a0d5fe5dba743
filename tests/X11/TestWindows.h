#pragma once

#include <xcb/xcb.h>

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

/// What a test window carries. Each property is set only when given.
struct TestWindowProperties {
    std::optional<std::int32_t> pid;
    /// The raw `WM_CLASS` bytes: "instance\0class\0".
    std::optional<QByteArray> wmClass;
    /// `_NET_WM_NAME`, as UTF8_STRING bytes (not checked: invalid UTF-8 is allowed).
    std::optional<QByteArray> title;
    /// `WM_NAME`, as STRING (Latin-1) bytes.
    std::optional<QByteArray> legacyTitle;
    /// The name of the `_NET_WM_WINDOW_TYPE_*` atom.
    std::optional<QByteArray> type;
    std::optional<std::uint32_t> opacity;
    QSize size{240, 120};
    /// A position the user gave: the manager keeps it rather than search for a free place.
    std::optional<QPoint> position;
};

/// A small X client of the tests' own: creates windows with chosen properties on a
/// connection of its own and waits, by X events, for the window manager to act on them.
/// Every window it made is destroyed, and gone from the client list, when it goes away.
class TestWindows {
public:
    TestWindows();
    ~TestWindows();
    TestWindows(const TestWindows&) = delete;
    TestWindows& operator=(const TestWindows&) = delete;

    /// Creates and maps a window and waits until the manager shows it.
    xcb_window_t create(const TestWindowProperties& props);
    /// Creates `count` windows, all requests first, then waits for all of them at once (the
    /// limit, a hang guard, is for hundreds).
    std::vector<xcb_window_t> createMany(int count, const std::function<TestWindowProperties(int)>& props);
    /// Destroys one window and waits until it has left the client list.
    void destroy(xcb_window_t window);

    /// Also hear the property and structure changes of a window we did not make.
    void watch(xcb_window_t window);
    /// Runs until `done` holds, woken by X events (the root's and our windows' property
    /// changes); false when `limitMs` passed first (a hang guard, not a delay).
    bool waitUntil(const std::function<bool()>& done, int limitMs = 5000);

    xcb_atom_t atom(const char* name);
    /// The managed windows; in stacking order, bottom to top, when `stacking`.
    std::vector<xcb_window_t> clientList(bool stacking = false);
    std::optional<std::uint32_t> cardinal(xcb_window_t window, const char* property);
    bool hasState(xcb_window_t window, const char* state);
    bool isViewable(xcb_window_t window);
    /// A managed window of process `pid`, if it has one.
    std::optional<xcb_window_t> windowOf(std::int32_t pid);
    /// The top-most of the given windows in the manager's stacking order.
    std::optional<xcb_window_t> topMostOf(const std::vector<xcb_window_t>& windows);

    xcb_connection_t* connection() const { return connection_; }
    xcb_window_t root() const { return root_; }

private:
    void setProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, int format, const void* data,
                     std::uint32_t count);
    void send(xcb_window_t window, const TestWindowProperties& props);
    /// A property of 32-bit values, at most `most` of them.
    std::vector<std::uint32_t> values(xcb_window_t window, const char* property, xcb_atom_t type,
                                      std::uint32_t most);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    std::vector<xcb_window_t> windows_;
    std::map<std::string, xcb_atom_t> atoms_;
};

/// Runs a command-line tool to its end and returns what it printed; empty when it could not
/// run or failed, with `exitCode` (when given) set to its exit status, or -1.
QString runTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr);
/// The id of a window as X tools print it ("0x0040000c").
QString hexId(xcb_window_t window);
