#pragma once

#include "Inventory/WindowInventory.h"

#include <QDateTime>

/// Takes one complete snapshot of the user's windows: every ordinary window with its
/// application, display and Space, grouped by application. Nothing is cached between
/// collections; two collections may run at the same time and share nothing.
namespace InventoryService {

/// The application name of a window whose process the window server does not name.
inline constexpr char16_t unknownOwner[] = u"未知进程";

/// Collects a snapshot on the caller's thread; `now` becomes its `collectedAt`. Cannot fail:
/// with no platform answers the inventory has no displays and no applications.
WindowInventory collect(const QDateTime& now);

} // namespace InventoryService
