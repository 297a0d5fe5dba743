#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>

class MacSystem;
class SkyLightAPI;
class TimePort;

/// Makes a Space current on a display the way a user would: with the pointer on that display
/// it posts dock-swipe gestures, one Space step each, until the Space is current or it gives
/// up. The window server is only read, never told to set the Space; the pointer is put back.
namespace SpaceGesture {

/// Time for the pointer to settle on the display before the first swipe.
inline constexpr std::chrono::milliseconds settleTime{150};
/// Per swipe, the Space is polled this often, at most `pollsPerSwipe` times.
inline constexpr std::chrono::milliseconds pollInterval{50};
inline constexpr int pollsPerSwipe = 20;
inline constexpr int maxSwipes = 16;

/// True when `spaceID` is current on the display with that UUID at the end. Sleeps through
/// `time`, the platform's time port.
bool switchTo(MacSystem& system, TimePort& time, std::uint64_t spaceID, const QString& displayUUID);

/// The display's current Space in a freshly read Space list; nothing when the list is
/// unavailable or does not name the display.
std::optional<std::uint64_t> currentSpace(const SkyLightAPI& api, const QString& displayUUID);

} // namespace SpaceGesture
