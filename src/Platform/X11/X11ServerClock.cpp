#include "X11ServerClock.h"

#include "X11Connection.h"

#include <QDeadlineTimer>

#include <cstdlib>
#include <poll.h>

namespace {

constexpr int answerTimeoutMs = 1000;

} // namespace

X11ServerClock::X11ServerClock() = default;

X11ServerClock::~X11ServerClock() {
    if (connection_ && window_ != XCB_NONE) {
        xcb_destroy_window(connection_->xcb(), window_);
        xcb_flush(connection_->xcb());
    }
}

bool X11ServerClock::prepare() {
    if (connection_ && connection_->hasError()) {
        connection_.reset();
        window_ = XCB_NONE;
    }
    if (connection_) return true;
    connection_ = X11Connection::open();
    if (!connection_) return false;
    xcb_connection_t* c = connection_->xcb();
    window_ = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    // Never mapped: it exists only to have a property changed and hear the time of it.
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, connection_->root(), -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    property_ = connection_->atom("_KESTAVON_SERVER_TIME");
    return true;
}

void X11ServerClock::heardKeyPress(xcb_timestamp_t time) {
    std::lock_guard lock(heardMutex_);
    heard_.emplace(time, std::chrono::steady_clock::now());
}

xcb_timestamp_t X11ServerClock::userActionTime() {
    {
        std::lock_guard lock(heardMutex_);
        if (heard_ && std::chrono::steady_clock::now() - heard_->second < keyPressLifetime)
            return heard_->first;
    }
    return now();
}

xcb_timestamp_t X11ServerClock::now() {
    std::lock_guard lock(mutex_);
    if (!prepare()) return XCB_CURRENT_TIME;
    xcb_connection_t* c = connection_->xcb();
    // Appending nothing changes no value, yet the server reports the change with its time.
    xcb_change_property(c, XCB_PROP_MODE_APPEND, window_, property_, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c);

    QDeadlineTimer deadline(answerTimeoutMs);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const bool answer = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
                                reinterpret_cast<xcb_property_notify_event_t*>(event)->window == window_;
            const xcb_timestamp_t time =
                answer ? reinterpret_cast<xcb_property_notify_event_t*>(event)->time : XCB_CURRENT_TIME;
            std::free(event);
            if (answer) return time;
        }
        if (connection_->hasError() || deadline.hasExpired()) return XCB_CURRENT_TIME;
        struct pollfd readable {
            xcb_get_file_descriptor(c), POLLIN, 0
        };
        ::poll(&readable, 1, int(deadline.remainingTime()));
    }
}
