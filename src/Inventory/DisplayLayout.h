#pragma once

#include "Inventory/DisplayInfo.h"
#include "Platform/WindowServerPort.h"

#include <QRectF>

#include <optional>
#include <vector>

/// The active displays, main display first, and which of them a window belongs to.
struct DisplayLayout {
    /// The main display first, the others in the window server's order.
    std::vector<DisplayInfo> displays;

    static DisplayLayout from(const std::vector<DisplayDescription>& described);

    /// The display the rectangle (global coordinates) overlaps most; on equal areas the
    /// earlier display wins. Nothing when it overlaps no display with a positive area.
    std::optional<DisplayInfo> display(const QRectF& windowFrame) const;
};
