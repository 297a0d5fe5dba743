#pragma once

#include <cstdint>
#include <optional>

/// Key positions: the Linux evdev key code of a position and its key code in the tap's events
/// (TapEvent::keyCode).
/// Keys are matched by position, never by keysym, so the 47 bindable keys keep their places
/// on any keyboard layout. An X key code is the evdev code plus 8.
namespace KeyPositions {

/// The tap's key code at this X key code's position, for the bindable keys and the
/// Super keys (right Super = 54, left Super = 55); nothing for any other key.
std::optional<std::int64_t> keyCode(std::uint8_t xKeyCode);
/// The X key code at the position of this tap key code.
std::optional<std::uint8_t> xKeyCode(std::int64_t keyCode);

/// X key codes of the two Super keys.
constexpr std::uint8_t superRight = 134; // KEY_RIGHTMETA 126 + 8
constexpr std::uint8_t superLeft = 133;  // KEY_LEFTMETA 125 + 8

} // namespace KeyPositions
