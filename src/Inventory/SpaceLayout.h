#pragma once

#include "Platform/WindowServerPort.h"

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

/// The Spaces of every display as look-up tables: a label for every Space, the display that
/// owns each, and each display's current Space.
struct SpaceLayout {
    /// "Desktop <n>" (numbered over all displays), "Fullscreen", or "Space #<id>".
    std::map<std::uint64_t, QString> labelsBySpace;
    /// Only for displays that carry an identifier.
    std::map<std::uint64_t, QString> displayBySpace;
    std::map<QString, std::uint64_t> currentSpaceByDisplay;

    static SpaceLayout from(const std::vector<DisplaySpaces>& displays);

    std::optional<QString> label(std::uint64_t spaceID) const;
    std::optional<QString> displayIdentifier(std::uint64_t spaceID) const;
    std::optional<std::uint64_t> currentSpaceID(const QString& display) const;
};
