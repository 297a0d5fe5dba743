#pragma once

#include <cstdint>
#include <memory>

/// A keyboard of the tests' own on the compositor (zwp_virtual_keyboard_v1), with the keymap
/// XKB compiles for the given options (Kestavon's own among them), typing by evdev key code.
class VirtualKeyboard {
public:
    /// Connects to WAYLAND_DISPLAY; null when the compositor offers no virtual keyboards.
    static std::unique_ptr<VirtualKeyboard> open(const char* xkbOptions);
    ~VirtualKeyboard();

    void press(std::uint32_t evdevCode);
    void release(std::uint32_t evdevCode);
    /// Waits until the compositor has handled everything sent.
    void sync();

    struct Parts;

private:
    explicit VirtualKeyboard(std::unique_ptr<Parts> parts);
    void send(std::uint32_t evdevCode, bool down);
    std::unique_ptr<Parts> parts_;
};
