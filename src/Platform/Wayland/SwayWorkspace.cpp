#include "SwayWorkspace.h"

#include "Platform/Linux/GioLauncher.h"
#include "Platform/Linux/RunningEntry.h"
#include "SwayEventStream.h"
#include "SwayIpc.h"
#include "WaylandActivation.h"

#include <QFileInfo>

#include <sys/wait.h>

#include <algorithm>

namespace {

// Launches nobody answered stop being awaited past this many newer ones.
constexpr std::size_t awaitedLaunches = 16;

std::optional<QString> failure(const QString& name, int status) {
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        return QStringLiteral("%1 exited with status %2").arg(name).arg(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return QStringLiteral("%1 was ended by signal %2").arg(name).arg(WTERMSIG(status));
    return std::nullopt;
}

} // namespace

SwayWorkspace::SwayWorkspace(SwayIpc& ipc) : ipc_(ipc) {}

SwayWorkspace::~SwayWorkspace() {
    std::lock_guard lock(listenMutex_);
    if (events_) events_->stop();
    if (listener_.joinable()) listener_.join();
}

std::optional<SwayTree> SwayWorkspace::tree() {
    const auto json = ipc_.tree();
    return json ? SwayTree::parse(*json) : std::nullopt;
}

RunningApplication SwayWorkspace::describe(std::int32_t pid, const SwayTree& tree,
                                           const DesktopEntryIndex::Entries& entries) {
    // A Wayland window's app_id plays the part of an X11 window's class.
    QString windowClass;
    QString instance;
    for (const SwayTree::Window& w : tree.windows) {
        if (w.pid != pid) continue;
        windowClass = w.appId.isEmpty() ? w.wmClass : w.appId;
        instance = w.appId.isEmpty() ? w.wmInstance : w.appId;
        if (!windowClass.isEmpty()) break;
    }

    return RunningEntry::ofProcess(pid, windowClass, instance, entries);
}

QList<RunningApplication> SwayWorkspace::runningApplications() {
    const auto now = tree();
    if (!now) return {};
    const auto entries = index_.entries();
    QList<RunningApplication> applications;
    std::vector<std::int32_t> seen;
    for (const SwayTree::Window& w : now->windows) {
        if (w.pid <= 0 || std::find(seen.begin(), seen.end(), w.pid) != seen.end()) continue;
        seen.push_back(w.pid);
        applications.append(describe(w.pid, *now, *entries));
    }
    return applications;
}

std::optional<RunningApplication> SwayWorkspace::runningApplication(std::int32_t pid) {
    const auto now = tree();
    if (!now || pid <= 0 ||
        std::none_of(now->windows.begin(), now->windows.end(),
                     [pid](const SwayTree::Window& w) { return w.pid == pid; }))
        return std::nullopt;
    return describe(pid, *now, *index_.entries());
}

std::optional<RunningApplication> SwayWorkspace::frontmostApplication() {
    const auto now = tree();
    const SwayTree::Window* focused = now ? now->focusedWindow() : nullptr;
    if (!focused || focused->pid <= 0) return std::nullopt;
    return describe(focused->pid, *now, *index_.entries());
}

std::optional<RunningApplication> SwayWorkspace::runningInstance(const QString& id) {
    const auto now = tree();
    if (!now) return std::nullopt;
    const auto entries = index_.entries();
    std::vector<std::int32_t> seen;
    // Most recently focused first: the first instance found is the one used last.
    for (const SwayTree::Window& w : now->windows) {
        if (w.pid <= 0 || std::find(seen.begin(), seen.end(), w.pid) != seen.end()) continue;
        seen.push_back(w.pid);
        if (RunningApplication running = describe(w.pid, *now, *entries); running.bundleIdentifier == id)
            return running;
    }
    return std::nullopt;
}

bool SwayWorkspace::activate(std::int32_t pid) {
    const auto now = tree();
    if (!now || pid <= 0) return false;
    // The window it used last, one on a workspace shown before the others; a window in the
    // scratchpad only when it has no other (focusing it brings it out).
    const SwayTree::Window* chosen = nullptr;
    for (const SwayTree::Window& w : now->windows) {
        if (w.pid != pid) continue;
        const auto rank = [](const SwayTree::Window& c) { return c.inScratchpad ? 2 : c.visible ? 0 : 1; };
        if (!chosen || rank(w) < rank(*chosen)) chosen = &w;
    }
    return chosen && ipc_.run(QStringLiteral("[con_id=%1] focus").arg(chosen->id));
}

void SwayWorkspace::openApplication(const QString& path, const OpenConfiguration& configuration,
                                    OpenCompletion completion) {
    const auto finish = [&completion](std::optional<RunningApplication> application,
                                      std::optional<QString> error) {
        if (completion) completion(std::move(application), std::move(error));
    };
    if (!QFileInfo::exists(path))
        return finish(std::nullopt, QStringLiteral("The application “%1” can’t be found.").arg(path));
    std::optional<DesktopEntry> entry;
    const auto entries = index_.entries();
    if (const DesktopEntry* indexed = entries->atPath(path))
        entry = *indexed;
    else
        entry = DesktopEntry::read(
            path, DesktopEntryIndex::desktopFileId(path, DesktopEntryIndex::applicationFolders()));
    if (!entry)
        return finish(
            std::nullopt,
            QStringLiteral("“%1” is not an application’s desktop entry.").arg(QFileInfo(path).fileName()));

    if (!configuration.createsNewApplicationInstance) {
        if (const auto running = runningInstance(entry->id)) {
            if (configuration.activates) activate(running->processIdentifier);
            return finish(running, std::nullopt);
        }
    }

    // Listening starts before the windows there now are noted, so no new one goes unheard.
    const bool listening = listen();
    auto launch = std::make_shared<Launch>();
    if (const auto now = tree())
        for (const SwayTree::Window& w : now->windows)
            launch->before.insert(w.id);
    std::weak_ptr<SwayEventStream> events = events_;
    // With a start-up token, sway lets the new window take the focus.
    std::vector<std::pair<QByteArray, QByteArray>> environment;
    if (const auto token = WaylandActivation::token(entry->idStem()))
        environment = {{"XDG_ACTIVATION_TOKEN", *token}, {"DESKTOP_STARTUP_ID", *token}};
    const GioLauncher::Launched launched = GioLauncher::launch(
        *entry,
        [launch, events](int status) {
            {
                std::lock_guard lock(launch->mutex);
                launch->ended = status;
            }
            if (const auto stream = events.lock()) stream->poke();
        },
        environment);
    if (launched.error) return finish(std::nullopt, launched.error);
    launch->application = RunningApplication{launched.pid, entry->localizedName, entry->id, entry->path};
    if (!listening) return finish(launch->application, std::nullopt);
    launch->completion = std::move(completion);
    {
        std::lock_guard lock(launchesMutex_);
        launches_.push_back(std::move(launch));
        if (launches_.size() > awaitedLaunches) launches_.erase(launches_.begin());
    }
    events_->poke();
}

bool SwayWorkspace::listen() {
    std::lock_guard lock(listenMutex_);
    if (events_) return true;
    auto stream = SwayEventStream::open(SwayIpc::socketPath(), QByteArrayLiteral("[\"window\"]"));
    if (!stream) return false;
    events_ = std::make_shared<SwayEventStream>(std::move(*stream));
    listener_ = std::thread([this, events = events_] {
        events->run([this](const SwayIpc::Message&) { settleLaunches(); }, [this] { settleLaunches(); });
    });
    return true;
}

void SwayWorkspace::settleLaunches() {
    std::vector<std::shared_ptr<Launch>> pending;
    {
        std::lock_guard lock(launchesMutex_);
        pending = launches_;
    }
    if (pending.empty()) return;
    const auto now = tree();
    if (!now) return;
    const auto entries = index_.entries();
    std::vector<std::pair<std::shared_ptr<Launch>, std::optional<RunningApplication>>> shown;
    std::vector<std::pair<std::shared_ptr<Launch>, QString>> failed;
    for (const auto& launch : pending) {
        const RunningApplication& started = launch->application;
        std::optional<RunningApplication> application;
        for (const SwayTree::Window& w : now->windows) {
            if (launch->before.count(w.id) || w.pid <= 0) continue;
            if (w.pid == started.processIdentifier) {
                application = started;
                break;
            }
            if (RunningApplication other = describe(w.pid, *now, *entries);
                other.bundleIdentifier == started.bundleIdentifier) {
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
        std::lock_guard lock(launchesMutex_);
        std::erase_if(launches_, [&](const std::shared_ptr<Launch>& launch) {
            return std::any_of(shown.begin(), shown.end(),
                               [&](const auto& s) { return s.first == launch; }) ||
                   std::any_of(failed.begin(), failed.end(),
                               [&](const auto& f) { return f.first == launch; });
        });
    }
    for (auto& [launch, application] : shown)
        if (launch->completion) launch->completion(std::move(application), std::nullopt);
    for (auto& [launch, why] : failed)
        if (launch->completion) launch->completion(std::nullopt, std::move(why));
}

bool SwayWorkspace::openURL(const QString& url) {
    return GioLauncher::openURL(url);
}
