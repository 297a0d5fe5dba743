#include "InventoryService.h"

#include "Inventory/DisplayCatalog.h"
#include "Inventory/SkyLightAPI.h"
#include "Inventory/SpaceCatalog.h"
#include "Inventory/WindowEnumerator.h"
#include "Platform/Platform.h"
#include "Platform/WorkspacePort.h"

#include <unordered_map>

namespace {

/// Window number -> first Space the window server lists for it. One call per window, each
/// with a one-element list: the answer for several windows is not a per-window mapping.
std::unordered_map<std::uint32_t, std::uint64_t> spacesOf(const SkyLightAPI& skyLight,
                                                          const std::vector<RawWindow>& windows) {
    std::unordered_map<std::uint32_t, std::uint64_t> spaces;
    spaces.reserve(windows.size());
    for (const RawWindow& window : windows) {
        const auto ids = skyLight.spaceIDs({window.id});
        // A later window with the same number overwrites an earlier one.
        if (ids && !ids->empty()) spaces[window.id] = ids->front();
    }
    return spaces;
}

} // namespace

WindowInventory InventoryService::collect(const QDateTime& now) {
    const DisplayCatalog displays = DisplayCatalog::load();
    const std::vector<RawWindow> rawWindows = WindowEnumerator::enumerate();
    const std::optional<SkyLightAPI> skyLight = SkyLightAPI::load();

    std::optional<SpaceCatalog> spaceCatalog;
    std::unordered_map<std::uint32_t, std::uint64_t> spaceByWindow;
    if (skyLight) {
        if (auto managed = skyLight->managedDisplaySpaces()) spaceCatalog = SpaceCatalog::parse(*managed);
        // Space ids are asked for even when the catalog could not be read.
        spaceByWindow = spacesOf(*skyLight, rawWindows);
    }

    // One look-up per process within this collection; nothing is kept for the next one.
    WorkspacePort& workspace = Platform::current().workspace();
    std::unordered_map<std::int32_t, std::optional<RunningApplication>> applications;

    std::vector<WindowRecord> records;
    records.reserve(rawWindows.size());
    for (const RawWindow& raw : rawWindows) {
        auto known = applications.find(raw.pid);
        if (known == applications.end())
            known = applications.emplace(raw.pid, workspace.runningApplication(raw.pid)).first;
        const std::optional<RunningApplication>& application = known->second;

        WindowRecord record;
        record.id = raw.id;
        record.pid = raw.pid;
        record.appName =
            application && application->localizedName ? *application->localizedName : raw.ownerName;
        record.bundleID = application ? application->bundleIdentifier : std::nullopt;
        record.title = raw.title;
        record.frame = RectDTO::dto(raw.frame);
        record.isOnscreen = raw.isOnscreen;
        if (const auto display = displays.display(raw.frame)) {
            record.displayID = display->id;
            record.displayName = display->name;
        }
        if (const auto space = spaceByWindow.find(raw.id); space != spaceByWindow.end()) {
            record.spaceID = space->second;
            if (spaceCatalog) record.spaceLabel = spaceCatalog->label(space->second);
        }
        records.push_back(std::move(record));
    }

    return WindowInventory::assemble(now, spaceCatalog.has_value(), displays.displays, records);
}
