#include "AppTarget.h"

#include "Inventory/AppGroup.h"
#include "Inventory/WindowInventory.h"

QString AppTarget::id() const {
    if (bundleID) return QStringLiteral("bundle:") + *bundleID;
    return QStringLiteral("name:") + appName;
}

bool AppTarget::matches(const AppGroup& group) const {
    // With an identifier the name is irrelevant (apps get renamed); without one, only groups
    // that lack an identifier too can be the same application.
    if (bundleID) return group.bundleID == bundleID;
    return !group.bundleID && group.appName == appName;
}

std::optional<AppGroup> AppTarget::findGroup(const WindowInventory& inventory) const {
    for (const AppGroup& group : inventory.apps)
        if (matches(group)) return group;
    return std::nullopt;
}
