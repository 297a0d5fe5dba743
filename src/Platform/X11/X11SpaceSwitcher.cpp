#include "X11SpaceSwitcher.h"

#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11Reply.h"

#include <QDeadlineTimer>

#include <cstdlib>
#include <optional>
#include <poll.h>

namespace {

struct Desktops {
    std::optional<std::uint32_t> current;
    std::optional<std::uint32_t> count;
};

Desktops readDesktops(X11Connection& c) {
    xcb_ewmh_connection_t* e = c.ewmh();
    const auto currentCookie = xcb_ewmh_get_current_desktop(e, c.screenNumber());
    const auto countCookie = xcb_ewmh_get_number_of_desktops(e, c.screenNumber());
    Desktops desktops;
    std::uint32_t value = 0;
    if (xcb_ewmh_get_current_desktop_reply(e, currentCookie, &value, nullptr)) desktops.current = value;
    if (xcb_ewmh_get_number_of_desktops_reply(e, countCookie, &value, nullptr)) desktops.count = value;
    return desktops;
}

/// Whether the events that arrived say the current desktop changed; the rest are dropped.
bool currentDesktopChanged(X11Connection& c) {
    bool changed = false;
    while (xcb_generic_event_t* raw = xcb_poll_for_event(c.xcb())) {
        X11Reply<xcb_generic_event_t> event(raw);
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
            reinterpret_cast<const xcb_property_notify_event_t*>(raw)->atom == c.ewmh()->_NET_CURRENT_DESKTOP)
            changed = true;
    }
    return changed;
}

} // namespace

X11SpaceSwitcher::X11SpaceSwitcher() = default;
X11SpaceSwitcher::~X11SpaceSwitcher() = default;

bool X11SpaceSwitcher::listening() {
    if (connection_ && !connection_->hasError()) return true;
    connection_ = X11Connection::open();
    if (!connection_) return false;
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_->xcb(), connection_->root(), XCB_CW_EVENT_MASK, &events);
    return true;
}

bool X11SpaceSwitcher::makeCurrent(std::uint64_t space, const QString&) {
    if (space == 0 || space > 0xFFFFFFFFu) return false;
    const auto target = std::uint32_t(space - 1);
    const QDeadlineTimer deadline(confirmationLimit);
    std::lock_guard lock(mutex_);
    if (!listening()) return false;
    X11Connection& c = *connection_;

    // Earlier changes are old news; the look below is taken after them, and the listening
    // started before it, so no change in between goes unheard.
    currentDesktopChanged(c);
    const Desktops before = readDesktops(c);
    if (!before.count || target >= *before.count) return false;
    if (before.current == target) return true;

    xcb_ewmh_request_change_current_desktop(c.ewmh(), c.screenNumber(), target, XCB_CURRENT_TIME);
    xcb_flush(c.xcb());
    for (;;) {
        if (currentDesktopChanged(c) && readDesktops(c).current == target) return true;
        if (c.hasError() || deadline.hasExpired()) return false;
        pollfd readable{xcb_get_file_descriptor(c.xcb()), POLLIN, 0};
        ::poll(&readable, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
    }
}
