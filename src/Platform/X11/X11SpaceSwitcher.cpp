#include "X11SpaceSwitcher.h"

#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11Reply.h"

#include <QDeadlineTimer>

#include <cstdlib>
#include <optional>
#include <poll.h>

namespace {

using Desktops = X11SpaceSwitcher::Desktops;

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

/// Whether the events that arrived say the current desktop or the number of desktops
/// changed; the rest are dropped.
bool desktopsChanged(X11Connection& c) {
    bool changed = false;
    while (xcb_generic_event_t* raw = xcb_poll_for_event(c.xcb())) {
        X11Reply<xcb_generic_event_t> event(raw);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) continue;
        const xcb_atom_t atom = reinterpret_cast<const xcb_property_notify_event_t*>(raw)->atom;
        if (atom == c.ewmh()->_NET_CURRENT_DESKTOP || atom == c.ewmh()->_NET_NUMBER_OF_DESKTOPS)
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
    known_.reset();
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

    // The desktops as last read hold while no change of them has been heard: the listening
    // started before the first look, so none goes unheard. A jump then asks the server once,
    // for the confirmation, not before as well.
    if (desktopsChanged(c) || !known_) known_ = readDesktops(c);
    if (!known_->count || target >= *known_->count) return false;
    if (known_->current == target) return true;

    xcb_ewmh_request_change_current_desktop(c.ewmh(), c.screenNumber(), target, XCB_CURRENT_TIME);
    xcb_flush(c.xcb());
    for (;;) {
        if (desktopsChanged(c)) {
            known_ = readDesktops(c);
            if (known_->current == target) return true;
        }
        if (c.hasError() || deadline.hasExpired()) return false;
        pollfd readable{xcb_get_file_descriptor(c.xcb()), POLLIN, 0};
        ::poll(&readable, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
    }
}
