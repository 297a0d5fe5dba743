#include "X11Displays.h"

#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11Reply.h"
#include "Platform/X11/X11RootWatch.h"

#include <xcb/randr.h>

#include <QUuid>

#include <algorithm>

namespace {

// Display UUIDs are name-based within this namespace of ours.
const QUuid displayNamespace(QStringLiteral("{6f1c7a52-3b0e-4d8e-9a57-2c4e8b1d0f63}"));

QString uuidStringOf(const QString& name) {
    // Upper case without braces, the usual text form of a display UUID.
    return QUuid::createUuidV5(displayNamespace, name).toString(QUuid::WithoutBraces).toUpper();
}

} // namespace

bool X11Displays::hasMonitors() {
    // The version must be announced once per connection before monitors can be asked.
    std::call_once(versionOnce_, [this] {
        xcb_connection_t* c = connection_.xcb();
        const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_randr_id);
        if (!extension || !extension->present) return;
        X11Reply<xcb_randr_query_version_reply_t> version(
            xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
        hasMonitors_ = version && (version->major_version > 1 ||
                                   (version->major_version == 1 && version->minor_version >= 5));
    });
    return hasMonitors_;
}

std::vector<QString> X11Displays::namesOf(const std::vector<xcb_atom_t>& atoms) {
    xcb_connection_t* c = connection_.xcb();
    std::vector<QString> names(atoms.size());
    std::vector<std::pair<std::size_t, xcb_get_atom_name_cookie_t>> asked;
    {
        std::lock_guard lock(namesMutex_);
        for (std::size_t i = 0; i < atoms.size(); ++i) {
            if (const auto found = names_.constFind(atoms[i]); found != names_.constEnd())
                names[i] = *found;
            else
                asked.emplace_back(i, xcb_get_atom_name(c, atoms[i]));
        }
    }
    for (const auto& [i, cookie] : asked) {
        X11Reply<xcb_get_atom_name_reply_t> reply(xcb_get_atom_name_reply(c, cookie, nullptr));
        if (!reply) continue;
        names[i] = QString::fromUtf8(xcb_get_atom_name_name(reply.get()),
                                     xcb_get_atom_name_name_length(reply.get()));
        std::lock_guard lock(namesMutex_);
        names_.insert(atoms[i], names[i]);
    }
    return names;
}

std::vector<X11Displays::Monitor> X11Displays::readMonitors() {
    xcb_connection_t* c = connection_.xcb();
    X11Reply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, connection_.root(), 1), nullptr));
    if (!reply) return {};
    std::vector<Monitor> monitors;
    std::vector<xcb_atom_t> atoms;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem > 0;
         xcb_randr_monitor_info_next(&it)) {
        const xcb_randr_monitor_info_t* info = it.data;
        if (info->width == 0 || info->height == 0) continue;
        monitors.push_back(Monitor{
            info->name, {}, QRect(info->x, info->y, info->width, info->height), info->primary != 0, {}});
        atoms.push_back(info->name);
    }
    const std::vector<QString> names = namesOf(atoms);
    for (std::size_t i = 0; i < monitors.size(); ++i)
        monitors[i].name = names[i].isEmpty() ? QStringLiteral("Monitor %1").arg(monitors[i].id) : names[i];
    return monitors;
}

std::vector<X11Displays::Monitor> X11Displays::monitors() {
    if (connection_.hasError()) return {};
    const std::uint64_t generation = connection_.rootWatch().current().displays;
    std::lock_guard lock(knownMutex_);
    if (generation != knownGeneration_ || known_.empty()) {
        known_ = currentMonitors();
        knownGeneration_ = generation;
    }
    return known_;
}

std::vector<X11Displays::Monitor> X11Displays::currentMonitors() {
    std::vector<Monitor> monitors;
    if (hasMonitors()) monitors = readMonitors();
    if (monitors.empty()) {
        const xcb_screen_t* screen = connection_.screen();
        monitors.push_back(Monitor{connection_.root(),
                                   QStringLiteral("Screen %1").arg(connection_.screenNumber()),
                                   QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels),
                                   true,
                                   {}});
    }
    if (std::none_of(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.isMain; }))
        monitors.front().isMain = true;
    // Only one can be main, should the server flag several.
    bool seenMain = false;
    for (Monitor& m : monitors) {
        if (m.isMain && seenMain) m.isMain = false;
        seenMain = seenMain || m.isMain;
        m.uuid = uuidStringOf(m.name);
    }
    return monitors;
}

std::vector<DisplayDescription> X11Displays::displays() {
    std::vector<DisplayDescription> displays;
    for (const Monitor& m : monitors())
        displays.push_back({m.id, m.uuid, m.name, QRectF(m.bounds), m.isMain});
    return displays;
}

std::optional<QString> X11Displays::mainIdentifier() {
    for (const Monitor& m : monitors())
        if (m.isMain) return m.uuid;
    return std::nullopt;
}
