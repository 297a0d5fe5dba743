#include "X11Connection.h"

#include "X11RootWatch.h"

#include <xcb/res.h>

#include <cstdlib>

std::unique_ptr<X11Connection> X11Connection::open(const char* display) {
    std::unique_ptr<X11Connection> c(new X11Connection);
    c->display_ = display ? QByteArray(display) : QByteArray();
    c->connection_ = xcb_connect(display, &c->screenNumber_);
    if (xcb_connection_has_error(c->connection_)) return nullptr;

    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c->connection_));
    for (int i = 0; it.rem > 0 && i < c->screenNumber_; ++i) xcb_screen_next(&it);
    if (it.rem == 0) return nullptr;
    c->screen_ = it.data;
    // Asked now and awaited only when a window's process is first read.
    xcb_prefetch_extension_data(c->connection_, &xcb_res_id);

    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(c->connection_, &c->ewmh_);
    c->ewmhReady_ = xcb_ewmh_init_atoms_replies(&c->ewmh_, cookies, nullptr) != 0;
    if (!c->ewmhReady_) return nullptr;
    return c;
}

X11Connection::~X11Connection() {
    if (ewmhReady_) xcb_ewmh_connection_wipe(&ewmh_);
    if (connection_) xcb_disconnect(connection_);
}

X11RootWatch& X11Connection::rootWatch() {
    std::call_once(watchOnce_, [this] { watch_ = std::make_unique<X11RootWatch>(display_); });
    return *watch_;
}

xcb_atom_t X11Connection::atom(const char* name) {
    const QByteArray key(name);
    {
        std::lock_guard lock(atomsMutex_);
        if (const auto found = atoms_.constFind(key); found != atoms_.constEnd()) return *found;
    }
    const auto cookie = xcb_intern_atom(connection_, 0, static_cast<uint16_t>(key.size()), key.constData());
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    std::lock_guard lock(atomsMutex_);
    atoms_.insert(key, value);
    return value;
}
