#include "TargetWindowSelector.h"

#include "Platform/WindowOperationsPort.h"

#include <algorithm>

namespace TargetWindowSelector {

std::optional<WindowRecord> select(const std::optional<QRectF>& focusedFrame,
                                   const std::vector<WindowRecord>& windows) {
    if (windows.empty()) return std::nullopt;
    if (focusedFrame) {
        const auto focused = std::find_if(windows.begin(), windows.end(), [&](const WindowRecord& window) {
            return framesMatch(window.frame.rect(), *focusedFrame);
        });
        if (focused != windows.end()) return *focused;
    }
    const auto onscreen = std::find_if(windows.begin(), windows.end(),
                                       [](const WindowRecord& window) { return window.isOnscreen; });
    if (onscreen != windows.end()) return *onscreen;
    return windows.front();
}

} // namespace TargetWindowSelector
