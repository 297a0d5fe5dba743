#include "WindowInventory.h"

WindowInventory WindowInventory::assemble(QDateTime collectedAt, bool spaceInfoAvailable,
                                          std::vector<DisplayInfo> displays,
                                          const std::vector<WindowRecord>& records) {
    WindowInventory inventory;
    inventory.collectedAt = std::move(collectedAt);
    inventory.spaceInfoAvailable = spaceInfoAvailable;
    inventory.displays = std::move(displays);
    inventory.apps = AppGroup::group(records);
    for (const AppGroup& group : inventory.apps)
        for (const WindowRecord& window : group.windows)
            if (!window.displayID) ++inventory.unassignedCount;
    return inventory;
}
