#pragma once

#include "Platform/Linux/DesktopEntryIndex.h"
#include "Platform/Linux/EntryLaunches.h"
#include "Platform/WorkspacePort.h"
#include "WlrToplevels.h"

#include <memory>
#include <mutex>
#include <set>
#include <vector>

/// Running applications on a wlroots compositor: the app_ids of its toplevel list, each told
/// apart by its desktop entry (StartupWMClass, then the entry's id or file name), and known by
/// the application number WlrToplevels gives (the compositor names no process). Activation
/// asks the compositor to activate the application's window used last; launching and URLs go
/// through GIO.
///
/// A launch is answered once a new window of the entry appears, or when the started process
/// ends first with a failure status.
class WlrWorkspace final : public WorkspacePort {
public:
    explicit WlrWorkspace(WlrToplevels& toplevels);
    ~WlrWorkspace() override;

    QList<RunningApplication> runningApplications() override;
    std::optional<RunningApplication> runningApplication(std::int32_t pid) override;
    std::optional<RunningApplication> frontmostApplication() override;
    void openApplication(const QString& path, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    bool activate(std::int32_t pid) override;
    /// Nothing to do: the compositor activates whatever the toplevel list is asked to.
    void activateIgnoringOtherApps() override {}
    bool openURL(const QString& url) override;

    /// The application of the windows with this app_id, described by its desktop entry when
    /// one matches.
    static RunningApplication describe(std::int32_t application, const QString& appId,
                                       const DesktopEntryIndex::Entries& entries);

private:
    std::optional<RunningApplication> describeNumber(std::int32_t application, const WlrSnapshot& snapshot);

    struct Launch {
        RunningApplication application;
        std::set<std::uint32_t> before;
        std::mutex mutex;
        OpenCompletion completion;
        /// The completion, once: whoever answers first takes it.
        OpenCompletion take();
    };
    void settleLaunches();

    WlrToplevels& toplevels_;
    DesktopEntryIndex index_;
    std::mutex launchesMutex_;
    std::vector<std::shared_ptr<Launch>> launches_;
};
