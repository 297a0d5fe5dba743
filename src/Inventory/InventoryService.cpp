#include "InventoryService.h"

#include "Inventory/DisplayLayout.h"
#include "Inventory/SpaceLayout.h"
#include "Platform/Platform.h"
#include "Platform/WindowServerPort.h"
#include "Platform/WorkspacePort.h"

#include <unordered_map>

namespace {

// Ordinary application windows only: panels, menus, docks and invisible helper windows are
// nothing a jump could show.
bool isOrdinary(const WindowInfo& window) {
    return window.layer == 0 && window.opacity > 0.0;
}

} // namespace

WindowInventory InventoryService::collect(const QDateTime& now) {
    WindowServerPort& server = Platform::current().windowServer();
    const DisplayLayout displays = DisplayLayout::from(server.displays());

    std::vector<WindowInfo> windows;
    if (auto listed = server.windows()) {
        windows.reserve(listed->size());
        for (WindowInfo& window : *listed)
            if (isOrdinary(window)) windows.push_back(std::move(window));
    }

    std::optional<SpaceLayout> spaces;
    if (const auto listed = server.spaces()) spaces = SpaceLayout::from(*listed);
    // Only windows whose Space the list did not tell are asked about: a question less, and a
    // round trip to the window server less, for every jump where the list tells them all.
    std::vector<std::uint32_t> numbers;
    numbers.reserve(windows.size());
    for (const WindowInfo& window : windows)
        if (!window.spaceListed) numbers.push_back(window.number);
    // Asked even when the Space list could not be read: a window's Space may still be known.
    const auto spaceByWindow =
        numbers.empty()
            ? std::unordered_map<std::uint32_t, std::uint64_t>()
            : server.spacesOfWindows(numbers).value_or(std::unordered_map<std::uint32_t, std::uint64_t>());

    // One look-up per process within this collection; nothing is kept for the next one.
    WorkspacePort& workspace = Platform::current().workspace();
    std::unordered_map<std::int32_t, std::optional<RunningApplication>> applications;

    std::vector<WindowRecord> records;
    records.reserve(windows.size());
    for (const WindowInfo& window : windows) {
        auto known = applications.find(window.pid);
        if (known == applications.end())
            known = applications.emplace(window.pid, workspace.runningApplication(window.pid)).first;
        const std::optional<RunningApplication>& application = known->second;

        WindowRecord record;
        record.id = window.number;
        record.pid = window.pid;
        if (application && application->localizedName)
            record.appName = *application->localizedName;
        else
            record.appName = window.ownerName.value_or(QString::fromUtf16(unknownOwner));
        record.bundleID = application ? application->bundleIdentifier : std::nullopt;
        record.title = window.title;
        record.frame = RectDTO::dto(window.bounds);
        record.isOnscreen = window.isOnscreen;
        if (const auto display = displays.display(window.bounds)) {
            record.displayID = display->id;
            record.displayName = display->name;
        }
        std::optional<std::uint64_t> space = window.space;
        if (!window.spaceListed) {
            if (const auto asked = spaceByWindow.find(window.number); asked != spaceByWindow.end())
                space = asked->second;
        }
        if (space) {
            record.spaceID = *space;
            if (spaces) record.spaceLabel = spaces->label(*space);
        }
        records.push_back(std::move(record));
    }

    return WindowInventory::assemble(now, spaces.has_value(), displays.displays, records);
}
