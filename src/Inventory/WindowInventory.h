#pragma once

#include "Inventory/AppGroup.h"
#include "Inventory/DisplayInfo.h"
#include "Inventory/WindowRecord.h"

#include <QDateTime>

#include <cstdint>
#include <vector>

/// One snapshot of the user's windows, grouped by application.
struct WindowInventory {
    /// The time the caller gave to the collection.
    QDateTime collectedAt;
    /// Whether the Space catalog could be read.
    bool spaceInfoAvailable = false;
    /// Main display first.
    std::vector<DisplayInfo> displays;
    std::vector<AppGroup> apps;
    /// Windows, over all groups, that overlap no display.
    std::int64_t unassignedCount = 0;

    /// Groups the records and counts the windows without a display.
    static WindowInventory assemble(QDateTime collectedAt, bool spaceInfoAvailable,
                                    std::vector<DisplayInfo> displays,
                                    const std::vector<WindowRecord>& records);

    bool operator==(const WindowInventory&) const = default;
};
