#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>

/// Presses and releases keys by exact X key code through the XTEST extension, on a
/// connection of its own: the server takes them as keys typed on the keyboard. Exact codes
/// matter: asking for a keysym may press another key that carries it.
class XTestInjector {
public:
    /// Connects to `display` (DISPLAY when null); null when that fails or XTEST is missing.
    static std::unique_ptr<XTestInjector> open(const char* display = nullptr);
    ~XTestInjector();

    XTestInjector(const XTestInjector&) = delete;
    XTestInjector& operator=(const XTestInjector&) = delete;

    /// Each is sent at once.
    void press(std::uint8_t xKeyCode);
    void release(std::uint8_t xKeyCode);
    /// Press and release.
    void type(std::uint8_t xKeyCode);
    /// Returns once the server has handled everything sent so far.
    void sync();

private:
    explicit XTestInjector(xcb_connection_t* connection) : connection_(connection) {}
    void send(std::uint8_t type, std::uint8_t xKeyCode);

    xcb_connection_t* connection_;
};

/// X key codes of the keys the tests press (evdev code + 8, the same on every layout).
namespace XKey {
constexpr std::uint8_t q = 24;
constexpr std::uint8_t w = 25;
constexpr std::uint8_t a = 38;
constexpr std::uint8_t s = 39;
constexpr std::uint8_t d = 40;
constexpr std::uint8_t z = 52;
constexpr std::uint8_t shiftLeft = 50;
constexpr std::uint8_t capsLock = 66;
constexpr std::uint8_t numLock = 77;
constexpr std::uint8_t superLeft = 133;
constexpr std::uint8_t superRight = 134;
} // namespace XKey
