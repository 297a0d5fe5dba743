#pragma once

#include "Platform/WindowServerPort.h"

#include <cstdint>
#include <optional>
#include <vector>

class MacSystem;

/// Reads the public window list: every window of every Space, minimised ones included,
/// front to back. Which of them count as application windows is the caller's choice; entries
/// the list cannot describe as a window are dropped here.
namespace WindowEnumerator {

/// The window-list options asked for: all but desktop elements, not only those on screen.
inline constexpr std::uint32_t excludeDesktopElements = 16;

/// One window-list call; nothing when it fails or does not answer a list of dictionaries.
std::optional<std::vector<WindowInfo>> enumerate(MacSystem& system);

} // namespace WindowEnumerator
