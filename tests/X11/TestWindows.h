#pragma once

#include <xcb/xcb.h>

#include <QPoint>
#include <QSize>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

/// What a test window carries: each property, as bytes, only when given.
struct TestWindowProperties {
    std::optional<std::int32_t> pid{};
    std::optional<QByteArray> wmClass{};              // "instance\0class\0"
    std::optional<QByteArray> title{}, legacyTitle{}; // _NET_WM_NAME, WM_NAME (Latin-1)
    std::optional<QByteArray> clientMachine{};
    std::optional<QByteArray> type{}; // the _NET_WM_WINDOW_TYPE_* atom's name
    std::optional<std::uint32_t> opacity{};
    QSize size{240, 120};
    /// A position the user gave: the manager keeps it rather than search for a free place.
    std::optional<QPoint> position{};
};

/// A small X client of the tests' own: creates windows with chosen properties on a connection
/// of its own, has the window manager act on any window through its command-line tools, and
/// waits, by X events, until it has. Records the keys typed into its windows while a wait runs.
/// Every window it made is destroyed, and gone from the client list, when it goes away.
class TestWindows {
public:
    struct Key {
        std::uint8_t code = 0;
        std::uint16_t state = 0; // the modifiers the client saw with it
    };

    TestWindows();
    ~TestWindows();
    TestWindows(const TestWindows&) = delete;
    TestWindows& operator=(const TestWindows&) = delete;

    /// Creates and maps a window; the manager may not have taken it yet.
    xcb_window_t map(const TestWindowProperties& props);
    /// Creates and maps a window and waits until the manager shows it.
    xcb_window_t create(const TestWindowProperties& props);
    /// Destroys a window it made and waits until the manager lists it no more.
    bool destroy(xcb_window_t window);
    /// Hears the property changes of a window we did not make too.
    void watch(xcb_window_t window);
    /// Runs until `done` holds, woken by X events (the root's and our windows' property
    /// changes); false when `limitMs` passed first (a hang guard, not a delay).
    bool waitUntil(const std::function<bool()>& done, int limitMs = 5000);

    /// wmctrl and xdotool at work; each is true once the manager says it is done.
    bool showDesktop(std::uint32_t desktop);
    bool moveToDesktop(xcb_window_t window, std::uint32_t desktop); // 0xFFFFFFFF: every desktop
    bool minimise(xcb_window_t window);
    bool activate(xcb_window_t window);

    xcb_atom_t atom(const char* name);
    std::vector<xcb_window_t> clientList();
    std::optional<std::uint32_t> cardinal(xcb_window_t window, const char* property);
    std::optional<std::uint32_t> currentDesktop() { return cardinal(root_, "_NET_CURRENT_DESKTOP"); }
    std::optional<std::uint32_t> activeWindow() { return cardinal(root_, "_NET_ACTIVE_WINDOW"); }
    bool hasState(xcb_window_t window, const char* state);
    bool isViewable(xcb_window_t window);
    std::optional<xcb_window_t> windowOf(std::int32_t pid);

    /// The key presses our windows received so far, in order.
    const std::vector<Key>& keys() const { return keys_; }
    int presses(std::uint8_t xKeyCode) const;
    bool waitForPresses(std::uint8_t xKeyCode, int count) {
        return waitUntil([&] { return presses(xKeyCode) >= count; });
    }

    xcb_connection_t* connection() const { return connection_; }
    xcb_window_t root() const { return root_; }

private:
    void setProperty(xcb_window_t window, const char* property, xcb_atom_t type, int format, const void* data,
                     std::uint32_t count);
    /// How many of `windows` are in the client list.
    std::size_t listed(const std::vector<xcb_window_t>& windows);
    std::vector<std::uint32_t> values(xcb_window_t window, const char* property, xcb_atom_t type,
                                      std::uint32_t most);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    std::vector<xcb_window_t> windows_;
    std::map<std::string, xcb_atom_t> atoms_;
    std::vector<Key> keys_;
};

/// Runs a command-line tool to its end and returns what it printed; empty when it could not
/// run or failed, with `exitCode` (when given) set to its exit status, or -1.
QString runTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr);
/// The id of a window as X tools print it ("0x0040000c").
QString hexId(xcb_window_t window);
