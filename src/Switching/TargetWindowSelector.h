#pragma once

#include "Inventory/WindowRecord.h"

#include <QRectF>

#include <optional>
#include <vector>

/// Chooses the window a jump shows among one application's windows (front to back): the one
/// the application reports as focused, else the frontmost on-screen one, else the frontmost.
namespace TargetWindowSelector {

/// The window to show; ties go to the earlier (frontmost) window. Nothing for no windows.
std::optional<WindowRecord> select(const std::optional<QRectF>& focusedFrame,
                                   const std::vector<WindowRecord>& windows);

} // namespace TargetWindowSelector
