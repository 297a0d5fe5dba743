#pragma once

#include "Inventory/WindowRecord.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

/// The windows of one application, as grouped by `group`.
struct AppGroup {
    /// Name and bundle identifier of the group's first window.
    QString appName;
    std::optional<QString> bundleID;
    /// The distinct process ids of the windows, ascending.
    std::vector<std::int32_t> pids;
    std::int64_t windowCount = 0;
    /// Distinct display names and Space labels, in order of first appearance.
    std::vector<QString> displayNames;
    std::vector<QString> spaceLabels;
    /// In the order of the input list.
    std::vector<WindowRecord> windows;

    /// Groups windows by bundle identifier, or by name for windows that have none. Groups come
    /// in the order their first window appears, so the front-most window's application leads.
    static std::vector<AppGroup> group(const std::vector<WindowRecord>& windows);

    bool operator==(const AppGroup&) const = default;

private:
    /// A bundle key never equals a name key, even with the same text: an application that
    /// has no identifier must not be mistaken for one whose identifier reads like its name.
    struct GroupKey {
        enum class Kind { bundle, name };
        Kind kind = Kind::name;
        QString text;

        static GroupKey of(const WindowRecord& window);
        bool operator==(const GroupKey&) const = default;
        friend size_t qHash(const GroupKey& key, size_t seed = 0) {
            return qHashMulti(seed, static_cast<int>(key.kind), key.text);
        }
    };
};
