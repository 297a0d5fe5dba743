#include "X11RestoreRequest.h"

#include "Platform/X11/X11Clients.h"
#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11Reply.h"

#include <QDeadlineTimer>

#include <poll.h>

namespace X11RestoreRequest {

namespace {

std::optional<X11ClientWindow> read(X11Connection& c, xcb_window_t window) {
    return X11Clients::readOne(c, window, X11Clients::pid | X11Clients::state);
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

RestoreOutcome run(xcb_window_t window, std::int32_t pid, std::chrono::milliseconds limit) {
    const QDeadlineTimer deadline(limit);
    const auto c = X11Connection::open();
    if (!c) return RestoreOutcome::unchanged;

    // Listen before looking, so a change made between the look and the wait is not missed.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    const xcb_void_cookie_t select =
        xcb_change_window_attributes_checked(c->xcb(), window, XCB_CW_EVENT_MASK, &mask);
    if (X11Reply<xcb_generic_error_t> error(xcb_request_check(c->xcb(), select)); error)
        return RestoreOutcome::unchanged;
    // A window id the server has since given to another process is not the window meant.
    const auto before = read(*c, window);
    if (!before || before->process.pid != pid || !before->hidden) return RestoreOutcome::unchanged;

    xcb_ewmh_request_change_active_window(c->ewmh(), c->screenNumber(), window,
                                          XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME,
                                          XCB_WINDOW_NONE);
    xcb_flush(c->xcb());

    for (;;) {
        switch (drain(*c, window)) {
        case News::gone:
            return RestoreOutcome::failed;
        case News::stateChanged:
            if (const auto now = read(*c, window); !now)
                return RestoreOutcome::failed;
            else if (!now->hidden)
                return RestoreOutcome::restored;
            break;
        case News::none:
            break;
        }
        if (c->hasError() || deadline.hasExpired()) return RestoreOutcome::failed;
        pollfd readable{xcb_get_file_descriptor(c->xcb()), POLLIN, 0};
        ::poll(&readable, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
    }
}

} // namespace X11RestoreRequest
