#pragma once

#include "Inventory/DisplayInfo.h"

#include <QRectF>

#include <optional>
#include <vector>

/// The active displays, main display first, and which of them a window belongs to.
struct DisplayCatalog {
    /// The main display first, the others in the window server's order.
    std::vector<DisplayInfo> displays;

    /// Reads the active displays; an empty catalog when the display list cannot be read.
    static DisplayCatalog load();

    /// The display the rectangle (global coordinates) overlaps most; on equal areas the
    /// earlier display wins. Nothing when it overlaps no display with a positive area.
    std::optional<DisplayInfo> display(const QRectF& windowFrame) const;
};
