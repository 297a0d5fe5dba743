#include "MacWindowServer.h"

#include "Platform/MacOS/DisplayCatalog.h"
#include "Platform/MacOS/SkyLightAPI.h"
#include "Platform/MacOS/SpaceCatalog.h"
#include "Platform/MacOS/WindowEnumerator.h"

std::optional<std::vector<WindowInfo>> MacWindowServer::windows() {
    return WindowEnumerator::enumerate(system_);
}

std::vector<DisplayDescription> MacWindowServer::displays() {
    return DisplayCatalog::load(system_);
}

std::optional<std::vector<DisplaySpaces>> MacWindowServer::spaces() {
    const auto api = SkyLightAPI::load(system_);
    if (!api) return std::nullopt;
    const auto list = api->managedDisplaySpaces();
    if (!list) return std::nullopt;
    return SpaceCatalog::parse(*list);
}

std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
MacWindowServer::spacesOfWindows(const std::vector<std::uint32_t>& windows) {
    const auto api = SkyLightAPI::load(system_);
    if (!api) return std::nullopt;
    std::unordered_map<std::uint32_t, std::uint64_t> spaces;
    spaces.reserve(windows.size());
    // One call per window: the answer for several windows is not a per-window mapping.
    for (const std::uint32_t window : windows) {
        const auto ids = api->spaceIDs({window});
        if (ids && !ids->empty()) spaces[window] = ids->front();
    }
    return spaces;
}
