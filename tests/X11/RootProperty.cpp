#include "RootProperty.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <poll.h>

std::unique_ptr<RootProperty> RootProperty::open(const char* name) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return nullptr;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    auto* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t value = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(atom);
    return std::unique_ptr<RootProperty>(new RootProperty(c, root, value));
}

RootProperty::~RootProperty() {
    xcb_disconnect(connection_);
}

std::optional<std::uint32_t> RootProperty::value() {
    auto* reply = xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, root_, atom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    std::optional<std::uint32_t> value;
    if (reply && xcb_get_property_value_length(reply) == 4)
        value = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return value;
}

bool RootProperty::waitFor(std::uint32_t expected, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_))
            std::free(event);
        // Read after the events were selected: a change made since comes as an event.
        if (value() == expected) return true;
        if (deadline.hasExpired() || xcb_connection_has_error(connection_)) return false;
        // An event that came with the reply is already read from the socket: look again.
        if (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_)) {
            std::free(event);
            continue;
        }
        pollfd p{xcb_get_file_descriptor(connection_), POLLIN, 0};
        poll(&p, 1, int(std::max<qint64>(deadline.remainingTime(), 1)));
    }
}
