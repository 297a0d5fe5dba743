#pragma once

#include "Platform/WindowOperationsPort.h"

#include <chrono>

class X11Connection;

/// Window operations over EWMH: an application is its process id, its windows are the
/// managed clients carrying that `_NET_WM_PID`. X11 asks no trust of a program that operates
/// other clients' windows. Frames are client areas in root coordinates, as in the window
/// list; minimised is `_NET_WM_STATE_HIDDEN` (not WM_STATE Iconic, which some managers also
/// set on windows of other desktops).
class X11WindowOperations final : public WindowOperationsPort {
public:
    /// How long a restore may take the manager before it counts as refused.
    static constexpr std::chrono::milliseconds restoreLimit{1500};

    explicit X11WindowOperations(X11Connection& connection) : connection_(connection) {}

    bool isTrusted() override { return true; }
    void promptForTrust() override {}
    /// The active window when it is the process's, else its front-most ordinary window that
    /// is not minimised.
    std::optional<QRectF> focusedWindowFrame(std::int32_t pid) override;
    RestoreOutcome restoreIfMinimized(const WindowTarget& window) override;

private:
    X11Connection& connection_;
};
