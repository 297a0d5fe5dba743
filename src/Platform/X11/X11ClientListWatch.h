#pragma once

#include <xcb/xcb.h>

#include <QByteArray>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class X11Connection;

/// Calls back, on a thread of its own, whenever the window manager's client list changes and
/// whenever asked to: how a launch hears its first window without polling. It listens on a
/// private connection from the first `start` until it is destroyed.
class X11ClientListWatch final {
public:
    /// Watches the display `display` (the DISPLAY variable when empty).
    X11ClientListWatch(QByteArray display, std::function<void()> changed);
    ~X11ClientListWatch();
    X11ClientListWatch(const X11ClientListWatch&) = delete;
    X11ClientListWatch& operator=(const X11ClientListWatch&) = delete;

    /// Starts listening, once. When it returns true, every later change of the list is heard;
    /// false when the display cannot be reached.
    bool start();
    /// Has the callback called soon, on the watch's thread.
    void poke();
    /// Stops listening for good; the callback is not running when this returns.
    void stop();

private:
    void run();

    QByteArray display_;
    std::function<void()> changed_;
    std::mutex startMutex_;
    std::unique_ptr<X11Connection> connection_;
    xcb_atom_t clientList_ = XCB_NONE;
    int wake_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
