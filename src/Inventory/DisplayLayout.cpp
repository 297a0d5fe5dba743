#include "DisplayLayout.h"

#include <algorithm>

DisplayLayout DisplayLayout::from(const std::vector<DisplayDescription>& described) {
    DisplayLayout layout;
    layout.displays.reserve(described.size());
    for (const DisplayDescription& d : described)
        layout.displays.push_back(DisplayInfo{d.id, d.name, RectDTO::dto(d.bounds), d.isMain});
    // The main display first; the others keep the window server's order.
    std::stable_partition(layout.displays.begin(), layout.displays.end(),
                          [](const DisplayInfo& display) { return display.isMain; });
    return layout;
}

std::optional<DisplayInfo> DisplayLayout::display(const QRectF& windowFrame) const {
    // Both rectangles standardised, so a negative extent counts like a positive one; NaN
    // coordinates give no overlap.
    const QRectF window = windowFrame.normalized();
    const DisplayInfo* best = nullptr;
    double bestArea = 0;
    for (const DisplayInfo& display : displays) {
        const QRectF screen = display.frame.rect().normalized();
        const double width = std::min(screen.right(), window.right()) - std::max(screen.left(), window.left());
        const double height = std::min(screen.bottom(), window.bottom()) - std::max(screen.top(), window.top());
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
