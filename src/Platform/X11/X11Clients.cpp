#include "X11Clients.h"

#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11Reply.h"
#include "Platform/X11/X11RootWatch.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace X11Clients {

namespace {

// Property reads are capped (in 32-bit units): a client may set a property of megabytes,
// and nothing we show needs more than this.
constexpr std::uint32_t textLimit = 4096;
constexpr std::uint32_t atomListLimit = 64;
constexpr std::uint32_t windowListLimit = 1u << 16;

// Window-list layers: ordinary windows at 0, the desktop below them, the rest above in the
// order a manager stacks them.
namespace Level {
constexpr std::int32_t normal = 0;
constexpr std::int32_t floating = 3;
constexpr std::int32_t dock = 20;
constexpr std::int32_t status = 25;
constexpr std::int32_t popUpMenu = 101;
constexpr std::int32_t help = 200;
constexpr std::int32_t dragging = 500;
constexpr std::int32_t desktop = -1000;
} // namespace Level

using PropertyReply = X11Reply<xcb_get_property_reply_t>;

xcb_get_property_cookie_t ask(X11Connection& c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                              std::uint32_t length) {
    return xcb_get_property(c.xcb(), 0, window, property, type, 0, length);
}

PropertyReply answer(X11Connection& c, xcb_get_property_cookie_t cookie) {
    return PropertyReply(xcb_get_property_reply(c.xcb(), cookie, nullptr));
}

/// The property's 32-bit items; empty when it is missing or of another format.
std::vector<std::uint32_t> items32(const PropertyReply& reply) {
    if (!reply || reply->format != 32 || reply->type == XCB_ATOM_NONE) return {};
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::vector<std::uint32_t>(data, data + std::max(count, 0));
}

std::optional<std::uint32_t> first32(const PropertyReply& reply) {
    const auto values = items32(reply);
    if (values.empty()) return std::nullopt;
    return values.front();
}

/// The property's bytes; nothing when it is missing or not 8-bit.
std::optional<QByteArray> bytes8(const PropertyReply& reply) {
    if (!reply || reply->format != 8 || reply->type == XCB_ATOM_NONE) return std::nullopt;
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    return QByteArray(data, std::max(length, 0));
}

/// Text properties end at their first NUL, if they have one.
std::optional<QByteArray> text8(const PropertyReply& reply) {
    auto raw = bytes8(reply);
    if (raw) {
        if (const qsizetype nul = raw->indexOf('\0'); nul >= 0) raw->truncate(nul);
    }
    return raw;
}

std::optional<QString> utf8Text(const PropertyReply& reply) {
    const auto raw = text8(reply);
    if (!raw) return std::nullopt;
    // Invalid sequences become replacement characters rather than failing the title.
    return QString::fromUtf8(*raw);
}

/// `WM_NAME` is Latin-1 when typed STRING; other encodings are taken as UTF-8.
std::optional<QString> legacyText(const PropertyReply& reply) {
    if (reply && reply->type == XCB_ATOM_STRING) {
        const auto raw = text8(reply);
        if (!raw) return std::nullopt;
        return QString::fromLatin1(*raw);
    }
    return utf8Text(reply);
}

/// `WM_CLASS` is "instance\0class\0": the class names the application better.
std::optional<QString> ownerOf(const PropertyReply& reply) {
    const auto raw = bytes8(reply);
    if (!raw) return std::nullopt;
    auto [instance, className] = splitWmClass(*raw);
    if (!className.isEmpty()) return className;
    if (!instance.isEmpty()) return instance;
    return std::nullopt;
}

/// The first type the manager's list names that we know decides; no known type is normal.
std::int32_t levelOf(X11Connection& c, const std::vector<std::uint32_t>& types) {
    xcb_ewmh_connection_t* e = c.ewmh();
    for (const std::uint32_t type : types) {
        if (type == e->_NET_WM_WINDOW_TYPE_NORMAL || type == e->_NET_WM_WINDOW_TYPE_DIALOG)
            return Level::normal;
        if (type == e->_NET_WM_WINDOW_TYPE_DESKTOP) return Level::desktop;
        if (type == e->_NET_WM_WINDOW_TYPE_DOCK) return Level::dock;
        if (type == e->_NET_WM_WINDOW_TYPE_TOOLBAR || type == e->_NET_WM_WINDOW_TYPE_UTILITY ||
            type == e->_NET_WM_WINDOW_TYPE_SPLASH)
            return Level::floating;
        if (type == e->_NET_WM_WINDOW_TYPE_MENU || type == e->_NET_WM_WINDOW_TYPE_DROPDOWN_MENU ||
            type == e->_NET_WM_WINDOW_TYPE_POPUP_MENU || type == e->_NET_WM_WINDOW_TYPE_COMBO)
            return Level::popUpMenu;
        if (type == e->_NET_WM_WINDOW_TYPE_NOTIFICATION) return Level::status;
        if (type == e->_NET_WM_WINDOW_TYPE_TOOLTIP) return Level::help;
        if (type == e->_NET_WM_WINDOW_TYPE_DND) return Level::dragging;
    }
    return Level::normal;
}

/// A pid is a signed 32-bit number above 0; other values name no process.
std::optional<std::int32_t> pidOf(std::uint32_t value) {
    if (value == 0 || value > std::uint32_t(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
    return std::int32_t(value);
}

/// The pid the server gives for the client's connection; nothing for a client it cannot tell
/// of (it gives none for a client over TCP) or a server that does not know the request.
std::optional<std::int32_t> serverPid(X11Connection& c, xcb_res_query_client_ids_cookie_t cookie) {
    const X11Reply<xcb_res_query_client_ids_reply_t> reply(
        xcb_res_query_client_ids_reply(c.xcb(), cookie, nullptr));
    if (!reply) return std::nullopt;
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem > 0;
         xcb_res_client_id_value_next(&it)) {
        // Only the pid was asked for: a value of one number is it.
        if (xcb_res_client_id_value_value_length(it.data) != 1) continue;
        return pidOf(*xcb_res_client_id_value_value(it.data));
    }
    return std::nullopt;
}

// The request takes an array of (client, what to tell) pairs; ours holds one, whose type is
// taken from the request itself.
template <typename Pair>
xcb_res_query_client_ids_cookie_t askClientPid(
    xcb_connection_t* c, xcb_res_query_client_ids_cookie_t (*request)(xcb_connection_t*, std::uint32_t, const Pair*),
    xcb_window_t window) {
    const Pair pair{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    return request(c, 1, &pair);
}

struct Cookies {
    xcb_get_window_attributes_cookie_t attributes{};
    ProcessCookies process{};
    xcb_get_property_cookie_t wmClass{}, netName{}, wmName{};
    xcb_get_property_cookie_t state{}, desktop{}, type{}, opacity{};
    xcb_get_geometry_cookie_t geometry{};
    xcb_translate_coordinates_cookie_t origin{};
};

Cookies send(X11Connection& c, xcb_window_t w, unsigned fields, xcb_atom_t opacityAtom) {
    xcb_ewmh_connection_t* e = c.ewmh();
    Cookies k;
    k.attributes = xcb_get_window_attributes(c.xcb(), w);
    if (fields & pid) k.process = askProcess(c, w);
    // Text is asked for in any type: a mismatched type would come back empty, not missing.
    if (fields & ownerName) k.wmClass = ask(c, w, XCB_ATOM_WM_CLASS, XCB_GET_PROPERTY_TYPE_ANY, textLimit);
    if (fields & title) {
        k.netName = ask(c, w, e->_NET_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, textLimit);
        k.wmName = ask(c, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, textLimit);
    }
    if (fields & frame) {
        k.geometry = xcb_get_geometry(c.xcb(), w);
        k.origin = xcb_translate_coordinates(c.xcb(), w, c.root(), 0, 0);
    }
    if (fields & state) k.state = ask(c, w, e->_NET_WM_STATE, XCB_ATOM_ATOM, atomListLimit);
    if (fields & desktop) k.desktop = ask(c, w, e->_NET_WM_DESKTOP, XCB_ATOM_CARDINAL, 1);
    if (fields & type) k.type = ask(c, w, e->_NET_WM_WINDOW_TYPE, XCB_ATOM_ATOM, atomListLimit);
    if (fields & opacity) k.opacity = ask(c, w, opacityAtom, XCB_ATOM_CARDINAL, 1);
    return k;
}

std::optional<X11ClientWindow> receive(X11Connection& c, xcb_window_t w, unsigned fields, const Cookies& k) {
    xcb_ewmh_connection_t* e = c.ewmh();
    // Every reply is collected, even for a window that has gone, so none is left queued.
    X11Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c.xcb(), k.attributes, nullptr));
    X11ClientWindow window;
    window.id = w;
    if (fields & pid) window.process = process(c, k.process);
    if (fields & ownerName) window.ownerName = ownerOf(answer(c, k.wmClass));
    if (fields & title) {
        const auto netName = answer(c, k.netName);
        const auto wmName = answer(c, k.wmName);
        // Some clients set an empty _NET_WM_NAME and keep their title in WM_NAME.
        window.title = utf8Text(netName);
        if (!window.title || window.title->isEmpty()) {
            if (auto legacy = legacyText(wmName); legacy && (!legacy->isEmpty() || !window.title))
                window.title = std::move(legacy);
        }
    }
    if (fields & frame) {
        X11Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c.xcb(), k.geometry, nullptr));
        X11Reply<xcb_translate_coordinates_reply_t> origin(
            xcb_translate_coordinates_reply(c.xcb(), k.origin, nullptr));
        if (geometry && origin)
            window.frame = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    }
    if (fields & state) {
        for (const std::uint32_t atom : items32(answer(c, k.state))) {
            if (atom == e->_NET_WM_STATE_HIDDEN) window.hidden = true;
            if (atom == e->_NET_WM_STATE_STICKY) window.sticky = true;
        }
    }
    if (fields & desktop) window.desktop = first32(answer(c, k.desktop));
    if (fields & type) {
        window.layer = levelOf(c, items32(answer(c, k.type)));
    }
    if (fields & opacity) {
        if (const auto value = first32(answer(c, k.opacity)))
            window.opacity = double(*value) / double(std::numeric_limits<std::uint32_t>::max());
    }
    if (!attributes) return std::nullopt;
    window.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    return window;
}

using Sent = std::vector<Cookies>;

Sent sendAll(X11Connection& c, const std::vector<xcb_window_t>& windows, unsigned fields) {
    const xcb_atom_t opacityAtom =
        (fields & opacity) && !windows.empty() ? c.atom("_NET_WM_WINDOW_OPACITY") : xcb_atom_t(XCB_ATOM_NONE);
    Sent cookies;
    cookies.reserve(windows.size());
    for (const xcb_window_t w : windows)
        cookies.push_back(send(c, w, fields, opacityAtom));
    return cookies;
}

std::vector<X11ClientWindow> receiveAll(X11Connection& c, const std::vector<xcb_window_t>& windows,
                                        unsigned fields, const Sent& cookies) {
    std::vector<X11ClientWindow> result;
    result.reserve(windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (auto window = receive(c, windows[i], fields, cookies[i])) result.push_back(std::move(*window));
    return result;
}

struct RootCookies {
    xcb_get_property_cookie_t stacking{}, mapping{}, current{}, count{}, active{};
};

RootCookies askRoot(X11Connection& c) {
    xcb_ewmh_connection_t* e = c.ewmh();
    const xcb_window_t r = c.root();
    RootCookies k;
    k.stacking = ask(c, r, e->_NET_CLIENT_LIST_STACKING, XCB_ATOM_WINDOW, windowListLimit);
    k.mapping = ask(c, r, e->_NET_CLIENT_LIST, XCB_ATOM_WINDOW, windowListLimit);
    k.current = ask(c, r, e->_NET_CURRENT_DESKTOP, XCB_ATOM_CARDINAL, 1);
    k.count = ask(c, r, e->_NET_NUMBER_OF_DESKTOPS, XCB_ATOM_CARDINAL, 1);
    k.active = ask(c, r, e->_NET_ACTIVE_WINDOW, XCB_ATOM_WINDOW, 1);
    return k;
}

Root receiveRoot(X11Connection& c, const RootCookies& k) {
    const auto stacking = answer(c, k.stacking);
    const auto mapping = answer(c, k.mapping);

    Root state;
    state.currentDesktop = first32(answer(c, k.current));
    state.numberOfDesktops = first32(answer(c, k.count));
    if (const auto active = first32(answer(c, k.active)); active && *active != XCB_WINDOW_NONE)
        state.activeWindow = *active;
    // The stacking list runs bottom to top. A manager that keeps only the mapping-order list
    // still gets its windows listed, in that order.
    const PropertyReply& list = stacking && stacking->type != XCB_ATOM_NONE ? stacking : mapping;
    if (list && list->type != XCB_ATOM_NONE) {
        std::vector<xcb_window_t> windows = items32(list);
        std::reverse(windows.begin(), windows.end());
        state.frontToBack = std::move(windows);
    }
    return state;
}

} // namespace

ProcessCookies askProcess(X11Connection& c, xcb_window_t window) {
    ProcessCookies k;
    // An extension's request to a server without it would close the connection.
    if (const xcb_query_extension_reply_t* res = xcb_get_extension_data(c.xcb(), &xcb_res_id);
        res && res->present) {
        // The server finds the client by the window id's client bits.
        k.server = askClientPid(c.xcb(), &xcb_res_query_client_ids, window);
    }
    k.pid = ask(c, window, c.ewmh()->_NET_WM_PID, XCB_ATOM_CARDINAL, 1);
    k.machine = ask(c, window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_GET_PROPERTY_TYPE_ANY, textLimit);
    return k;
}

X11ClientProcess process(X11Connection& c, const ProcessCookies& k) {
    X11ClientProcess result;
    if (k.server) result.pid = serverPid(c, *k.server);
    result.fromServer = result.pid.has_value();
    // Where the two disagree the server wins: a sandboxed program, in a pid namespace of its
    // own, claims its pid inside the sandbox, which here names some other process.
    const auto claimed = first32(answer(c, k.pid));
    if (!result.fromServer && claimed) result.pid = pidOf(*claimed);
    result.clientMachine = text8(answer(c, k.machine));
    return result;
}

std::pair<QString, QString> splitWmClass(const QByteArray& value) {
    const QList<QByteArray> parts = value.split('\0');
    return {QString::fromUtf8(parts.value(0)), QString::fromUtf8(parts.value(1))};
}

Root root(X11Connection& c) {
    return c.rootWatch().root([&c](const std::optional<Root>&) { return readRoot(c); });
}

Root readRoot(X11Connection& c) {
    return receiveRoot(c, askRoot(c));
}

Listing rootAndClients(X11Connection& c, unsigned fields) {
    Listing listing;
    std::vector<xcb_window_t> guess;
    std::optional<std::vector<X11ClientWindow>> guessed;
    listing.root = c.rootWatch().root([&](const std::optional<Root>& last) {
        // The root changed since it was last read, nearly always by a restacking or a new
        // active window: the clients it listed then are asked with it, on a guess.
        const RootCookies rootCookies = askRoot(c);
        if (last && last->frontToBack) guess = *last->frontToBack;
        const Sent sent = sendAll(c, guess, fields);
        Root fresh = receiveRoot(c, rootCookies);
        guessed = receiveAll(c, guess, fields, sent);
        return fresh;
    });
    if (!listing.root.frontToBack) return listing;
    const std::vector<xcb_window_t>& listed = *listing.root.frontToBack;
    if (!guessed) {
        listing.clients = read(c, listed, fields);
        return listing;
    }
    // Windows the guess missed are asked now; those it named that have left the list, dropped.
    std::unordered_map<xcb_window_t, X11ClientWindow> known;
    known.reserve(guessed->size());
    for (X11ClientWindow& window : *guessed)
        known.emplace(window.id, std::move(window));
    const std::unordered_set<xcb_window_t> asked(guess.begin(), guess.end());
    std::vector<xcb_window_t> missing;
    for (const xcb_window_t w : listed)
        if (asked.find(w) == asked.end()) missing.push_back(w);
    for (X11ClientWindow& window : read(c, missing, fields))
        known.emplace(window.id, std::move(window));
    listing.clients.reserve(listed.size());
    for (const xcb_window_t w : listed)
        if (const auto found = known.find(w); found != known.end()) listing.clients.push_back(found->second);
    return listing;
}

std::vector<X11ClientWindow> read(X11Connection& c, const std::vector<xcb_window_t>& windows,
                                  unsigned fields) {
    if (windows.empty()) return {};
    return receiveAll(c, windows, fields, sendAll(c, windows, fields));
}

std::optional<X11ClientWindow> readOne(X11Connection& c, xcb_window_t window, unsigned fields) {
    auto windows = read(c, {window}, fields);
    if (windows.empty()) return std::nullopt;
    return std::move(windows.front());
}

} // namespace X11Clients
