#pragma once

#include "Platform/Linux/DesktopEntryIndex.h"
#include "Platform/Linux/EntryLaunches.h"
#include "Platform/WorkspacePort.h"
#include "X11ClientListWatch.h"
#include "X11RootWatch.h"
#include "X11ServerClock.h"

#include <xcb/xcb.h>

#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

class X11Connection;

/// Running applications on X11: the processes owning client windows (`_NET_WM_PID`, when it
/// names a process of this user's on this machine: see X11ClientOwner), each told apart by
/// its desktop entry. Activation goes through `_NET_ACTIVE_WINDOW`; launching
/// and URLs through GIO.
///
/// The client windows and what was told of their processes are kept while the window
/// manager's client lists stay as they are, so the several questions of one jump cost no
/// more than the first.
///
/// A process without a client window is not a running application here: it has nothing to
/// activate, and launching its entry again is how a windowless single-instance program is
/// asked for a window.
///
/// A launch is answered once a window of it appears, or its process fails first (EntryLaunches);
/// the window manager's client list says when to look.
class X11Workspace final : public WorkspacePort {
public:
    /// Activations take their time stamps from `clock`, which the keyboard tap may share.
    explicit X11Workspace(X11Connection& connection,
                          std::shared_ptr<X11ServerClock> clock = std::make_shared<X11ServerClock>());
    ~X11Workspace() override;

    QList<RunningApplication> runningApplications() override;
    std::optional<RunningApplication> runningApplication(std::int32_t pid) override;
    std::optional<RunningApplication> frontmostApplication() override;
    void openApplication(const QString& path, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    bool activate(std::int32_t pid) override;
    /// Nothing to do: X11 has no per-application activation right to hand on. The window
    /// manager judges an activation request by its source (a pager, which we send) and its
    /// time stamp (the user's action), not by which program is active.
    void activateIgnoringOtherApps() override {}
    bool openURL(const QString& url) override;

private:
    struct ClientWindow {
        xcb_window_t id = XCB_NONE;
        std::int32_t pid = 0;
        QString wmInstance;
        QString wmClass;
    };

    using ClientWindows = std::vector<ClientWindow>;

    /// What was read while the client lists stayed the same.
    struct Known {
        X11RootWatch::Generations generations;
        std::shared_ptr<const ClientWindows> listed;
        std::shared_ptr<const ClientWindows> stacked;
        std::shared_ptr<const DesktopEntryIndex::Entries> entries;
        std::unordered_map<std::int32_t, RunningApplication> applications;
    };

    /// The client windows that name their process, in `_NET_CLIENT_LIST` order, or bottom to
    /// top with `stacking`: kept from an earlier call while the list is unchanged.
    std::shared_ptr<const ClientWindows> clientWindows(bool stacking);
    /// Reads the list and, all asked for at once, each window's pid and class.
    std::vector<ClientWindow> readClientWindows(bool stacking);
    /// Drops what a change of the client lists since the last call made stale.
    void forgetChanged();
    /// The application of `pid` (which must have a client window), told by its first window
    /// that has a class; kept until the client list or the desktop entries change. The entries
    /// in effect are asked for once per question, however many processes it tells apart.
    RunningApplication application(std::int32_t pid, const ClientWindows& listed,
                                   const std::shared_ptr<const DesktopEntryIndex::Entries>& entries);
    RunningApplication describe(std::int32_t pid, const ClientWindows& windows,
                                const DesktopEntryIndex::Entries& entries);
    /// The application with this desktop-file id whose window is highest in the stacking
    /// order (the instance last used, when several processes run the same entry).
    std::optional<RunningApplication> runningInstance(const QString& id);
    /// The pid's window to activate: its top-most on the current desktop, else its top-most.
    std::optional<xcb_window_t> windowToActivate(std::int32_t pid);

    /// Answers each launch that a new window or the end of its process has decided.
    void settleLaunches();

    X11Connection& connection_;
    DesktopEntryIndex index_;
    const std::shared_ptr<X11ServerClock> clock_;
    std::mutex knownMutex_;
    Known known_;
    EntryLaunches launches_;
    /// Shared with the reaper's callbacks, which may outlive this workspace.
    std::shared_ptr<X11ClientListWatch> launchWatch_;
};
