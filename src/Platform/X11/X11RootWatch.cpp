#include "X11RootWatch.h"

#include "X11Connection.h"
#include "X11Reply.h"

#include <xcb/randr.h>

#include <algorithm>
#include <cstdlib>

X11RootWatch::X11RootWatch(QByteArray display) : display_(std::move(display)) {}
X11RootWatch::~X11RootWatch() = default;

void X11RootWatch::changedAll() {
    ++generations_.clientList;
    ++generations_.stacking;
    ++generations_.displays;
    ++generations_.root;
}

bool X11RootWatch::connected() {
    if (connection_ && !connection_->hasError()) return true;
    // Whatever happened while nobody listened is unknown.
    changedAll();
    connection_ = X11Connection::open(display_.isEmpty() ? nullptr : display_.constData());
    if (!connection_) return false;
    xcb_connection_t* c = connection_->xcb();
    clientList_ = connection_->atom("_NET_CLIENT_LIST");
    stacking_ = connection_->atom("_NET_CLIENT_LIST_STACKING");
    rootAtoms_ = {clientList_, stacking_, connection_->atom("_NET_CURRENT_DESKTOP"),
                  connection_->atom("_NET_NUMBER_OF_DESKTOPS"), connection_->atom("_NET_ACTIVE_WINDOW")};
    // Event masks are per client: selecting ours leaves other listeners alone. Adding or
    // removing a monitor is announced as the root's ConfigureNotify.
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, connection_->root(), XCB_CW_EVENT_MASK, &events);
    randrEvents_ = 0;
    if (const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c, &xcb_randr_id);
        randr && randr->present) {
        randrEvents_ = randr->first_event;
        xcb_randr_select_input(c, connection_->root(),
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
    }
    // Once this answer is in, every later change reaches us.
    X11Reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    return true;
}

X11RootWatch::Generations X11RootWatch::current() {
    std::lock_guard lock(mutex_);
    if (!connected()) return generations_;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_->xcb())) {
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_PROPERTY_NOTIFY) {
            const xcb_atom_t atom = reinterpret_cast<xcb_property_notify_event_t*>(event)->atom;
            if (atom == clientList_) ++generations_.clientList;
            if (atom == stacking_) ++generations_.stacking;
            if (std::find(rootAtoms_.begin(), rootAtoms_.end(), atom) != rootAtoms_.end()) ++generations_.root;
        } else if (type == XCB_CONFIGURE_NOTIFY ||
                   (randrEvents_ && (type == randrEvents_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
                                     type == randrEvents_ + XCB_RANDR_NOTIFY))) {
            ++generations_.displays;
        }
        std::free(event);
    }
    if (connection_->hasError()) changedAll();
    return generations_;
}

X11Clients::Root
X11RootWatch::root(const std::function<X11Clients::Root(const std::optional<X11Clients::Root>& last)>& read) {
    const std::uint64_t generation = current().root;
    std::lock_guard lock(rootMutex_);
    if (!root_ || generation != rootGeneration_) {
        root_ = read(root_);
        rootGeneration_ = generation;
    }
    return *root_;
}
