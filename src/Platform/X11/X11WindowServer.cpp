#include "X11WindowServer.h"

#include "Platform/X11/X11ClientOwner.h"
#include "Platform/X11/X11Clients.h"
#include "Platform/X11/X11Connection.h"

#include <algorithm>

namespace {

// A count past any real desktop setup is read as this many, not trusted to size a list.
constexpr std::uint32_t desktopLimit = 1024;

bool onEveryDesktop(const X11ClientWindow& w) {
    return w.sticky || (w.desktop && *w.desktop == X11ClientWindow::allDesktops);
}

/// Shown now: mapped, not minimised, and on the current desktop or on all of them.
bool isOnscreen(const X11ClientWindow& w, std::optional<std::uint32_t> current) {
    if (!w.viewable || w.hidden) return false;
    if (onEveryDesktop(w) || !w.desktop) return true;
    return !current || *w.desktop == *current;
}

/// The desktop a window is shown on: the current one for a window on every desktop.
std::optional<std::uint32_t> desktopOf(const X11ClientWindow& w, std::optional<std::uint32_t> current) {
    if (onEveryDesktop(w)) return current;
    return w.desktop;
}

WindowInfo infoOf(const X11ClientWindow& w, std::optional<std::uint32_t> current) {
    WindowInfo info;
    info.number = w.id;
    info.pid = *w.process.pid;
    info.layer = w.layer;
    info.opacity = w.opacity;
    if (w.frame) info.bounds = QRectF(*w.frame);
    info.ownerName = w.ownerName;
    info.title = w.title;
    info.isOnscreen = isOnscreen(w, current);
    info.isMinimized = w.hidden;
    return info;
}

} // namespace

std::optional<std::vector<WindowInfo>> X11WindowServer::windows() {
    if (connection_.hasError()) return std::nullopt;
    const X11Clients::Listing listing = X11Clients::rootAndClients(connection_, X11Clients::all);
    const X11Clients::Root& root = listing.root;
    if (!root.frontToBack) return std::nullopt;
    std::vector<WindowInfo> list;
    list.reserve(listing.clients.size());
    X11ClientOwner owner;
    for (const X11ClientWindow& w : listing.clients) {
        if (!owner.isOurs(w.process)) continue;
        WindowInfo info = infoOf(w, root.currentDesktop);
        // The desktops were read with everything else: the inventory need not ask again.
        if (root.numberOfDesktops) {
            info.spaceListed = true;
            if (const auto desktop = desktopOf(w, root.currentDesktop)) info.space = spaceOfDesktop(*desktop);
        }
        list.push_back(std::move(info));
    }
    return list;
}

std::optional<std::vector<DisplaySpaces>> X11WindowServer::spaces() {
    if (connection_.hasError()) return std::nullopt;
    const X11Clients::Root root = X11Clients::root(connection_);
    if (!root.numberOfDesktops) return std::nullopt;
    const std::uint32_t count = std::min(*root.numberOfDesktops, desktopLimit);
    DisplaySpaces main;
    main.displayIdentifier = displays_.mainIdentifier();
    for (std::uint32_t n = 0; n < count; ++n)
        main.spaces.push_back(SpaceInfo{spaceOfDesktop(n), SpaceKind::desktop});
    if (root.currentDesktop && *root.currentDesktop < count)
        main.currentSpace = spaceOfDesktop(*root.currentDesktop);
    return std::vector<DisplaySpaces>{std::move(main)};
}

std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
X11WindowServer::spacesOfWindows(const std::vector<std::uint32_t>& windows) {
    if (connection_.hasError()) return std::nullopt;
    const X11Clients::Root root = X11Clients::root(connection_);
    if (!root.numberOfDesktops) return std::nullopt;
    std::unordered_map<std::uint32_t, std::uint64_t> spaces;
    for (const X11ClientWindow& w :
         X11Clients::read(connection_, windows, X11Clients::desktop | X11Clients::state))
        if (const auto desktop = desktopOf(w, root.currentDesktop))
            spaces.emplace(w.id, spaceOfDesktop(*desktop));
    return spaces;
}
