#include "DisplayCatalog.h"

#include "Platform/MacOS/MacSystem.h"
#include "Platform/MacOS/PlistNumber.h"

#include <map>

std::vector<DisplayDescription> DisplayCatalog::load(MacSystem& system) {
    const std::optional<std::vector<std::uint32_t>> ids = system.activeDisplayList();
    if (!ids || ids->empty()) return {};

    // Screen numbers are unique; should two screens claim one, the first names the display.
    std::map<std::uint32_t, QString> screenNames;
    for (const MacScreen& screen : system.screens()) {
        const auto number = PlistNumber::integerValue<std::uint32_t>(
            screen.deviceDescription.value(QStringLiteral("NSScreenNumber")));
        if (number) screenNames.try_emplace(*number, screen.localizedName);
    }

    std::vector<DisplayDescription> displays;
    displays.reserve(ids->size());
    for (const std::uint32_t id : *ids) {
        const auto screen = screenNames.find(id);
        displays.push_back(DisplayDescription{
            id, system.displayUUIDString(id).value_or(QString()),
            screen != screenNames.end() ? screen->second : QStringLiteral("Display %1").arg(id),
            system.displayBounds(id), system.displayIsMain(id)});
    }
    return displays;
}
