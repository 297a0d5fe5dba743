#include "X11Workspace.h"

#include "Platform/Linux/GioLauncher.h"
#include "Platform/Linux/RunningEntry.h"
#include "X11ClientOwner.h"
#include "X11Clients.h"
#include "X11Connection.h"
#include "X11Reply.h"

#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>

#include <QFileInfo>

#include <sys/wait.h>

#include <algorithm>
#include <tuple>

namespace {

/// The window's instance and class; both empty unless `WM_CLASS` is 8-bit STRING text.
void readWmClass(xcb_connection_t* c, xcb_get_property_cookie_t cookie, QString& instance,
                 QString& className) {
    const X11Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr));
    if (!reply || reply->type != XCB_ATOM_STRING || reply->format != 8) return;
    const QByteArray raw(static_cast<const char*>(xcb_get_property_value(reply.get())),
                         std::max(xcb_get_property_value_length(reply.get()), 0));
    std::tie(instance, className) = X11Clients::splitWmClass(raw);
}

// Launches nobody answered stop being awaited past this many newer ones.
constexpr std::size_t awaitedLaunches = 16;

// Why a launched program that ended before showing a window failed; nothing when it ended
// successfully (it may have handed the start on).
std::optional<QString> failure(const QString& name, int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status) == 0
                   ? std::nullopt
                   : std::optional(
                         QStringLiteral("%1 exited with status %2").arg(name).arg(WEXITSTATUS(status)));
    if (WIFSIGNALED(status))
        return QStringLiteral("%1 was ended by signal %2").arg(name).arg(WTERMSIG(status));
    return std::nullopt;
}

} // namespace

X11Workspace::X11Workspace(X11Connection& connection, std::shared_ptr<X11ServerClock> clock)
    : connection_(connection), clock_(std::move(clock)),
      launchWatch_(
          std::make_shared<X11ClientListWatch>(connection.displayName(), [this] { settleLaunches(); })) {}

X11Workspace::~X11Workspace() {
    // No answer may run into a workspace that is going.
    launchWatch_->stop();
}

std::vector<X11Workspace::ClientWindow> X11Workspace::readClientWindows(bool stacking) {
    xcb_ewmh_connection_t* ewmh = connection_.ewmh();
    xcb_connection_t* c = connection_.xcb();
    const int screen = connection_.screenNumber();

    xcb_ewmh_get_windows_reply_t list{};
    const bool listed =
        stacking
            ? xcb_ewmh_get_client_list_stacking_reply(ewmh, xcb_ewmh_get_client_list_stacking(ewmh, screen),
                                                      &list, nullptr)
            : xcb_ewmh_get_client_list_reply(ewmh, xcb_ewmh_get_client_list(ewmh, screen), &list, nullptr);
    if (!listed) return {};
    const std::vector<xcb_window_t> ids(list.windows, list.windows + list.windows_len);
    xcb_ewmh_get_windows_reply_wipe(&list);

    std::vector<X11Clients::ProcessCookies> processCookies;
    std::vector<xcb_get_property_cookie_t> classCookies;
    processCookies.reserve(ids.size());
    classCookies.reserve(ids.size());
    for (const xcb_window_t id : ids) {
        processCookies.push_back(X11Clients::askProcess(connection_, id));
        classCookies.push_back(xcb_icccm_get_wm_class(c, id));
    }

    // Every reply is collected, also of windows that vanished meanwhile (their errors are
    // dropped with them).
    std::vector<ClientWindow> windows;
    X11ClientOwner owner;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const X11ClientProcess process = X11Clients::process(connection_, processCookies[i]);
        ClientWindow window{ids[i], process.pid.value_or(0), {}, {}};
        readWmClass(c, classCookies[i], window.wmInstance, window.wmClass);
        if (owner.isOurs(process)) windows.push_back(window);
    }
    return windows;
}

void X11Workspace::forgetChanged() {
    const X11RootWatch::Generations now = connection_.rootWatch().current();
    if (now.clientList != known_.generations.clientList) {
        known_.listed.reset();
        known_.applications.clear();
    }
    if (now.stacking != known_.generations.stacking) known_.stacked.reset();
    known_.generations = now;
}

std::shared_ptr<const X11Workspace::ClientWindows> X11Workspace::clientWindows(bool stacking) {
    std::lock_guard lock(knownMutex_);
    forgetChanged();
    auto& kept = stacking ? known_.stacked : known_.listed;
    if (!kept) kept = std::make_shared<const ClientWindows>(readClientWindows(stacking));
    return kept;
}

RunningApplication
X11Workspace::application(std::int32_t pid, const ClientWindows& listed,
                          const std::shared_ptr<const DesktopEntryIndex::Entries>& entries) {
    {
        std::lock_guard lock(knownMutex_);
        if (known_.entries != entries) {
            known_.applications.clear();
            known_.entries = entries;
        }
        if (const auto found = known_.applications.find(pid); found != known_.applications.end())
            return found->second;
    }
    RunningApplication described = describe(pid, listed, *entries);
    std::lock_guard lock(knownMutex_);
    // Kept only if told from the windows and entries still in effect.
    if (known_.listed.get() == &listed && known_.entries == entries)
        known_.applications.emplace(pid, described);
    return described;
}

RunningApplication X11Workspace::describe(std::int32_t pid, const std::vector<ClientWindow>& windows,
                                          const DesktopEntryIndex::Entries& entries) {
    QString wmInstance;
    QString wmClass;
    for (const ClientWindow& window : windows) {
        if (window.pid == pid && !window.wmClass.isEmpty()) {
            wmInstance = window.wmInstance;
            wmClass = window.wmClass;
            break;
        }
    }

    return RunningEntry::ofProcess(pid, wmClass, wmInstance, entries);
}

QList<RunningApplication> X11Workspace::runningApplications() {
    const auto listed = clientWindows(false);
    const auto entries = index_.entries();
    QList<RunningApplication> applications;
    std::vector<std::int32_t> seen;
    for (const ClientWindow& window : *listed) {
        if (std::find(seen.begin(), seen.end(), window.pid) != seen.end()) continue;
        seen.push_back(window.pid);
        applications.append(application(window.pid, *listed, entries));
    }
    return applications;
}

std::optional<RunningApplication> X11Workspace::runningApplication(std::int32_t pid) {
    const auto listed = clientWindows(false);
    const bool hasWindow =
        std::any_of(listed->begin(), listed->end(), [pid](const ClientWindow& w) { return w.pid == pid; });
    if (!hasWindow) return std::nullopt;
    return application(pid, *listed, index_.entries());
}

std::optional<RunningApplication> X11Workspace::frontmostApplication() {
    const auto active = X11Clients::root(connection_).activeWindow;
    if (!active) return std::nullopt;
    // The pid of a known client is at hand; any other window is asked.
    const auto listed = clientWindows(false);
    for (const ClientWindow& window : *listed)
        if (window.id == *active) return application(window.pid, *listed, index_.entries());
    const X11ClientProcess process =
        X11Clients::process(connection_, X11Clients::askProcess(connection_, *active));
    if (!process.pid) return std::nullopt;
    return runningApplication(*process.pid);
}

std::optional<xcb_window_t> X11Workspace::windowToActivate(std::int32_t pid) {
    // A process's only window is chosen without reading the stacking order or the desktops.
    const auto listed = clientWindows(false);
    const auto ownWindows =
        std::count_if(listed->begin(), listed->end(), [pid](const ClientWindow& w) { return w.pid == pid; });
    if (ownWindows <= 1) {
        const auto only = std::find_if(listed->begin(), listed->end(),
                                       [pid](const ClientWindow& w) { return w.pid == pid; });
        return only == listed->end() ? std::nullopt : std::optional(only->id);
    }
    const auto stacked = clientWindows(true);
    std::vector<xcb_window_t> own; // top-most first
    for (auto it = stacked->rbegin(); it != stacked->rend(); ++it)
        if (it->pid == pid) own.push_back(it->id);
    if (own.empty()) return std::nullopt;

    // A window manager may refuse a window on another desktop; after a desktop switch the
    // window meant is the one on the desktop now shown.
    xcb_ewmh_connection_t* ewmh = connection_.ewmh();
    std::vector<xcb_get_property_cookie_t> desktopCookies;
    for (const xcb_window_t id : own)
        desktopCookies.push_back(xcb_ewmh_get_wm_desktop(ewmh, id));
    const auto currentDesktop = X11Clients::root(connection_).currentDesktop;
    const bool knowsCurrent = currentDesktop.has_value();
    const uint32_t current = currentDesktop.value_or(0);
    std::optional<xcb_window_t> onCurrent;
    for (std::size_t i = 0; i < own.size(); ++i) {
        uint32_t desktop = 0;
        const bool knowsDesktop =
            xcb_ewmh_get_wm_desktop_reply(ewmh, desktopCookies[i], &desktop, nullptr) != 0;
        if (!onCurrent && knowsCurrent && knowsDesktop && (desktop == current || desktop == 0xFFFFFFFF))
            onCurrent = own[i];
    }
    return onCurrent ? *onCurrent : own.front();
}

std::optional<RunningApplication> X11Workspace::runningInstance(const QString& id) {
    const auto listed = clientWindows(false);
    const auto entries = index_.entries();
    // Which process of the entry was used last matters only when several run it: the
    // stacking order is read only then.
    std::vector<RunningApplication> instances;
    std::vector<std::int32_t> seen;
    for (const ClientWindow& window : *listed) {
        if (std::find(seen.begin(), seen.end(), window.pid) != seen.end()) continue;
        seen.push_back(window.pid);
        if (RunningApplication running = application(window.pid, *listed, entries);
            running.bundleIdentifier == id)
            instances.push_back(std::move(running));
    }
    if (instances.size() <= 1) return instances.empty() ? std::nullopt : std::optional(instances.front());
    const auto stacked = clientWindows(true);
    for (auto window = stacked->rbegin(); window != stacked->rend(); ++window)
        for (const RunningApplication& running : instances)
            if (running.processIdentifier == window->pid) return running;
    return instances.front();
}

bool X11Workspace::activate(std::int32_t pid) {
    const auto window = windowToActivate(pid);
    if (!window) return false;
    // Source 2 (a pager: on the user's behalf) with the time of the user's action: the key
    // press of the stroke when there was one just now, else the server's time now, which no
    // earlier user action can be later than.
    xcb_ewmh_request_change_active_window(connection_.ewmh(), connection_.screenNumber(), *window,
                                          XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, clock_->userActionTime(),
                                          XCB_NONE);
    xcb_flush(connection_.xcb());
    return true;
}

void X11Workspace::openApplication(const QString& path, const OpenConfiguration& configuration,
                                   OpenCompletion completion) {
    const auto finish = [&completion](std::optional<RunningApplication> application,
                                      std::optional<QString> error) {
        if (completion) completion(std::move(application), std::move(error));
    };
    if (!QFileInfo::exists(path))
        return finish(std::nullopt, QStringLiteral("The application “%1” can’t be found.").arg(path));
    // An entry in effect is already read; any other file is read now.
    std::optional<DesktopEntry> entry;
    const auto entries = index_.entries();
    if (const DesktopEntry* indexed = entries->atPath(path))
        entry = *indexed;
    else
        entry = DesktopEntry::read(
            path, DesktopEntryIndex::desktopFileId(path, DesktopEntryIndex::applicationFolders()));
    if (!entry) {
        return finish(
            std::nullopt,
            QStringLiteral("“%1” is not an application’s desktop entry.").arg(QFileInfo(path).fileName()));
    }

    if (!configuration.createsNewApplicationInstance) {
        if (const auto running = runningInstance(entry->id)) {
            if (configuration.activates) activate(running->processIdentifier);
            return finish(running, std::nullopt);
        }
    }

    // Listening starts before the windows there now are noted, so no new one goes unheard.
    const bool listening = launchWatch_->start();
    auto launch = std::make_shared<Launch>();
    for (const ClientWindow& window : readClientWindows(false))
        launch->before.insert(window.id);
    const GioLauncher::Launched launched =
        GioLauncher::launch(*entry, [launch, watch = std::weak_ptr(launchWatch_)](int status) {
            {
                std::lock_guard lock(launch->mutex);
                launch->ended = status;
            }
            if (const auto listener = watch.lock()) listener->poke();
        });
    if (launched.error) return finish(std::nullopt, launched.error);
    launch->application = RunningApplication{launched.pid, entry->localizedName, entry->id, entry->path};
    // Without a way to hear windows, the start is all there is to go by.
    if (!listening) return finish(launch->application, std::nullopt);
    launch->completion = std::move(completion);
    {
        std::lock_guard lock(launchesMutex_);
        launches_.push_back(std::move(launch));
        if (launches_.size() > awaitedLaunches) launches_.erase(launches_.begin());
    }
    // The window may be there already, or the process gone.
    launchWatch_->poke();
}

void X11Workspace::settleLaunches() {
    std::vector<std::shared_ptr<Launch>> pending;
    {
        std::lock_guard lock(launchesMutex_);
        pending = launches_;
    }
    if (pending.empty()) return;
    const std::vector<ClientWindow> windows = readClientWindows(false);
    const auto entries = index_.entries();
    std::vector<std::pair<std::shared_ptr<Launch>, std::optional<RunningApplication>>> shown;
    std::vector<std::pair<std::shared_ptr<Launch>, QString>> failed;
    for (const auto& launch : pending) {
        const RunningApplication& started = launch->application;
        std::optional<RunningApplication> application;
        for (const ClientWindow& window : windows) {
            if (launch->before.count(window.id)) continue;
            if (window.pid == started.processIdentifier) {
                application = started;
                break;
            }
            if (RunningApplication other = describe(window.pid, windows, *entries);
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

bool X11Workspace::openURL(const QString& url) {
    return GioLauncher::openURL(url);
}
