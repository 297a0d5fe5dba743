#include "WlrWindowServer.h"

#include <algorithm>

std::vector<WindowInfo> WlrWindowServer::windowsOf(const WlrSnapshot& snapshot) {
    std::vector<WindowInfo> windows;
    for (const WlrToplevel& t : snapshot.toplevels) {
        WindowInfo info;
        info.number = t.number;
        info.pid = t.application;
        if (!t.appId.isEmpty()) info.ownerName = t.appId;
        info.title = t.title;
        // The whole output stands for the window's frame: it places the window on its display.
        for (const WlrOutput& o : snapshot.outputs)
            if (!t.outputs.empty() && o.name == t.outputs.front()) info.bounds = o.rect;
        info.isMinimized = t.minimized;
        info.isOnscreen = !t.minimized && !t.outputs.empty();
        windows.push_back(std::move(info));
    }
    return windows;
}

std::vector<DisplayDescription> WlrWindowServer::displaysOf(const WlrSnapshot& snapshot) {
    const auto& outputs = snapshot.outputs;
    // No output is primary here: the one at the layout's origin is the main display.
    const auto atOrigin = std::find_if(outputs.begin(), outputs.end(),
                                       [](const WlrOutput& o) { return o.rect.topLeft() == QPointF(0, 0); });
    std::vector<DisplayDescription> displays;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const WlrOutput& o = outputs[i];
        const bool main = atOrigin == outputs.end() ? i == 0 : &o == &*atOrigin;
        displays.push_back(
            {std::uint32_t(i + 1), o.name, o.description.isEmpty() ? o.name : o.description, o.rect, main});
    }
    return displays;
}

std::vector<DisplaySpaces> WlrWindowServer::spacesOf(const WlrSnapshot& snapshot) {
    std::vector<DisplaySpaces> spaces;
    std::uint64_t id = 0;
    for (const WlrOutput& o : snapshot.outputs) {
        ++id;
        spaces.push_back({o.name, id, {{id, SpaceKind::desktop}}});
    }
    return spaces;
}

std::optional<std::vector<WindowInfo>> WlrWindowServer::windows() {
    const auto now = toplevels_.current();
    if (!now) return std::nullopt;
    return windowsOf(*now);
}

std::vector<DisplayDescription> WlrWindowServer::displays() {
    const auto now = toplevels_.current();
    return now ? displaysOf(*now) : std::vector<DisplayDescription>{};
}

std::optional<std::vector<DisplaySpaces>> WlrWindowServer::spaces() {
    const auto now = toplevels_.current();
    if (!now) return std::nullopt;
    return spacesOf(*now);
}

std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
WlrWindowServer::spacesOfWindows(const std::vector<std::uint32_t>& numbers) {
    const auto now = toplevels_.current();
    if (!now) return std::nullopt;
    return spacesOfWindowsOf(*now, numbers);
}

std::unordered_map<std::uint32_t, std::uint64_t>
WlrWindowServer::spacesOfWindowsOf(const WlrSnapshot& snapshot, const std::vector<std::uint32_t>& numbers) {
    // The compositor's workspaces are its own, and activating a window makes its workspace
    // current. So each window is on the one Space of the output it is shown on; a window shown
    // nowhere (on a hidden workspace) on the main display's, where activation brings it.
    const std::vector<DisplayDescription> displays = displaysOf(snapshot);
    const auto main = std::find_if(displays.begin(), displays.end(), [](const auto& d) { return d.isMain; });
    std::unordered_map<std::uint32_t, std::uint64_t> spaces;
    for (const std::uint32_t number : numbers) {
        const WlrToplevel* toplevel = snapshot.toplevel(number);
        if (!toplevel) continue;
        std::optional<std::uint64_t> space;
        for (std::size_t i = 0; i < snapshot.outputs.size() && !space; ++i)
            if (!toplevel->outputs.empty() && snapshot.outputs[i].name == toplevel->outputs.front()) space = i + 1;
        if (!space && main != displays.end()) space = main->id;
        if (space) spaces.emplace(number, *space);
    }
    return spaces;
}
