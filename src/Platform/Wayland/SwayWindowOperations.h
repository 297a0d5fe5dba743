#pragma once

#include "Platform/WindowOperationsPort.h"

class SwayIpc;

/// Window operations on sway: its IPC lets any client of the session move and focus windows,
/// so trust is always given. A minimised window is one in the scratchpad; restoring it brings
/// it out (`scratchpad show`) and tiles it again on the workspace shown.
class SwayWindowOperations final : public WindowOperationsPort {
public:
    explicit SwayWindowOperations(SwayIpc& ipc) : ipc_(ipc) {}

    bool isTrusted() override { return true; }
    void promptForTrust() override {}
    std::optional<QRectF> focusedWindowFrame(std::int32_t pid) override;
    RestoreOutcome restoreIfMinimized(const WindowTarget& window) override;

private:
    SwayIpc& ipc_;
};
