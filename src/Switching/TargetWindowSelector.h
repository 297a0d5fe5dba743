#pragma once

#include "Inventory/WindowRecord.h"

#include <QRectF>

#include <optional>
#include <vector>

/// Chooses the window a jump shows among one application's windows (front to back): the one
/// the application reports as focused, else the frontmost on-screen one, else the frontmost.
namespace TargetWindowSelector {

/// Whether two frames are the same window's: origin and size each within 1.0 point,
/// inclusive. Sizes are compared as magnitudes, the way the window server reports them.
bool frameMatches(const QRectF& a, const QRectF& b);

/// The window to show; ties go to the earlier (frontmost) window. Nothing for no windows.
std::optional<WindowRecord> select(const std::optional<QRectF>& axFrame,
                                   const std::vector<WindowRecord>& windows);

} // namespace TargetWindowSelector
