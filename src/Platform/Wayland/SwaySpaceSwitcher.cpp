#include "SwaySpaceSwitcher.h"

#include "SwayIpc.h"
#include "SwayTree.h"

namespace {

// Whether the workspace is on that output and the output shows it, by the tree now.
std::optional<bool> shown(SwayIpc& ipc, std::uint64_t space, const QString& display, QString* name) {
    const auto json = ipc.tree();
    const auto tree = json ? SwayTree::parse(*json) : std::nullopt;
    if (!tree) return std::nullopt;
    const SwayTree::Workspace* workspace = tree->workspace(space);
    if (!workspace || (!display.isEmpty() && workspace->output != display)) return std::nullopt;
    *name = workspace->name;
    const SwayTree::Output* output = tree->output(workspace->output);
    return output && output->currentWorkspace == workspace->name;
}

} // namespace

bool SwaySpaceSwitcher::makeCurrent(std::uint64_t space, const QString& displayIdentifier) {
    QString name;
    const auto before = shown(ipc_, space, displayIdentifier, &name);
    if (!before) return false;
    if (*before) return true;
    // Without --no-auto-back-and-forth, a user's auto_back_and_forth would send us elsewhere.
    if (!ipc_.run(QStringLiteral("workspace --no-auto-back-and-forth ") + SwayIpc::quoted(name)))
        return false;
    QString nameNow;
    return shown(ipc_, space, displayIdentifier, &nameNow).value_or(false);
}
