#include "TargetWindowSelector.h"

#include <algorithm>
#include <cmath>

namespace TargetWindowSelector {

namespace {
constexpr double tolerance = 1.0;

bool within(double a, double b) {
    return std::abs(a - b) <= tolerance;
}
} // namespace

bool frameMatches(const QRectF& a, const QRectF& b) {
    return within(a.x(), b.x()) && within(a.y(), b.y()) && within(std::abs(a.width()), std::abs(b.width())) &&
           within(std::abs(a.height()), std::abs(b.height()));
}

std::optional<WindowRecord> select(const std::optional<QRectF>& axFrame,
                                   const std::vector<WindowRecord>& windows) {
    if (windows.empty()) return std::nullopt;
    if (axFrame) {
        const auto focused = std::find_if(windows.begin(), windows.end(), [&](const WindowRecord& window) {
            return frameMatches(window.frame.rect(), *axFrame);
        });
        if (focused != windows.end()) return *focused;
    }
    const auto onscreen = std::find_if(windows.begin(), windows.end(),
                                       [](const WindowRecord& window) { return window.isOnscreen; });
    if (onscreen != windows.end()) return *onscreen;
    return windows.front();
}

} // namespace TargetWindowSelector
