#pragma once

#include "Platform/WindowOperationsPort.h"

class MacSystem;

/// Window operations on macOS, through Accessibility.
class MacWindowOperations final : public WindowOperationsPort {
public:
    explicit MacWindowOperations(MacSystem& system) : system_(system) {}

    bool isTrusted() override;
    void promptForTrust() override;
    std::optional<QRectF> focusedWindowFrame(std::int32_t pid) override;
    RestoreOutcome restoreIfMinimized(const WindowTarget& window) override;

private:
    MacSystem& system_;
};
