#include "SpaceCatalog.h"

#include "Platform/MacOS/PlistNumber.h"

#include <QVariantList>

namespace {

const QString displayIdentifierKey = QStringLiteral("Display Identifier");
const QString currentSpaceKey = QStringLiteral("Current Space");
const QString spacesKey = QStringLiteral("Spaces");
const QString idKey = QStringLiteral("id64");
const QString typeKey = QStringLiteral("type");

constexpr std::int64_t desktopType = 0;
constexpr std::int64_t fullScreenType = 4;

std::optional<QString> identifierOf(const QVariantMap& display) {
    const QVariant value = display.value(displayIdentifierKey);
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

std::optional<std::uint64_t> currentSpaceOf(const QVariantMap& display) {
    const QVariant current = display.value(currentSpaceKey);
    if (current.typeId() != QMetaType::QVariantMap) return std::nullopt;
    return PlistNumber::integerValue<std::uint64_t>(current.toMap().value(idKey));
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

/// A missing type, or one that is not a number, is an ordinary desktop. A number too large
/// for 64 bits is certainly neither 0 nor 4.
SpaceKind kindOf(const QVariantMap& space) {
    const QVariant value = space.value(typeKey);
    if (!PlistNumber::isNumber(value)) return SpaceKind::desktop;
    const std::int64_t type = PlistNumber::integerValue<std::int64_t>(value).value_or(-1);
    if (type == desktopType) return SpaceKind::desktop;
    if (type == fullScreenType) return SpaceKind::fullScreen;
    return SpaceKind::other;
}

} // namespace

std::vector<DisplaySpaces> SpaceCatalog::parse(const QList<QVariantMap>& managedDisplays) {
    std::vector<DisplaySpaces> displays;
    displays.reserve(static_cast<std::size_t>(managedDisplays.size()));
    for (const QVariantMap& dictionary : managedDisplays) {
        DisplaySpaces display;
        display.displayIdentifier = identifierOf(dictionary);
        // A current Space is only of use keyed by its display.
        if (display.displayIdentifier) display.currentSpace = currentSpaceOf(dictionary);
        for (const QVariantMap& space : spacesOf(dictionary)) {
            // A Space without a numeric id is skipped entirely, and not counted.
            if (const auto id = PlistNumber::integerValue<std::uint64_t>(space.value(idKey)))
                display.spaces.push_back(SpaceInfo{*id, kindOf(space)});
        }
        displays.push_back(std::move(display));
    }
    return displays;
}

std::optional<std::uint64_t> SpaceCatalog::currentSpace(const std::vector<DisplaySpaces>& displays,
                                                        const QString& display) {
    // Should a display be listed twice, its later entry tells.
    std::optional<std::uint64_t> current;
    for (const DisplaySpaces& entry : displays)
        if (entry.displayIdentifier == display && entry.currentSpace) current = entry.currentSpace;
    return current;
}

std::vector<std::uint64_t> SpaceCatalog::desktops(const std::vector<DisplaySpaces>& displays,
                                                  const QString& display) {
    std::vector<std::uint64_t> ids;
    for (const DisplaySpaces& entry : displays) {
        if (entry.displayIdentifier != display) continue;
        for (const SpaceInfo& space : entry.spaces)
            if (space.kind == SpaceKind::desktop) ids.push_back(space.id);
    }
    return ids;
}
