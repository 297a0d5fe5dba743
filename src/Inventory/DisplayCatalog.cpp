#include "DisplayCatalog.h"

#include "Inventory/PlistNumber.h"
#include "Platform/DisplayPort.h"
#include "Platform/Platform.h"

#include <algorithm>
#include <map>

DisplayCatalog DisplayCatalog::load() {
    DisplayPort& port = Platform::current().displays();
    const std::optional<std::vector<std::uint32_t>> ids = port.activeDisplayList();
    if (!ids || ids->empty()) return {};

    // Screen numbers are unique; should two screens claim one, the first names the display.
    std::map<std::uint32_t, QString> screenNames;
    for (const Screen& screen : port.screens()) {
        const auto number = PlistNumber::integerValue<std::uint32_t>(
            screen.deviceDescription.value(QStringLiteral("NSScreenNumber")));
        if (number) screenNames.try_emplace(*number, screen.localizedName);
    }

    DisplayCatalog catalog;
    catalog.displays.reserve(ids->size());
    for (const std::uint32_t id : *ids) {
        const auto screen = screenNames.find(id);
        catalog.displays.push_back(DisplayInfo{
            id, screen != screenNames.end() ? screen->second : QStringLiteral("Display %1").arg(id),
            RectDTO::dto(port.displayBounds(id)), port.displayIsMain(id)});
    }
    // The main display first; the others keep the window server's order.
    std::stable_partition(catalog.displays.begin(), catalog.displays.end(),
                          [](const DisplayInfo& display) { return display.isMain; });
    return catalog;
}

std::optional<DisplayInfo> DisplayCatalog::display(const QRectF& windowFrame) const {
    // Both rectangles standardised, so a negative extent counts like a positive one; NaN
    // coordinates give no overlap.
    const QRectF window = windowFrame.normalized();
    const DisplayInfo* best = nullptr;
    double bestArea = 0;
    for (const DisplayInfo& display : displays) {
        const QRectF screen = display.frame.rect().normalized();
        const double width =
            std::min(screen.right(), window.right()) - std::max(screen.left(), window.left());
        const double height =
            std::min(screen.bottom(), window.bottom()) - std::max(screen.top(), window.top());
        // Touching an edge, or a window of zero size, is no overlap.
        if (!(width > 0 && height > 0)) continue;
        const double area = width * height;
        // Only a strictly larger area replaces: on a tie the earlier (main) display wins.
        if (best == nullptr || area > bestArea) {
            best = &display;
            bestArea = area;
        }
    }
    if (best == nullptr) return std::nullopt;
    return *best;
}
