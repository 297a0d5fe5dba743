#include "SwayWorkspace.h"

#include "Platform/Linux/GioLauncher.h"
#include "Platform/Linux/RunningEntry.h"
#include "SwayEventStream.h"
#include "SwayIpc.h"
#include "WaylandActivation.h"

#include <algorithm>

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
    const auto opened = EntryLaunches::entryAt(path, *index_.entries());
    if (const QString* error = std::get_if<QString>(&opened)) {
        if (completion) completion(std::nullopt, *error);
        return;
    }
    const DesktopEntry& entry = std::get<DesktopEntry>(opened);

    if (!configuration.createsNewApplicationInstance) {
        if (const auto running = runningInstance(entry.id)) {
            if (configuration.activates) activate(running->processIdentifier);
            if (completion) completion(running, std::nullopt);
            return;
        }
    }

    // Listening starts before the windows there now are noted, so no new one goes unheard.
    const bool listening = listen();
    std::vector<std::uint64_t> before;
    if (const auto now = tree())
        for (const SwayTree::Window& w : now->windows)
            before.push_back(w.id);
    // With a start-up token, sway lets the new window take the focus.
    std::vector<std::pair<QByteArray, QByteArray>> environment;
    if (const auto token = WaylandActivation::token(entry.idStem()))
        environment = {{"XDG_ACTIVATION_TOKEN", *token}, {"DESKTOP_STARTUP_ID", *token}};
    launches_.start(
        entry, before, listening, std::move(completion),
        [events = std::weak_ptr(events_)] {
            if (const auto stream = events.lock()) stream->poke();
        },
        environment);
    if (listening) events_->poke();
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
    if (!launches_.awaiting()) return;
    const auto now = tree();
    if (!now) return;
    const auto entries = index_.entries();
    std::vector<EntryLaunches::Window> windows;
    for (const SwayTree::Window& w : now->windows)
        windows.push_back({w.id, w.pid});
    launches_.settle(windows, [&](std::int32_t pid) { return describe(pid, *now, *entries); });
}

bool SwayWorkspace::openURL(const QString& url) {
    return GioLauncher::openURL(url);
}
