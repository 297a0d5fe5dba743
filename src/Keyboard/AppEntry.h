#pragma once

#include <QHash>
#include <QString>

/// One application as the user bound it: bundle identifier, bundle path, display name.
struct AppEntry {
    QString bundleId;
    QString path;
    QString name;

    /// The bundle identifier identifies the entry in lists.
    const QString& id() const { return bundleId; }

    bool operator==(const AppEntry&) const = default;
};

inline size_t qHash(const AppEntry& entry, size_t seed = 0) {
    return qHashMulti(seed, entry.bundleId, entry.path, entry.name);
}
