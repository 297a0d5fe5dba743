#pragma once

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

/// Presses and releases keys by exact X key code through the XTEST extension, on a
/// connection of its own: the server takes them as keys typed on the keyboard. Exact codes
/// matter: asking for a keysym may press another key that carries it.
class XTestInjector {
public:
    /// Connects to `display` (DISPLAY when null); null when that fails or XTEST is missing.
    static std::unique_ptr<XTestInjector> open(const char* display = nullptr) {
        xcb_connection_t* c = xcb_connect(display, nullptr);
        const xcb_query_extension_reply_t* xtest =
            xcb_connection_has_error(c) ? nullptr : xcb_get_extension_data(c, &xcb_test_id);
        if (xtest && xtest->present) return std::unique_ptr<XTestInjector>(new XTestInjector(c));
        xcb_disconnect(c);
        return nullptr;
    }
    ~XTestInjector() { xcb_disconnect(connection_); }
    XTestInjector(const XTestInjector&) = delete;
    XTestInjector& operator=(const XTestInjector&) = delete;

    /// Each is sent at once.
    void press(std::uint8_t xKeyCode) { send(XCB_KEY_PRESS, xKeyCode); }
    void release(std::uint8_t xKeyCode) { send(XCB_KEY_RELEASE, xKeyCode); }
    void type(std::uint8_t xKeyCode) {
        press(xKeyCode);
        release(xKeyCode);
    }
    /// Holds `modifier` while typing `key`.
    void chord(std::uint8_t modifier, std::uint8_t key) {
        press(modifier);
        type(key);
        release(modifier);
    }
    /// Returns once the server has handled everything sent so far.
    void sync() {
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

private:
    explicit XTestInjector(xcb_connection_t* connection) : connection_(connection) {}
    void send(std::uint8_t type, std::uint8_t xKeyCode) {
        xcb_test_fake_input(connection_, type, xKeyCode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(connection_);
    }

    xcb_connection_t* connection_;
};

/// X key codes of the keys the tests press (evdev code + 8, the same on every layout).
namespace XKey {
constexpr std::uint8_t q = 24, w = 25, a = 38, s = 39, d = 40, z = 52;
constexpr std::uint8_t shiftLeft = 50, capsLock = 66, numLock = 77, superLeft = 133, superRight = 134;
} // namespace XKey
