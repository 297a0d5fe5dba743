#include "WlrWorkspace.h"

#include "Platform/Linux/GioLauncher.h"
#include "Platform/Linux/RunningEntry.h"

#include <algorithm>

WlrWorkspace::WlrWorkspace(WlrToplevels& toplevels) : toplevels_(toplevels) {
    toplevels_.setChanged([this] { settleLaunches(); });
}

// The list outlives no workspace of its own: WlrPlatform stops its reader first.
WlrWorkspace::~WlrWorkspace() = default;

RunningApplication WlrWorkspace::describe(std::int32_t application, const QString& appId,
                                          const DesktopEntryIndex::Entries& entries) {
    // An app_id is a window class: its entry names it in StartupWMClass, or by its own id.
    return RunningEntry::ofClass(application, appId, entries);
}

std::optional<RunningApplication> WlrWorkspace::describeNumber(std::int32_t application,
                                                               const WlrSnapshot& snapshot) {
    for (const WlrToplevel& t : snapshot.toplevels)
        if (t.application == application) return describe(application, t.appId, *index_.entries());
    return std::nullopt;
}

QList<RunningApplication> WlrWorkspace::runningApplications() {
    const auto now = toplevels_.current();
    if (!now) return {};
    const auto entries = index_.entries();
    QList<RunningApplication> applications;
    std::vector<std::int32_t> seen;
    for (const WlrToplevel& t : now->toplevels) {
        if (std::find(seen.begin(), seen.end(), t.application) != seen.end()) continue;
        seen.push_back(t.application);
        applications.append(describe(t.application, t.appId, *entries));
    }
    return applications;
}

std::optional<RunningApplication> WlrWorkspace::runningApplication(std::int32_t pid) {
    const auto now = toplevels_.current();
    return now ? describeNumber(pid, *now) : std::nullopt;
}

std::optional<RunningApplication> WlrWorkspace::frontmostApplication() {
    const auto now = toplevels_.current();
    if (!now) return std::nullopt;
    for (const WlrToplevel& t : now->toplevels)
        if (t.activated) return describe(t.application, t.appId, *index_.entries());
    return std::nullopt;
}

bool WlrWorkspace::activate(std::int32_t pid) {
    const auto now = toplevels_.current();
    if (!now) return false;
    // Most recently activated first: the window used last, a minimised one only when the
    // application has no other.
    const WlrToplevel* chosen = nullptr;
    for (const WlrToplevel& t : now->toplevels)
        if (t.application == pid && (!chosen || (chosen->minimized && !t.minimized))) chosen = &t;
    if (!chosen) return false;
    if (chosen->minimized) toplevels_.unsetMinimized(chosen->number);
    return toplevels_.activate(chosen->number);
}

void WlrWorkspace::openApplication(const QString& path, const OpenConfiguration& configuration,
                                   OpenCompletion completion) {
    const auto entries = index_.entries();
    const auto opened = EntryLaunches::entryAt(path, *entries);
    if (const QString* error = std::get_if<QString>(&opened)) {
        if (completion) completion(std::nullopt, *error);
        return;
    }
    const DesktopEntry& entry = std::get<DesktopEntry>(opened);

    const auto now = toplevels_.current();
    if (!configuration.createsNewApplicationInstance && now) {
        // Most recently activated first: the instance found first is the one used last.
        for (const WlrToplevel& t : now->toplevels) {
            RunningApplication running = describe(t.application, t.appId, *entries);
            if (running.bundleIdentifier != entry.id) continue;
            if (configuration.activates) activate(t.application);
            if (completion) completion(std::move(running), std::nullopt);
            return;
        }
    }

    auto launch = std::make_shared<Launch>();
    if (now)
        for (const WlrToplevel& t : now->toplevels) launch->before.insert(t.number);
    launch->application = RunningApplication{0, entry.localizedName, entry.id, entry.path};
    launch->completion = std::move(completion);
    {
        std::lock_guard lock(launchesMutex_);
        launches_.push_back(launch);
        if (launches_.size() > EntryLaunches::awaitedLimit) launches_.erase(launches_.begin());
    }
    // The process's end answers only a failed launch, and needs nothing of this workspace.
    const GioLauncher::Launched launched = GioLauncher::launch(entry, [launch](int status) {
        if (auto why = EntryLaunches::failure(launch->application.localizedName.value_or(QString()), status))
            if (OpenCompletion answer = launch->take()) answer(std::nullopt, std::move(why));
    });
    if (launched.error) {
        if (OpenCompletion answer = launch->take()) answer(std::nullopt, launched.error);
        return;
    }
    settleLaunches();
}

WorkspacePort::OpenCompletion WlrWorkspace::Launch::take() {
    std::lock_guard lock(mutex);
    return std::exchange(completion, {});
}

void WlrWorkspace::settleLaunches() {
    // Runs on the Wayland reader's thread too: the list as last heard, no question asked.
    const WlrSnapshot now = toplevels_.latest();
    const auto entries = index_.entries();
    std::vector<std::pair<std::shared_ptr<Launch>, RunningApplication>> shown;
    {
        std::lock_guard lock(launchesMutex_);
        std::erase_if(launches_, [&](const std::shared_ptr<Launch>& launch) {
            for (const WlrToplevel& t : now.toplevels) {
                if (launch->before.count(t.number)) continue;
                RunningApplication running = describe(t.application, t.appId, *entries);
                if (running.bundleIdentifier != launch->application.bundleIdentifier) continue;
                shown.emplace_back(launch, std::move(running));
                return true;
            }
            return false;
        });
    }
    for (auto& [launch, application] : shown)
        if (OpenCompletion answer = launch->take()) answer(std::move(application), std::nullopt);
}

bool WlrWorkspace::openURL(const QString& url) {
    return GioLauncher::openURL(url);
}
