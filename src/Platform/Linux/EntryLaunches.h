#pragma once

#include "Platform/Linux/DesktopEntry.h"
#include "Platform/Linux/DesktopEntryIndex.h"
#include "Platform/WorkspacePort.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <utility>
#include <variant>
#include <vector>

/// Desktop entries started through GIO for a Linux workspace, each answered once it has really
/// worked: when a new window of the started process, or of another process of the same entry,
/// appears. A launch fails when its process ends first with a failure status. A process that
/// ends successfully before any window may have handed the start on to another, so a window of
/// its entry is still awaited; the caller's deadline decides how long. The workspace tells
/// which windows there are, and calls `settle` whenever they may have changed.
class EntryLaunches final {
public:
    /// A window as the workspace lists it: its own number and its process (0 when unknown).
    struct Window {
        std::uint64_t id = 0;
        std::int32_t pid = 0;
    };
    /// Launches nobody answered stop being awaited past this many newer ones.
    static constexpr std::size_t awaitedLimit = 16;
    /// The running application a process is, as the workspace tells it.
    using Describe = std::function<RunningApplication(std::int32_t pid)>;

    /// The entry to open for `path`: the one in effect, or the file read now; otherwise why not.
    static std::variant<DesktopEntry, QString> entryAt(const QString& path,
                                                       const DesktopEntryIndex::Entries& entries);
    /// Why a launched program that ended before showing a window failed; nothing when it ended
    /// successfully (it may have handed the start on).
    static std::optional<QString> failure(const QString& name, int status);

    /// Starts `entry` with `environment` added to its own. The windows in `before` were there
    /// before it. `wake` is called, from another thread, when the process ends. Without
    /// `listening` (no way to hear windows) the start alone answers `completion`.
    void start(const DesktopEntry& entry, const std::vector<std::uint64_t>& before, bool listening,
               WorkspacePort::OpenCompletion completion, std::function<void()> wake,
               const std::vector<std::pair<QByteArray, QByteArray>>& environment = {});
    /// Answers each launch that `windows` (the windows there now) or the end of its process
    /// has decided.
    void settle(const std::vector<Window>& windows, const Describe& describe);
    /// Whether any launch is still awaited.
    bool awaiting();

private:
    struct Launch {
        RunningApplication application;
        std::set<std::uint64_t> before;
        WorkspacePort::OpenCompletion completion;
        std::mutex mutex;
        /// The process's wait status, once it ended.
        std::optional<int> ended;
    };

    std::mutex mutex_;
    std::vector<std::shared_ptr<Launch>> launches_;
};
