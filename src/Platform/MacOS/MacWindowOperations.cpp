#include "MacWindowOperations.h"

#include "Platform/MacOS/WindowAX.h"

bool MacWindowOperations::isTrusted() {
    return WindowAX::isTrusted(system_);
}

void MacWindowOperations::promptForTrust() {
    WindowAX::promptForTrust(system_);
}

std::optional<QRectF> MacWindowOperations::focusedWindowFrame(std::int32_t pid) {
    return WindowAX::focusedWindowFrame(system_, pid);
}

RestoreOutcome MacWindowOperations::restoreIfMinimized(const WindowTarget& window) {
    return WindowAX::restoreIfMinimized(system_, window.pid, window.frame);
}
