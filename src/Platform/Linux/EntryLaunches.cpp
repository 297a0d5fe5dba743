#include "Platform/Linux/EntryLaunches.h"

#include "Platform/Linux/GioLauncher.h"

#include <QFileInfo>

#include <sys/wait.h>

#include <algorithm>

std::variant<DesktopEntry, QString> EntryLaunches::entryAt(const QString& path,
                                                           const DesktopEntryIndex::Entries& entries) {
    if (!QFileInfo::exists(path)) return QStringLiteral("The application “%1” can’t be found.").arg(path);
    if (const DesktopEntry* indexed = entries.atPath(path)) return *indexed;
    if (auto read = DesktopEntry::read(
            path, DesktopEntryIndex::desktopFileId(path, DesktopEntryIndex::applicationFolders())))
        return std::move(*read);
    return QStringLiteral("“%1” is not an application’s desktop entry.").arg(QFileInfo(path).fileName());
}

std::optional<QString> EntryLaunches::failure(const QString& name, int status) {
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return QStringLiteral("%1 exited with status %2").arg(name).arg(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return QStringLiteral("%1 was ended by signal %2").arg(name).arg(WTERMSIG(status));
    return std::nullopt;
}

void EntryLaunches::start(const DesktopEntry& entry, const std::vector<std::uint64_t>& before, bool listening,
                          WorkspacePort::OpenCompletion completion, std::function<void()> wake,
                          const std::vector<std::pair<QByteArray, QByteArray>>& environment) {
    auto launch = std::make_shared<Launch>();
    launch->before.insert(before.begin(), before.end());
    const GioLauncher::Launched launched = GioLauncher::launch(
        entry,
        [launch, wake = std::move(wake)](int status) {
            {
                std::lock_guard lock(launch->mutex);
                launch->ended = status;
            }
            if (wake) wake();
        },
        environment);
    if (launched.error) {
        if (completion) completion(std::nullopt, launched.error);
        return;
    }
    launch->application = RunningApplication{launched.pid, entry.localizedName, entry.id, entry.path};
    if (!listening) {
        if (completion) completion(launch->application, std::nullopt);
        return;
    }
    launch->completion = std::move(completion);
    std::lock_guard lock(mutex_);
    launches_.push_back(std::move(launch));
    if (launches_.size() > awaitedLimit) launches_.erase(launches_.begin());
}

bool EntryLaunches::awaiting() {
    std::lock_guard lock(mutex_);
    return !launches_.empty();
}

void EntryLaunches::settle(const std::vector<Window>& windows, const Describe& describe) {
    std::vector<std::shared_ptr<Launch>> pending;
    {
        std::lock_guard lock(mutex_);
        pending = launches_;
    }
    std::vector<std::pair<std::shared_ptr<Launch>, std::optional<RunningApplication>>> shown;
    std::vector<std::pair<std::shared_ptr<Launch>, QString>> failed;
    for (const auto& launch : pending) {
        const RunningApplication& started = launch->application;
        std::optional<RunningApplication> application;
        for (const Window& window : windows) {
            if (launch->before.count(window.id) || window.pid <= 0) continue;
            if (window.pid == started.processIdentifier) {
                application = started;
                break;
            }
            if (RunningApplication other = describe(window.pid); other.bundleIdentifier == started.bundleIdentifier) {
                application = std::move(other);
                break;
            }
        }
        if (application) {
            shown.emplace_back(launch, std::move(application));
            continue;
        }
        std::lock_guard lock(launch->mutex);
        if (launch->ended)
            if (auto why = failure(started.localizedName.value_or(QString()), *launch->ended))
                failed.emplace_back(launch, std::move(*why));
    }
    {
        std::lock_guard lock(mutex_);
        std::erase_if(launches_, [&](const std::shared_ptr<Launch>& launch) {
            return std::any_of(shown.begin(), shown.end(), [&](const auto& s) { return s.first == launch; }) ||
                   std::any_of(failed.begin(), failed.end(), [&](const auto& f) { return f.first == launch; });
        });
    }
    for (auto& [launch, application] : shown)
        if (launch->completion) launch->completion(std::move(application), std::nullopt);
    for (auto& [launch, why] : failed)
        if (launch->completion) launch->completion(std::nullopt, std::move(why));
}
