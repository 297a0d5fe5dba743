#pragma once

#include <cstdint>

/// Event types an event tap delivers, with the values of the macOS event services.
namespace EventType {
constexpr std::uint32_t keyDown = 10;
constexpr std::uint32_t flagsChanged = 12;
constexpr std::uint32_t tapDisabledByTimeout = 0xFFFFFFFE;
constexpr std::uint32_t tapDisabledByUserInput = 0xFFFFFFFF;
} // namespace EventType

/// Modifier bits of an event's 64-bit flags.
namespace EventFlag {
constexpr std::uint64_t shift = 0x20000;
constexpr std::uint64_t control = 0x40000;
constexpr std::uint64_t option = 0x80000;
constexpr std::uint64_t command = 0x100000;
constexpr std::uint64_t capsLock = 0x10000;
/// Which Command key is held, beside the Command bit that either key sets (the keyboard's
/// device-dependent bits). A tap that cannot tell the two keys apart leaves both clear.
constexpr std::uint64_t leftCommandKey = 0x08;
constexpr std::uint64_t rightCommandKey = 0x10;
} // namespace EventFlag

/// Virtual key codes of the two Command keys.
namespace CommandKey {
constexpr std::int64_t right = 54;
constexpr std::int64_t left = 55;
} // namespace CommandKey

/// The part of a keyboard event the hotkey decision reads: the virtual key code (the ANSI
/// key position) and the event's modifier flags.
struct TapEvent {
    std::int64_t keyCode = 0;
    std::uint64_t flags = 0;
};
