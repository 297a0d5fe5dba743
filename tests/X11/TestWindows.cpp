#include "TestWindows.h"

#include "XSession.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

/// Owns an XCB reply.
template <typename T> auto freed(T* reply) {
    return std::unique_ptr<T, void (*)(void*)>(reply, std::free);
}

constexpr std::uint32_t windowEvents = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

} // namespace

TestWindows::TestWindows() {
    connection_ = xcb_connect(nullptr, nullptr);
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const std::uint32_t rootEvents = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &rootEvents);
    xcb_flush(connection_);
}

TestWindows::~TestWindows() {
    for (const xcb_window_t window : windows_)
        xcb_destroy_window(connection_, window);
    xcb_flush(connection_);
    // The next test starts from a desktop without our windows.
    waitUntil([&] { return listed(windows_) == 0; }, 60000);
    xcb_disconnect(connection_);
}

bool TestWindows::destroy(xcb_window_t window) {
    xcb_destroy_window(connection_, window);
    xcb_flush(connection_);
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
    return waitUntil([&] { return listed({window}) == 0; });
}

xcb_atom_t TestWindows::atom(const char* name) {
    if (const auto known = atoms_.find(name); known != atoms_.end()) return known->second;
    const auto reply = freed(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, uint16_t(std::strlen(name)), name), nullptr));
    return atoms_.emplace(name, reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE)).first->second;
}

void TestWindows::setProperty(xcb_window_t window, const char* property, xcb_atom_t type, int format,
                              const void* data, std::uint32_t count) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, atom(property), type, uint8_t(format),
                        count, data);
}

xcb_window_t TestWindows::map(const TestWindowProperties& props) {
    const xcb_window_t window = xcb_generate_id(connection_);
    const std::uint32_t values[] = {0xffffff, windowEvents | XCB_EVENT_MASK_KEY_PRESS};
    const QPoint at = props.position.value_or(QPoint());
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, root_, int16_t(at.x()), int16_t(at.y()),
                      uint16_t(props.size.width()), uint16_t(props.size.height()), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    // WM_HINTS: input wanted, so the manager gives it the focus.
    const std::uint32_t input[9] = {1, 1};
    setProperty(window, "WM_HINTS", XCB_ATOM_WM_HINTS, 32, input, 9);
    if (props.position) {
        // WM_NORMAL_HINTS: USPosition | USSize, then x, y, width, height.
        const std::uint32_t hints[18] = {1 | 2, std::uint32_t(at.x()), std::uint32_t(at.y()),
                                         std::uint32_t(props.size.width()),
                                         std::uint32_t(props.size.height())};
        setProperty(window, "WM_NORMAL_HINTS", XCB_ATOM_WM_SIZE_HINTS, 32, hints, 18);
    }
    const auto bytes = [&](const char* property, xcb_atom_t type, const std::optional<QByteArray>& value) {
        if (value) setProperty(window, property, type, 8, value->constData(), std::uint32_t(value->size()));
    };
    bytes("WM_CLASS", XCB_ATOM_STRING, props.wmClass);
    bytes("_NET_WM_NAME", atom("UTF8_STRING"), props.title);
    bytes("WM_NAME", XCB_ATOM_STRING, props.legacyTitle);
    bytes("WM_CLIENT_MACHINE", XCB_ATOM_STRING, props.clientMachine);
    const auto word = [&](const char* property, xcb_atom_t type, std::optional<std::uint32_t> value) {
        if (value) setProperty(window, property, type, 32, &*value, 1);
    };
    word("_NET_WM_PID", XCB_ATOM_CARDINAL, props.pid);
    word("_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM,
         props.type ? std::optional(atom(props.type->constData())) : std::nullopt);
    word("_NET_WM_WINDOW_OPACITY", XCB_ATOM_CARDINAL, props.opacity);
    xcb_map_window(connection_, window);
    xcb_flush(connection_);
    windows_.push_back(window);
    return window;
}

xcb_window_t TestWindows::create(const TestWindowProperties& props) {
    const xcb_window_t window = map(props);
    waitUntil([&] { return listed({window}) == 1 && isViewable(window); }, 60000);
    return window;
}

void TestWindows::watch(xcb_window_t window) {
    xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &windowEvents);
    xcb_flush(connection_);
}

bool TestWindows::waitUntil(const std::function<bool()>& done, int limitMs) {
    QDeadlineTimer deadline(limitMs);
    while (!done()) {
        // Events read in while waiting for replies are already queued: look again at once.
        bool queued = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7f) == XCB_KEY_PRESS) {
                const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
                keys_.push_back({key->detail, key->state});
            }
            std::free(event);
            queued = true;
        }
        if (queued) continue;
        if (deadline.hasExpired() || xcb_connection_has_error(connection_)) return false;
        struct pollfd p {
            xcb_get_file_descriptor(connection_), POLLIN, 0
        };
        poll(&p, 1, int(deadline.remainingTime()));
    }
    return true;
}

bool TestWindows::showDesktop(std::uint32_t desktop) {
    runTool("wmctrl", {"-s", QString::number(desktop)});
    return waitUntil([&] { return currentDesktop() == desktop; });
}

bool TestWindows::moveToDesktop(xcb_window_t window, std::uint32_t desktop) {
    runTool("xdotool", {"set_desktop_for_window", QString::number(window), QString::number(qint32(desktop))});
    return waitUntil([&] { return cardinal(window, "_NET_WM_DESKTOP") == desktop; });
}

bool TestWindows::minimise(xcb_window_t window) {
    runTool("xdotool", {"windowminimize", QString::number(window)});
    // openbox marks the window hidden a moment before it unmaps it.
    return waitUntil([&] { return hasState(window, "_NET_WM_STATE_HIDDEN") && !isViewable(window); });
}

bool TestWindows::activate(xcb_window_t window) {
    runTool("wmctrl", {"-i", "-a", hexId(window)});
    return waitUntil([&] { return activeWindow() == window; }, 10000);
}

std::vector<std::uint32_t> TestWindows::values(xcb_window_t window, const char* property, xcb_atom_t type,
                                               std::uint32_t most) {
    const auto reply = freed(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom(property), type, 0, most), nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {data, data + xcb_get_property_value_length(reply.get()) / 4};
}

std::vector<xcb_window_t> TestWindows::clientList() {
    return values(root_, "_NET_CLIENT_LIST", XCB_ATOM_WINDOW, 1 << 16);
}

std::size_t TestWindows::listed(const std::vector<xcb_window_t>& windows) {
    const auto clients = clientList();
    const std::set<xcb_window_t> managed(clients.begin(), clients.end());
    return std::size_t(
        std::count_if(windows.begin(), windows.end(), [&](xcb_window_t w) { return managed.count(w); }));
}

std::optional<xcb_window_t> TestWindows::windowOf(std::int32_t pid) {
    for (const xcb_window_t window : clientList())
        if (cardinal(window, "_NET_WM_PID") == std::uint32_t(pid)) return window;
    return std::nullopt;
}

std::optional<std::uint32_t> TestWindows::cardinal(xcb_window_t window, const char* property) {
    const auto value = values(window, property, XCB_ATOM_ANY, 1);
    return value.empty() ? std::nullopt : std::optional(value.front());
}

bool TestWindows::hasState(xcb_window_t window, const char* state) {
    const auto states = values(window, "_NET_WM_STATE", XCB_ATOM_ATOM, 64);
    return std::find(states.begin(), states.end(), atom(state)) != states.end();
}

bool TestWindows::isViewable(xcb_window_t window) {
    const auto reply = freed(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

int TestWindows::presses(std::uint8_t xKeyCode) const {
    return int(std::count_if(keys_.begin(), keys_.end(), [&](const Key& k) { return k.code == xKeyCode; }));
}

QString runTool(const QString& program, const QStringList& arguments, int* exitCode) {
    // Not through QProcess: Qt starts its child with clone(CLONE_VM | CLONE_VFORK), and
    // ThreadSanitizer, taking every clone for a fork, runs its after-fork work in that child on
    // this process's memory. From then on it ignores this process's locks (races are reported
    // where a lock is plainly held) and refuses new threads. A plain fork it knows.
    if (exitCode) *exitCode = -1;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return {};
    const pid_t pid = spawnQuietly(QStringList{program} + arguments, {}, -1, out[1]);
    ::close(out[1]);
    // Read to the end: the tools all end by themselves.
    QByteArray output;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) != 0;)
        if (n > 0)
            output.append(buffer, n);
        else if (errno != EINTR)
            break;
    ::close(out[0]);
    int status = 0;
    if (pid <= 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) == 127)
        return {};
    if (exitCode) *exitCode = WEXITSTATUS(status);
    return WEXITSTATUS(status) == 0 ? QString::fromUtf8(output) : QString();
}

QString hexId(xcb_window_t window) {
    return QStringLiteral("0x%1").arg(window, 8, 16, QLatin1Char('0'));
}
