#include "SwayWindowServer.h"

#include "SwayIpc.h"
#include "SwayTree.h"

namespace {

std::optional<SwayTree> readTree(SwayIpc& ipc) {
    const auto json = ipc.tree();
    return json ? SwayTree::parse(*json) : std::nullopt;
}

} // namespace

std::optional<std::vector<WindowInfo>> SwayWindowServer::windows() {
    const auto tree = readTree(ipc_);
    if (!tree) return std::nullopt;
    std::vector<WindowInfo> windows;
    for (const SwayTree::Window& w : tree->windows) {
        WindowInfo info;
        info.number = w.id;
        info.pid = w.pid;
        info.bounds = w.rect;
        const QString owner = w.appId.isEmpty() ? w.wmClass : w.appId;
        if (!owner.isEmpty()) info.ownerName = owner;
        info.title = w.title;
        info.isMinimized = w.inScratchpad;
        info.isOnscreen = w.visible && !w.inScratchpad;
        // The workspace came with the rest of the tree: the inventory need not ask again.
        info.spaceListed = true;
        if (w.workspaceId != 0) info.space = w.workspaceId;
        windows.push_back(std::move(info));
    }
    return windows;
}

std::vector<DisplayDescription> SwayWindowServer::displays() {
    const auto tree = readTree(ipc_);
    if (!tree) return {};
    std::vector<DisplayDescription> displays;
    // sway has no primary output: the one at the layout's origin is the main display.
    const auto atOrigin =
        std::find_if(tree->outputs.begin(), tree->outputs.end(),
                     [](const SwayTree::Output& o) { return o.rect.topLeft() == QPointF(0, 0); });
    for (std::size_t i = 0; i < tree->outputs.size(); ++i) {
        const SwayTree::Output& o = tree->outputs[i];
        const bool main = atOrigin == tree->outputs.end() ? i == 0 : &o == &*atOrigin;
        displays.push_back(
            {std::uint32_t(i + 1), o.name, o.description.isEmpty() ? o.name : o.description, o.rect, main});
    }
    return displays;
}

std::optional<std::vector<DisplaySpaces>> SwayWindowServer::spaces() {
    const auto tree = readTree(ipc_);
    if (!tree) return std::nullopt;
    std::vector<DisplaySpaces> spaces;
    for (const SwayTree::Output& o : tree->outputs) {
        DisplaySpaces display;
        display.displayIdentifier = o.name;
        for (const SwayTree::Workspace& w : tree->workspaces) {
            if (w.output != o.name) continue;
            display.spaces.push_back({w.id, SpaceKind::desktop});
            if (w.name == o.currentWorkspace) display.currentSpace = w.id;
        }
        spaces.push_back(std::move(display));
    }
    return spaces;
}

std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
SwayWindowServer::spacesOfWindows(const std::vector<std::uint32_t>& windows) {
    const auto tree = readTree(ipc_);
    if (!tree) return std::nullopt;
    std::unordered_map<std::uint32_t, std::uint64_t> spaces;
    for (const std::uint32_t id : windows)
        if (const SwayTree::Window* w = tree->window(id); w && w->workspaceId != 0)
            spaces.emplace(id, w->workspaceId);
    return spaces;
}
