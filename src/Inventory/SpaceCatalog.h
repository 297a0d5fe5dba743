#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

/// Lookup tables over the managed-display Space list: a label for every Space, the display
/// owning each Space, each display's current Space and its ordinary desktops in order.
/// Display identifiers are opaque keys, compared with identifiers obtained elsewhere.
struct SpaceCatalog {
    /// "Desktop <n>" (numbered over the whole list), "Fullscreen", or "Space #<id>".
    std::map<std::uint64_t, QString> labelsBySpace;
    /// Only for displays that carry an identifier.
    std::map<std::uint64_t, QString> displayBySpace;
    std::map<QString, std::uint64_t> currentSpaceByDisplay;
    /// Ordinary desktops only, in the listed order.
    std::map<QString, std::vector<std::uint64_t>> desktopsByDisplay;

    /// Parses the list that SkyLightAPI::managedDisplaySpaces() yields. Malformed parts are
    /// skipped at the smallest level possible; an empty list gives four empty maps.
    static SpaceCatalog parse(const QList<QVariantMap>& managedDisplays);

    std::optional<QString> label(std::uint64_t spaceID) const;
    std::optional<QString> displayIdentifier(std::uint64_t spaceID) const;
    std::optional<std::uint64_t> currentSpaceID(const QString& display) const;
    /// Empty when the display is not in the list.
    std::vector<std::uint64_t> desktopIDs(const QString& display) const;

    bool operator==(const SpaceCatalog&) const = default;
};
