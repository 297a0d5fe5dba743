#include "X11SkyLightLibrary.h"

#include "Inventory/PlistNumber.h"
#include "Platform/X11/X11Clients.h"
#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11Displays.h"

#include <QVariantMap>

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* knownSymbols[] = {"_CGSDefaultConnection", "CGSCopyManagedDisplaySpaces",
                                        "SLSCopySpacesForWindows", "CGSGetActiveSpace",
                                        "CGSManagedDisplaySetCurrentSpace"};
constexpr int ordinarySpace = 0;
// A count past any real desktop setup is read as this many, not trusted to size a list.
constexpr std::uint32_t desktopLimit = 1024;

} // namespace

bool X11SkyLightLibrary::hasSymbol(const char* name) {
    for (const char* known : knownSymbols)
        if (std::strcmp(known, name) == 0) return true;
    return false;
}

std::optional<std::uint64_t> X11SkyLightLibrary::spaceOf(std::uint32_t desktop,
                                                         std::optional<std::uint32_t> current) {
    if (desktop == X11ClientWindow::allDesktops) {
        if (!current) return std::nullopt;
        desktop = *current;
    }
    return std::uint64_t(desktop) + 1;
}

std::optional<QVariantList> X11SkyLightLibrary::copyManagedDisplaySpaces(std::int32_t) {
    if (connection_.hasError()) return std::nullopt;
    // Without a desktop count there is no EWMH manager to speak of, and so no Spaces.
    const X11Clients::Root root = X11Clients::root(connection_);
    if (!root.numberOfDesktops) return std::nullopt;
    const std::optional<std::uint32_t> count = std::min(*root.numberOfDesktops, desktopLimit);
    const auto current = root.currentDesktop;

    QVariantList spaces;
    for (std::uint32_t n = 0; n < *count; ++n)
        spaces.append(QVariantMap{{QStringLiteral("id64"), QVariant::fromValue(std::uint64_t(n) + 1)},
                                  {QStringLiteral("type"), ordinarySpace}});
    QVariantMap display{{QStringLiteral("Spaces"), spaces}};
    if (const auto uuid = displays_.mainDisplayUUIDString())
        display.insert(QStringLiteral("Display Identifier"), *uuid);
    if (current && *current < *count)
        display.insert(
            QStringLiteral("Current Space"),
            QVariantMap{{QStringLiteral("id64"), QVariant::fromValue(std::uint64_t(*current) + 1)}});
    return QVariantList{display};
}

void X11SkyLightLibrary::readAllDesktops() {
    const X11Clients::Root root = X11Clients::root(connection_);
    currentDesktop_ = root.currentDesktop;
    if (!root.frontToBack) return;
    for (const X11ClientWindow& w : X11Clients::read(connection_, *root.frontToBack, X11Clients::desktop))
        if (w.desktop) desktopOf_.emplace(w.id, *w.desktop);
}

std::optional<QVariantList> X11SkyLightLibrary::copySpacesForWindows(std::int32_t, std::uint32_t,
                                                                     const QVariantList& windowNumbers) {
    if (connection_.hasError()) return std::nullopt;
    std::call_once(snapshotOnce_, [this] { readAllDesktops(); });

    // Windows outside the snapshot (not managed clients, or newer) are asked directly.
    std::vector<xcb_window_t> unknown;
    for (const QVariant& number : windowNumbers)
        if (const auto id = PlistNumber::integerValue<std::uint32_t>(number); id && !desktopOf_.contains(*id))
            unknown.push_back(*id);
    std::unordered_map<xcb_window_t, std::uint32_t> asked;
    for (const X11ClientWindow& w : X11Clients::read(connection_, unknown, X11Clients::desktop))
        if (w.desktop) asked.emplace(w.id, *w.desktop);

    QVariantList spaces;
    for (const QVariant& number : windowNumbers) {
        const auto id = PlistNumber::integerValue<std::uint32_t>(number);
        if (!id) continue;
        std::optional<std::uint32_t> desktop;
        if (const auto known = desktopOf_.find(*id); known != desktopOf_.end())
            desktop = known->second;
        else if (const auto fresh = asked.find(*id); fresh != asked.end())
            desktop = fresh->second;
        if (!desktop) continue;
        if (const auto space = spaceOf(*desktop, currentDesktop_)) spaces.append(QVariant::fromValue(*space));
    }
    return spaces;
}
