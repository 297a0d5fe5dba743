#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

/// A small X client for the tests: one mapped window, managed by the window manager, that
/// records the key presses and releases it receives while it has the input focus. Events
/// are read only while one of its waits runs, on the calling thread.
class KeyRecorder {
public:
    struct Key {
        std::uint8_t code = 0;
        bool press = false;
        /// The modifier state the client saw with the key.
        std::uint16_t state = 0;
        bool operator==(const Key&) const = default;
    };

    /// Connects to DISPLAY and maps a window named `title`; null when the display cannot be
    /// reached.
    static std::unique_ptr<KeyRecorder> open(const char* title = "Kestavon key recorder");
    ~KeyRecorder();

    KeyRecorder(const KeyRecorder&) = delete;
    KeyRecorder& operator=(const KeyRecorder&) = delete;

    /// Asks the window manager to activate the window and waits until it has the input focus.
    bool focus(int timeoutMs = 5000);
    /// Waits until `count` presses of this key have arrived in all; false when they did not
    /// come in time.
    bool waitForPresses(std::uint8_t xKeyCode, int count = 1, int timeoutMs = 5000);
    /// How many presses of this key have arrived so far.
    int presses(std::uint8_t xKeyCode) const;
    /// The keys received so far, in order.
    const std::vector<Key>& keys() const { return keys_; }

private:
    explicit KeyRecorder(xcb_connection_t* connection) : connection_(connection) {}
    /// Reads events until `done` holds or the time is up.
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);
    void take(const xcb_generic_event_t* event);
    bool hasFocus();
    void requestActivation();

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    xcb_window_t window_ = 0;
    bool mapped_ = false;
    std::vector<Key> keys_;
};
