#include "X11Workspace.h"

#include "Platform/Linux/GioLauncher.h"
#include "Platform/Linux/RunningEntry.h"
#include "X11ClientOwner.h"
#include "X11Clients.h"
#include "X11Connection.h"
#include "X11Reply.h"

#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>

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
    const bool listening = launchWatch_->start();
    std::vector<std::uint64_t> before;
    for (const ClientWindow& window : readClientWindows(false))
        before.push_back(window.id);
    launches_.start(entry, before, listening, std::move(completion), [watch = std::weak_ptr(launchWatch_)] {
        if (const auto listener = watch.lock()) listener->poke();
    });
    // The window may be there already, or the process gone.
    if (listening) launchWatch_->poke();
}

void X11Workspace::settleLaunches() {
    if (!launches_.awaiting()) return;
    const std::vector<ClientWindow> windows = readClientWindows(false);
    const auto entries = index_.entries();
    std::vector<EntryLaunches::Window> listed;
    for (const ClientWindow& window : windows)
        listed.push_back({window.id, window.pid});
    launches_.settle(listed, [&](std::int32_t pid) { return describe(pid, windows, *entries); });
}

bool X11Workspace::openURL(const QString& url) {
    return GioLauncher::openURL(url);
}
