#pragma once

#include "Platform/WindowOperationsPort.h"

class WlrToplevels;

/// Window operations through a wlroots compositor's toplevel list, which any client of the
/// session may use: trust is always given. The list tells no window's frame.
class WlrWindowOperations final : public WindowOperationsPort {
public:
    explicit WlrWindowOperations(WlrToplevels& toplevels) : toplevels_(toplevels) {}

    bool isTrusted() override { return true; }
    void promptForTrust() override {}
    std::optional<QRectF> focusedWindowFrame(std::int32_t) override { return std::nullopt; }
    /// Asks the compositor to unminimise the window; `restored` once asked, since the
    /// compositor says no refusal.
    RestoreOutcome restoreIfMinimized(const WindowTarget& window) override;

private:
    WlrToplevels& toplevels_;
};
