#pragma once

#include "Inventory/RectDTO.h"

#include <QString>

#include <cstdint>
#include <optional>

/// One ordinary window, with what is known of its application, display and Space.
/// Identified by its window number `id`.
struct WindowRecord {
    std::uint32_t id = 0;
    std::int32_t pid = 0;
    /// The running application's name, else the owner name of the window list.
    QString appName;
    /// Absent when the process is not a running application or has no identifier.
    std::optional<QString> bundleID;
    std::optional<QString> title;
    RectDTO frame;
    bool isOnscreen = false;
    /// The display the window overlaps most; absent, with its name, when it overlaps none.
    std::optional<std::uint32_t> displayID;
    std::optional<QString> displayName;
    /// The first Space the window server lists for the window.
    std::optional<std::uint64_t> spaceID;
    /// That Space's label, when the Space catalog could be read and knows it.
    std::optional<QString> spaceLabel;

    bool operator==(const WindowRecord&) const = default;
};
