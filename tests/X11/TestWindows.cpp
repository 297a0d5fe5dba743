#include "TestWindows.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <poll.h>

namespace {

template <typename T> struct Freed {
    T* p;
    explicit Freed(T* reply) : p(reply) {}
    ~Freed() { std::free(p); }
    Freed(const Freed&) = delete;
    Freed& operator=(const Freed&) = delete;
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

constexpr std::uint32_t windowEvents = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

} // namespace

TestWindows::TestWindows() {
    connection_ = xcb_connect(nullptr, nullptr);
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const std::uint32_t rootEvents = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &rootEvents);
    xcb_flush(connection_);
    waitForManagerLoop();
}

void TestWindows::waitForManagerLoop() {
    // openbox announces itself before its event loop runs, and a map request that reaches
    // it in between can lie unread until some later event wakes it. A frame-extents request
    // it has answered proves the loop runs; one lost the same way is asked again.
    const xcb_window_t probe = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, probe, root_, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &windowEvents);
    const xcb_atom_t extents = atom("_NET_FRAME_EXTENTS");
    const auto answered = [&] {
        Freed reply(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, probe, extents, XCB_ATOM_ANY, 0, 4), nullptr));
        return reply && reply->type != XCB_ATOM_NONE;
    };
    for (int attempt = 0; attempt < 50 && !answered(); ++attempt) {
        xcb_client_message_event_t request{};
        request.response_type = XCB_CLIENT_MESSAGE;
        request.format = 32;
        request.window = probe;
        request.type = atom("_NET_REQUEST_FRAME_EXTENTS");
        xcb_send_event(connection_, 0, root_,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&request));
        xcb_flush(connection_);
        if (waitUntil(answered, 200)) break;
    }
    xcb_destroy_window(connection_, probe);
    xcb_flush(connection_);
}

TestWindows::~TestWindows() {
    for (const xcb_window_t window : windows_)
        xcb_destroy_window(connection_, window);
    xcb_flush(connection_);
    // The next test starts from a desktop without our windows.
    waitUntil([&] {
        const auto clients = clientList();
        return std::none_of(windows_.begin(), windows_.end(), [&](xcb_window_t w) {
            return std::find(clients.begin(), clients.end(), w) != clients.end();
        });
    });
    xcb_disconnect(connection_);
}

xcb_atom_t TestWindows::atom(const char* name) {
    if (const auto known = atoms_.find(name); known != atoms_.end()) return known->second;
    Freed reply(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, uint16_t(strlen(name)), name), nullptr));
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    atoms_.emplace(name, value);
    return value;
}

void TestWindows::setProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, int format,
                              const void* data, std::uint32_t count) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, property, type, uint8_t(format), count,
                        data);
}

void TestWindows::send(xcb_window_t window, const TestWindowProperties& props) {
    const std::uint32_t values[] = {0xffffff, windowEvents};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, root_, 0, 0, uint16_t(props.size.width()),
                      uint16_t(props.size.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    if (props.pid) setProperty(window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, &*props.pid, 1);
    if (props.wmClass)
        setProperty(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, props.wmClass->constData(),
                    std::uint32_t(props.wmClass->size()));
    if (props.title)
        setProperty(window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, props.title->constData(),
                    std::uint32_t(props.title->size()));
    if (props.legacyTitle)
        setProperty(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, props.legacyTitle->constData(),
                    std::uint32_t(props.legacyTitle->size()));
    if (props.type) {
        const xcb_atom_t type = atom(props.type->constData());
        setProperty(window, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, &type, 1);
    }
    if (props.opacity)
        setProperty(window, atom("_NET_WM_WINDOW_OPACITY"), XCB_ATOM_CARDINAL, 32, &*props.opacity, 1);
    xcb_map_window(connection_, window);
    windows_.push_back(window);
}

bool TestWindows::managed(xcb_window_t window) {
    const auto clients = clientList();
    return std::find(clients.begin(), clients.end(), window) != clients.end() && isViewable(window);
}

xcb_window_t TestWindows::create(const TestWindowProperties& props) {
    return createMany(1, [&](int) { return props; }).front();
}

std::vector<xcb_window_t> TestWindows::createMany(int count,
                                                  const std::function<TestWindowProperties(int)>& props) {
    std::vector<xcb_window_t> made;
    for (int i = 0; i < count; ++i) {
        made.push_back(xcb_generate_id(connection_));
        send(made.back(), props(i));
    }
    xcb_flush(connection_);
    waitUntil(
        [&] { return std::all_of(made.begin(), made.end(), [&](xcb_window_t w) { return managed(w); }); },
        15000);
    return made;
}

void TestWindows::destroy(xcb_window_t window) {
    xcb_destroy_window(connection_, window);
    xcb_flush(connection_);
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
    waitUntil([&] {
        const auto clients = clientList();
        return std::find(clients.begin(), clients.end(), window) == clients.end();
    });
}

void TestWindows::watch(xcb_window_t window) {
    xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &windowEvents);
    xcb_flush(connection_);
}

bool TestWindows::waitUntil(const std::function<bool()>& done, int limitMs) {
    QDeadlineTimer deadline(limitMs);
    for (;;) {
        if (done()) return true;
        // Events read in while waiting for replies are already queued: look again at once.
        bool queued = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
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
}

std::vector<xcb_window_t> TestWindows::clientList() {
    Freed reply(xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, root_, atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 0, 1 << 16),
        nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* data = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.p));
    return {data, data + xcb_get_property_value_length(reply.p) / 4};
}

std::vector<xcb_window_t> TestWindows::stackingList() {
    Freed reply(
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 0, root_, atom("_NET_CLIENT_LIST_STACKING"),
                                                XCB_ATOM_WINDOW, 0, 1 << 16),
                               nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* data = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.p));
    return {data, data + xcb_get_property_value_length(reply.p) / 4};
}

std::optional<xcb_window_t> TestWindows::topMostOf(const std::vector<xcb_window_t>& windows) {
    const auto stacking = stackingList();
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it)
        if (std::find(windows.begin(), windows.end(), *it) != windows.end()) return *it;
    return std::nullopt;
}

std::optional<std::uint32_t> TestWindows::cardinal(xcb_window_t window, const char* property) {
    Freed reply(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom(property), XCB_ATOM_ANY, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.p) < 4) return std::nullopt;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.p));
}

bool TestWindows::hasState(xcb_window_t window, const char* state) {
    const xcb_atom_t wanted = atom(state);
    Freed reply(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64),
        nullptr));
    if (!reply || reply->format != 32) return false;
    const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.p));
    const int count = xcb_get_property_value_length(reply.p) / 4;
    return std::find(data, data + count, wanted) != data + count;
}

bool TestWindows::isViewable(xcb_window_t window) {
    Freed reply(xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window),
                                                nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

QString runTool(const QString& program, const QStringList& arguments, int* exitCode) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    // Waits for the child to end; the limit only guards against a hung tool.
    const bool finished = process.waitForStarted(10000) && process.waitForFinished(30000);
    const int status = finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (exitCode) *exitCode = status;
    if (!finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    return status == 0 ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

QString hexId(xcb_window_t window) {
    return QStringLiteral("0x%1").arg(window, 8, 16, QLatin1Char('0'));
}
