#pragma once

#include <QHash>
#include <QString>

#include <optional>

struct AppGroup;
struct WindowInventory;

/// The application a jump aims at: its name and, when it has one, its bundle identifier.
struct AppTarget {
    QString appName;
    std::optional<QString> bundleID;

    /// "bundle:<identifier>" when the bundle identifier is known, otherwise "name:<name>".
    QString id() const;
    /// By bundle identifier when the target has one, otherwise by name among groups that
    /// have no bundle identifier. Exact, case-sensitive comparison.
    bool matches(const AppGroup& group) const;
    /// The first group of the inventory that the target matches.
    std::optional<AppGroup> findGroup(const WindowInventory& inventory) const;

    bool operator==(const AppTarget&) const = default;
};

inline size_t qHash(const AppTarget& target, size_t seed = 0) {
    return qHashMulti(seed, target.appName, target.bundleID.has_value(), target.bundleID.value_or(QString()));
}
