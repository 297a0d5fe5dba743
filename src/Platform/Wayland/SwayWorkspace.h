#pragma once

#include "Platform/Linux/DesktopEntryIndex.h"
#include "Platform/Linux/EntryLaunches.h"
#include "Platform/WorkspacePort.h"
#include "SwayTree.h"

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class SwayIpc;
class SwayEventStream;

/// Running applications on sway: the processes owning windows in the layout tree, each told
/// apart by its desktop entry the way the X11 backend tells them (the launch environment, the
/// app_id or Xwayland class against StartupWMClass and the entry's name, the executable).
/// Activation focuses the process's window (`[con_id=N] focus`), which also shows its
/// workspace; launching and URLs go through GIO.
///
/// A launch is answered once a window of it appears, or its process fails first (EntryLaunches);
/// sway's window events say when to look.
class SwayWorkspace final : public WorkspacePort {
public:
    explicit SwayWorkspace(SwayIpc& ipc);
    ~SwayWorkspace() override;

    QList<RunningApplication> runningApplications() override;
    std::optional<RunningApplication> runningApplication(std::int32_t pid) override;
    std::optional<RunningApplication> frontmostApplication() override;
    void openApplication(const QString& path, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    bool activate(std::int32_t pid) override;
    /// Nothing to do: sway focuses whatever its IPC is asked to.
    void activateIgnoringOtherApps() override {}
    bool openURL(const QString& url) override;

private:
    std::optional<SwayTree> tree();
    RunningApplication describe(std::int32_t pid, const SwayTree& tree,
                                const DesktopEntryIndex::Entries& entries);
    /// The instance of the entry whose window was focused last.
    std::optional<RunningApplication> runningInstance(const QString& id);

    /// Starts hearing window events, once; false when sway does not answer.
    bool listen();
    void settleLaunches();

    SwayIpc& ipc_;
    DesktopEntryIndex index_;
    EntryLaunches launches_;
    std::mutex listenMutex_;
    std::shared_ptr<SwayEventStream> events_;
    std::thread listener_;
};
