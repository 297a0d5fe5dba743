#include "SpaceCatalog.h"

#include "Inventory/PlistNumber.h"

#include <QVariantList>

namespace {

const QString displayIdentifierKey = QStringLiteral("Display Identifier");
const QString currentSpaceKey = QStringLiteral("Current Space");
const QString spacesKey = QStringLiteral("Spaces");
const QString idKey = QStringLiteral("id64");
const QString typeKey = QStringLiteral("type");

constexpr std::int64_t desktopType = 0;
constexpr std::int64_t fullscreenType = 4;

std::optional<QString> identifierOf(const QVariantMap& display) {
    const QVariant value = display.value(displayIdentifierKey);
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

/// The display's Spaces, only when the value is a list of dictionaries throughout; a list with
/// anything else in it is not trusted at all, and the display then has no Spaces.
QList<QVariantMap> spacesOf(const QVariantMap& display) {
    const QVariant value = display.value(spacesKey);
    if (value.typeId() != QMetaType::QVariantList) return {};
    const QVariantList list = value.toList();
    QList<QVariantMap> spaces;
    spaces.reserve(list.size());
    for (const QVariant& element : list) {
        if (element.typeId() != QMetaType::QVariantMap) return {};
        spaces.append(element.toMap());
    }
    return spaces;
}

/// The integer value of "type" when it is a number, else an ordinary desktop. A number too
/// large for 64 bits is certainly neither 0 nor 4.
std::int64_t typeOf(const QVariantMap& space) {
    const QVariant value = space.value(typeKey);
    if (!PlistNumber::isNumber(value)) return desktopType;
    return PlistNumber::integerValue<std::int64_t>(value).value_or(-1);
}

} // namespace

SpaceCatalog SpaceCatalog::parse(const QList<QVariantMap>& managedDisplays) {
    SpaceCatalog catalog;
    // Desktops are numbered over the whole list, not per display.
    int desktopNumber = 0;
    for (const QVariantMap& display : managedDisplays) {
        const std::optional<QString> identifier = identifierOf(display);

        if (identifier) {
            const QVariant current = display.value(currentSpaceKey);
            if (current.typeId() == QMetaType::QVariantMap) {
                if (const auto id = PlistNumber::integerValue<std::uint64_t>(current.toMap().value(idKey)))
                    catalog.currentSpaceByDisplay[*identifier] = *id;
            }
        }

        for (const QVariantMap& space : spacesOf(display)) {
            // A Space without a numeric id is skipped entirely, and not counted.
            const auto id = PlistNumber::integerValue<std::uint64_t>(space.value(idKey));
            if (!id) continue;
            const std::int64_t type = typeOf(space);
            if (identifier) catalog.displayBySpace[*id] = *identifier;
            // A later entry for the same id replaces the earlier label.
            if (type == fullscreenType) {
                catalog.labelsBySpace[*id] = QStringLiteral("Fullscreen");
            } else if (type != desktopType) {
                catalog.labelsBySpace[*id] = QStringLiteral("Space #%1").arg(*id);
            } else {
                ++desktopNumber;
                catalog.labelsBySpace[*id] = QStringLiteral("Desktop %1").arg(desktopNumber);
                if (identifier) catalog.desktopsByDisplay[*identifier].push_back(*id);
            }
        }
    }
    return catalog;
}

std::optional<QString> SpaceCatalog::label(std::uint64_t spaceID) const {
    const auto found = labelsBySpace.find(spaceID);
    if (found == labelsBySpace.end()) return std::nullopt;
    return found->second;
}

std::optional<QString> SpaceCatalog::displayIdentifier(std::uint64_t spaceID) const {
    const auto found = displayBySpace.find(spaceID);
    if (found == displayBySpace.end()) return std::nullopt;
    return found->second;
}

std::optional<std::uint64_t> SpaceCatalog::currentSpaceID(const QString& display) const {
    const auto found = currentSpaceByDisplay.find(display);
    if (found == currentSpaceByDisplay.end()) return std::nullopt;
    return found->second;
}

std::vector<std::uint64_t> SpaceCatalog::desktopIDs(const QString& display) const {
    const auto found = desktopsByDisplay.find(display);
    if (found == desktopsByDisplay.end()) return {};
    return found->second;
}
