#pragma once

#include "Inventory/RawWindow.h"

#include <vector>

/// Reads the public window list once and keeps every entry that looks like an ordinary
/// application window: all Spaces, minimised windows included, front to back.
namespace WindowEnumerator {

/// The owner name used when the window list gives none.
inline constexpr char16_t unknownOwner[] = u"未知进程";

/// One window-list call; an empty list when it fails. Malformed entries are skipped.
std::vector<RawWindow> enumerate();

} // namespace WindowEnumerator
