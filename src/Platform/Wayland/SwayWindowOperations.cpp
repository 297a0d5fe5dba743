#include "SwayWindowOperations.h"

#include "SwayIpc.h"
#include "SwayTree.h"

std::optional<QRectF> SwayWindowOperations::focusedWindowFrame(std::int32_t pid) {
    const auto json = ipc_.tree();
    const auto tree = json ? SwayTree::parse(*json) : std::nullopt;
    if (!tree) return std::nullopt;
    // Most recently focused first: the application's focused window, else the one it last had.
    for (const SwayTree::Window& w : tree->windows)
        if (w.pid == pid && !w.inScratchpad) return w.rect;
    return std::nullopt;
}

RestoreOutcome SwayWindowOperations::restoreIfMinimized(const WindowTarget& window) {
    const auto json = ipc_.tree();
    const auto tree = json ? SwayTree::parse(*json) : std::nullopt;
    const SwayTree::Window* found = tree ? tree->window(window.number) : nullptr;
    if (!found || found->pid != window.pid || !found->inScratchpad) return RestoreOutcome::unchanged;
    // `scratchpad show` floats it on the workspace shown; `floating disable` takes it out of
    // the scratchpad for good, back among the tiled windows, where windows are by default.
    const QString target = QStringLiteral("[con_id=%1] ").arg(window.number);
    if (!ipc_.run(target + QStringLiteral("scratchpad show")) ||
        !ipc_.run(target + QStringLiteral("floating disable")))
        return RestoreOutcome::failed;
    return RestoreOutcome::restored;
}
