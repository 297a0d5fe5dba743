#include "X11MinimizeRequest.h"

#include "Platform/X11/X11Clients.h"
#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11Reply.h"

#include <QDeadlineTimer>

#include <poll.h>

namespace X11MinimizeRequest {

namespace {

constexpr std::uint32_t iconicState = 3;

std::optional<bool> hidden(X11Connection& c, xcb_window_t window) {
    const auto state = X11Clients::readOne(c, window, X11Clients::state);
    if (!state) return std::nullopt;
    return state->hidden;
}

void requestIconic(X11Connection& c, xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = c.atom("WM_CHANGE_STATE");
    message.data.data32[0] = iconicState;
    xcb_send_event(c.xcb(), 0, c.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

/// What the events since the last look say: the state may have changed, the window is gone,
/// or nothing of interest happened.
enum class News { none, stateChanged, gone };

News drain(X11Connection& c, xcb_window_t window) {
    News news = News::none;
    while (xcb_generic_event_t* raw = xcb_poll_for_event(c.xcb())) {
        X11Reply<xcb_generic_event_t> event(raw);
        switch (event->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_property_notify_event_t*>(raw);
            if (e->window == window && e->atom == c.ewmh()->_NET_WM_STATE && news == News::none)
                news = News::stateChanged;
            break;
        }
        case XCB_DESTROY_NOTIFY:
            if (reinterpret_cast<const xcb_destroy_notify_event_t*>(raw)->window == window) news = News::gone;
            break;
        default:
            break;
        }
    }
    return news;
}

} // namespace

bool run(xcb_window_t window, bool minimize, std::chrono::milliseconds limit) {
    const QDeadlineTimer deadline(limit);
    const auto c = X11Connection::open();
    if (!c) return false;

    // Listen before looking, so a change made between the look and the wait is not missed.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    const xcb_void_cookie_t select =
        xcb_change_window_attributes_checked(c->xcb(), window, XCB_CW_EVENT_MASK, &mask);
    if (X11Reply<xcb_generic_error_t> error(xcb_request_check(c->xcb(), select)); error) return false;
    const auto before = hidden(*c, window);
    if (!before) return false;
    if (*before == minimize) return true;

    if (minimize)
        requestIconic(*c, window);
    else
        xcb_ewmh_request_change_active_window(c->ewmh(), c->screenNumber(), window,
                                              XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME,
                                              XCB_WINDOW_NONE);
    xcb_flush(c->xcb());

    for (;;) {
        switch (drain(*c, window)) {
        case News::gone:
            return false;
        case News::stateChanged:
            if (const auto now = hidden(*c, window); !now || *now == minimize) return now.has_value();
            break;
        case News::none:
            break;
        }
        if (c->hasError() || deadline.hasExpired()) return false;
        struct pollfd p {
            xcb_get_file_descriptor(c->xcb()), POLLIN, 0
        };
        poll(&p, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
    }
}

} // namespace X11MinimizeRequest
