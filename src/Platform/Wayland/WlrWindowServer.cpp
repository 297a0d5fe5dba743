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
WlrWindowServer::spacesOfWindows(const std::vector<std::uint32_t>&) {
    // The compositor's workspaces are its own: every window is left out.
    return std::unordered_map<std::uint32_t, std::uint64_t>{};
}
