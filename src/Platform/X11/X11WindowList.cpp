#include "X11WindowList.h"

#include "Platform/X11/X11Clients.h"
#include "Platform/X11/X11Connection.h"

#include <QVariantMap>

namespace {

QVariantMap boundsOf(const QRect& r) {
    return {{WindowListKey::boundsX, double(r.x())},
            {WindowListKey::boundsY, double(r.y())},
            {WindowListKey::boundsWidth, double(r.width())},
            {WindowListKey::boundsHeight, double(r.height())}};
}

/// Shown now: mapped, not minimised, and on the current desktop or on all of them.
bool isOnscreen(const X11ClientWindow& w, std::optional<std::uint32_t> current) {
    if (!w.viewable || w.hidden) return false;
    if (w.sticky || !w.desktop || *w.desktop == X11ClientWindow::allDesktops) return true;
    return !current || *w.desktop == *current;
}

QVariantMap entryOf(const X11ClientWindow& w, std::optional<std::uint32_t> current) {
    QVariantMap entry{{WindowListKey::number, QVariant::fromValue(std::uint32_t(w.id))},
                      {WindowListKey::layer, w.layer},
                      {WindowListKey::alpha, w.alpha},
                      {WindowListKey::isOnscreen, isOnscreen(w, current)}};
    if (w.pid) entry.insert(WindowListKey::ownerPID, QVariant::fromValue(*w.pid));
    if (w.ownerName) entry.insert(WindowListKey::ownerName, *w.ownerName);
    if (w.title) entry.insert(WindowListKey::name, *w.title);
    if (w.frame) entry.insert(WindowListKey::bounds, boundsOf(*w.frame));
    return entry;
}

} // namespace

std::optional<QVariantList> X11WindowList::copyWindowInfo(std::uint32_t options, std::uint32_t) {
    if (connection_.hasError()) return std::nullopt;
    const X11Clients::Root root = X11Clients::root(connection_);
    if (!root.frontToBack) return std::nullopt;
    const auto current = root.currentDesktop;
    QVariantList list;
    list.reserve(qsizetype(root.frontToBack->size()));
    for (const X11ClientWindow& w : X11Clients::read(connection_, *root.frontToBack, X11Clients::all)) {
        if ((options & WindowListOption::excludeDesktopElements) && w.isDesktopElement) continue;
        const QVariantMap entry = entryOf(w, current);
        if ((options & WindowListOption::onScreenOnly) && !entry.value(WindowListKey::isOnscreen).toBool())
            continue;
        list.append(entry);
    }
    return list;
}
