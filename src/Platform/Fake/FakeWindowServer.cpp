#include "FakeWindowServer.h"

#include "FakeDesktop.h"

std::optional<std::vector<WindowInfo>> FakeWindowServer::windows() {
    std::lock_guard lock(desktop_.mutex);
    if (desktop_.windowListFails) return std::nullopt;
    std::vector<WindowInfo> list;
    list.reserve(desktop_.windows.size());
    for (const FakeDesktop::Window& w : desktop_.windows) {
        list.push_back(WindowInfo{w.id, w.pid, w.layer, w.alpha, w.frame, w.ownerName, w.title,
                                  desktop_.isOnscreen(w), w.minimized});
        if (desktop_.spacesListedWithWindows) {
            list.back().spaceListed = true;
            if (w.space != 0) list.back().space = w.space;
        }
    }
    return list;
}

std::vector<DisplayDescription> FakeWindowServer::displays() {
    std::lock_guard lock(desktop_.mutex);
    std::vector<DisplayDescription> list;
    if (desktop_.displayListFails) return list;
    for (const FakeDesktop::Display& d : desktop_.displays) {
        const QString name = d.name.isEmpty() ? QStringLiteral("Display %1").arg(d.id) : d.name;
        list.push_back(DisplayDescription{d.id, d.uuid, name, d.bounds, d.isMain});
    }
    return list;
}

std::optional<std::vector<DisplaySpaces>> FakeWindowServer::spaces() {
    std::lock_guard lock(desktop_.mutex);
    if (desktop_.spaceListFails) return std::nullopt;
    std::vector<DisplaySpaces> list;
    for (const FakeDesktop::Display& d : desktop_.displays) {
        DisplaySpaces display{d.uuid, d.currentSpace, {}};
        for (const FakeDesktop::Space& s : d.spaces)
            display.spaces.push_back(
                SpaceInfo{s.id, s.type == 0 ? SpaceKind::desktop : s.type == 4 ? SpaceKind::fullScreen
                                                                               : SpaceKind::other});
        list.push_back(std::move(display));
    }
    return list;
}

std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
FakeWindowServer::spacesOfWindows(const std::vector<std::uint32_t>& windows) {
    std::lock_guard lock(desktop_.mutex);
    if (desktop_.windowSpacesFail) return std::nullopt;
    std::unordered_map<std::uint32_t, std::uint64_t> spaces;
    for (const std::uint32_t number : windows)
        if (const FakeDesktop::Window* w = desktop_.window(number); w && w->space != 0) spaces[number] = w->space;
    return spaces;
}

bool FakeWindowServer::makeCurrent(std::uint64_t space, const QString& displayIdentifier) {
    std::lock_guard lock(desktop_.mutex);
    desktop_.spaceSwitches.emplace_back(space, displayIdentifier);
    FakeDesktop::Display* display = desktop_.displayOfSpace(space);
    if (!display || display->uuid != displayIdentifier) return false;
    if (!desktop_.spaceSwitchIgnored) display->currentSpace = space;
    return display->currentSpace == space;
}

bool FakeWindowServer::isTrusted() {
    std::lock_guard lock(desktop_.mutex);
    return desktop_.trusted;
}

void FakeWindowServer::promptForTrust() {
    std::lock_guard lock(desktop_.mutex);
    ++desktop_.trustPrompts;
}

std::optional<QRectF> FakeWindowServer::focusedWindowFrame(std::int32_t pid) {
    std::lock_guard lock(desktop_.mutex);
    if (!desktop_.trusted) return std::nullopt;
    const auto frameOf = [&](std::uint32_t id) -> std::optional<QRectF> {
        if (const FakeDesktop::Window* w = desktop_.window(id)) return w->frame;
        return std::nullopt;
    };
    if (desktop_.focusedWindowOf.contains(pid)) {
        if (const auto frame = frameOf(desktop_.focusedWindowOf[pid])) return frame;
    } else if (!desktop_.mainWindowOf.contains(pid)) {
        for (const FakeDesktop::Window& w : desktop_.windows)
            if (w.pid == pid && !w.minimized) return w.frame;
        return std::nullopt;
    }
    if (desktop_.mainWindowOf.contains(pid)) return frameOf(desktop_.mainWindowOf[pid]);
    return std::nullopt;
}

RestoreOutcome FakeWindowServer::restoreIfMinimized(const WindowTarget& target) {
    std::lock_guard lock(desktop_.mutex);
    if (!desktop_.trusted) return RestoreOutcome::unchanged;
    FakeDesktop::Window* w = desktop_.window(target.number);
    if (!w || w->pid != target.pid || !w->minimized) return RestoreOutcome::unchanged;
    desktop_.minimizeWrites.push_back(w->id);
    if (desktop_.minimizeWriteRefused) return RestoreOutcome::failed;
    w->minimized = false;
    return RestoreOutcome::restored;
}
