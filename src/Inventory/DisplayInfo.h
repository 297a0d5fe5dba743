#pragma once

#include "Inventory/RectDTO.h"

#include <QString>

#include <cstdint>

/// One active display.
struct DisplayInfo {
    /// The window server's display number.
    std::uint32_t id = 0;
    /// The screen's localised name, or "Display <id>" when no screen object is known.
    QString name;
    /// The display's bounds in global coordinates.
    RectDTO frame;
    bool isMain = false;

    bool operator==(const DisplayInfo&) const = default;
};
