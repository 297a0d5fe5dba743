#include "SpaceLayout.h"

namespace {

template <typename Map, typename Key>
auto lookUp(const Map& map, const Key& key) -> std::optional<typename Map::mapped_type> {
    const auto found = map.find(key);
    if (found == map.end()) return std::nullopt;
    return found->second;
}

} // namespace

SpaceLayout SpaceLayout::from(const std::vector<DisplaySpaces>& displays) {
    SpaceLayout layout;
    // Desktops are numbered over the whole list, as a user counts them left to right.
    int desktopNumber = 0;
    for (const DisplaySpaces& display : displays) {
        if (display.displayIdentifier && display.currentSpace)
            layout.currentSpaceByDisplay[*display.displayIdentifier] = *display.currentSpace;
        for (const SpaceInfo& space : display.spaces) {
            if (display.displayIdentifier) layout.displayBySpace[space.id] = *display.displayIdentifier;
            QString label;
            switch (space.kind) {
            case SpaceKind::desktop:
                label = QStringLiteral("Desktop %1").arg(++desktopNumber);
                break;
            case SpaceKind::fullScreen:
                label = QStringLiteral("Fullscreen");
                break;
            case SpaceKind::other:
                label = QStringLiteral("Space #%1").arg(space.id);
                break;
            }
            // A Space listed twice takes its later label.
            layout.labelsBySpace[space.id] = label;
        }
    }
    return layout;
}

std::optional<QString> SpaceLayout::label(std::uint64_t spaceID) const {
    return lookUp(labelsBySpace, spaceID);
}

std::optional<QString> SpaceLayout::displayIdentifier(std::uint64_t spaceID) const {
    return lookUp(displayBySpace, spaceID);
}

std::optional<std::uint64_t> SpaceLayout::currentSpaceID(const QString& display) const {
    return lookUp(currentSpaceByDisplay, display);
}
