// sway's layout tree (its GET_TREE answer), read as the sway backend reads every answer: a
// tree or nothing, never a crash, and what it gives holds together.
#include "FuzzCheck.h"

#include "Platform/Wayland/SwayTree.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto tree = SwayTree::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!tree) return 0;
    bool scratchpadSeen = false;
    for (const SwayTree::Window& w : tree->windows) {
        FUZZ_CHECK(w.id > 0 && w.pid >= 0);
        FUZZ_CHECK(tree->window(w.id) != nullptr);
        // The scratchpad's windows come last, and belong to no workspace.
        FUZZ_CHECK(!scratchpadSeen || w.inScratchpad);
        scratchpadSeen = scratchpadSeen || w.inScratchpad;
        FUZZ_CHECK(!w.inScratchpad || (w.workspace.isEmpty() && w.workspaceId == 0));
    }
    for (const SwayTree::Workspace& w : tree->workspaces)
        FUZZ_CHECK(w.id > 0 && !w.name.isEmpty());
    for (const SwayTree::Output& o : tree->outputs)
        FUZZ_CHECK(!o.name.isEmpty() && o.name != QLatin1String("__i3"));
    return 0;
}
