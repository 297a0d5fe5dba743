#include "X11ClientListWatch.h"

#include "X11Connection.h"
#include "X11Reply.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdlib>

X11ClientListWatch::X11ClientListWatch(QByteArray display, std::function<void()> changed)
    : display_(std::move(display)), changed_(std::move(changed)) {}

X11ClientListWatch::~X11ClientListWatch() {
    stop();
    if (wake_ >= 0) ::close(wake_);
}

void X11ClientListWatch::stop() {
    std::lock_guard lock(startMutex_);
    stopping_ = true;
    if (thread_.joinable()) {
        poke();
        thread_.join();
    }
}

bool X11ClientListWatch::start() {
    std::lock_guard lock(startMutex_);
    if (thread_.joinable()) return true;
    if (stopping_) return false;
    connection_ = X11Connection::open(display_.isEmpty() ? nullptr : display_.constData());
    if (!connection_) return false;
    if (wake_ < 0) wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0) return false;
    xcb_connection_t* c = connection_->xcb();
    clientList_ = connection_->atom("_NET_CLIENT_LIST");
    // Our own event mask on the root: other listeners keep theirs.
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, connection_->root(), XCB_CW_EVENT_MASK, &events);
    // Once this answer is in, every later change reaches us.
    X11Reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    thread_ = std::thread([this] { run(); });
    return true;
}

void X11ClientListWatch::poke() {
    if (wake_ < 0) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wake_, &one, sizeof one);
}

void X11ClientListWatch::run() {
    xcb_connection_t* c = connection_->xcb();
    while (!stopping_) {
        bool changed = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
                reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == clientList_)
                changed = true;
            std::free(event);
        }
        if (changed) changed_();
        // A broken connection hears nothing more; pokes still arrive.
        const bool listening = !connection_->hasError();
        pollfd fds[2] = {{wake_, POLLIN, 0}, {listening ? xcb_get_file_descriptor(c) : -1, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto read = ::read(wake_, &count, sizeof count);
            if (!stopping_) changed_();
        }
    }
}
