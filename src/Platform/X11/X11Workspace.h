#pragma once

#include "DesktopEntryIndex.h"
#include "Platform/WorkspacePort.h"
#include "X11ServerClock.h"

#include <xcb/xcb.h>

#include <vector>

class X11Connection;

/// Running applications on X11: the processes owning client windows (`_NET_WM_PID`), each
/// told apart by its desktop entry. Activation goes through `_NET_ACTIVE_WINDOW`; launching
/// and URLs through GIO.
///
/// A process without a client window is not a running application here: it has nothing to
/// activate, and launching its entry again is how a windowless single-instance program is
/// asked for a window.
class X11Workspace final : public WorkspacePort {
public:
    explicit X11Workspace(X11Connection& connection);

    QList<RunningApplication> runningApplications() override;
    std::optional<RunningApplication> runningApplication(std::int32_t pid) override;
    std::optional<RunningApplication> frontmostApplication() override;
    void openApplication(const QString& path, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    bool activate(std::int32_t pid) override;
    /// Nothing to do: X11 has no per-application activation right to hand on. The window
    /// manager judges an activation request by its source (a pager, which we send) and its
    /// time stamp (the server's current time), not by which program is active.
    void activateIgnoringOtherApps() override {}
    bool openURL(const QString& url) override;

private:
    struct ClientWindow {
        xcb_window_t id = XCB_NONE;
        std::int32_t pid = 0;
        QString wmInstance;
        QString wmClass;
    };

    /// The client windows that name their process, in `_NET_CLIENT_LIST` order, or bottom to
    /// top with `stacking`. All properties are asked for at once, then collected.
    std::vector<ClientWindow> clientWindows(bool stacking);
    /// The application of `pid`, told by its first window that has a class.
    RunningApplication describe(std::int32_t pid, const std::vector<ClientWindow>& windows,
                                const DesktopEntryIndex::Entries& entries);
    /// The application with this desktop-file id whose window is highest in the stacking
    /// order (the instance last used, when several processes run the same entry).
    std::optional<RunningApplication> runningInstance(const QString& id);
    /// The pid's window to activate: its top-most on the current desktop, else its top-most.
    std::optional<xcb_window_t> windowToActivate(std::int32_t pid);

    X11Connection& connection_;
    DesktopEntryIndex index_;
    X11ServerClock clock_;
};
