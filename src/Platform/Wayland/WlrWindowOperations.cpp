#include "WlrWindowOperations.h"

#include "WlrToplevels.h"

RestoreOutcome WlrWindowOperations::restoreIfMinimized(const WindowTarget& window) {
    const auto now = toplevels_.current();
    const WlrToplevel* found = now ? now->toplevel(window.number) : nullptr;
    if (!found || found->application != window.pid || !found->minimized) return RestoreOutcome::unchanged;
    return toplevels_.unsetMinimized(window.number) ? RestoreOutcome::restored : RestoreOutcome::failed;
}
