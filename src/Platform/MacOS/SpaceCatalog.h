#pragma once

#include "Platform/WindowServerPort.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <optional>
#include <vector>

/// The managed-display Space list read into typed values, and the look-ups the Space switch
/// makes on it. Display identifiers are opaque keys, compared with the displays' UUID strings.
namespace SpaceCatalog {

/// One entry per display dictionary, in the list's order. Malformed parts are skipped at the
/// smallest level possible: one value, one Space, or one display's Spaces.
std::vector<DisplaySpaces> parse(const QList<QVariantMap>& managedDisplays);

/// The display's current Space; nothing when no display of the list carries it.
std::optional<std::uint64_t> currentSpace(const std::vector<DisplaySpaces>& displays, const QString& display);

/// The display's ordinary desktops in the listed order; empty when the display is not listed.
std::vector<std::uint64_t> desktops(const std::vector<DisplaySpaces>& displays, const QString& display);

} // namespace SpaceCatalog
