#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <QByteArray>
#include <QHash>

#include <memory>
#include <mutex>

class X11RootWatch;

/// One connection to the X server with its EWMH helper and an atom cache. Each thread that
/// waits for events has a connection of its own; requests may be sent from any thread.
class X11Connection {
public:
    /// Connects to `display` (the DISPLAY variable when null); null when that fails.
    static std::unique_ptr<X11Connection> open(const char* display = nullptr);
    ~X11Connection();

    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    xcb_connection_t* xcb() const { return connection_; }
    xcb_screen_t* screen() const { return screen_; }
    xcb_window_t root() const { return screen_->root; }
    int screenNumber() const { return screenNumber_; }
    /// The display asked for when connecting; empty for the DISPLAY variable's.
    QByteArray displayName() const { return display_; }
    xcb_ewmh_connection_t* ewmh() { return &ewmh_; }

    /// The atom of this name, interned once.
    xcb_atom_t atom(const char* name);
    /// Whether the connection broke (the server went away).
    bool hasError() const { return xcb_connection_has_error(connection_) != 0; }
    /// The watch on this display's root window, shared by all users of this connection and
    /// started at the first call.
    X11RootWatch& rootWatch();

private:
    X11Connection() = default;

    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    int screenNumber_ = 0;
    xcb_ewmh_connection_t ewmh_{};
    bool ewmhReady_ = false;
    std::mutex atomsMutex_;
    QHash<QByteArray, xcb_atom_t> atoms_;
    QByteArray display_;
    std::once_flag watchOnce_;
    std::unique_ptr<X11RootWatch> watch_;
};
