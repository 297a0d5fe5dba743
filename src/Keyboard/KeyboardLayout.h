#pragma once

#include "Keyboard/KeyboardKey.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <optional>

/// The 47 bindable keys as a US (ANSI) keyboard lays them out, and the geometry of their caps.
/// Every key is the same square; rows are shifted by their own offsets.
namespace KeyboardLayout {

/// The drawing area in key units: the widest row ends at 14.5.
inline constexpr double widthInUnits = 15.0;
inline constexpr double heightInUnits = 4.0;
/// Space around the keyboard, inside its background.
inline constexpr double margin = 14.0;

/// The characters of each row, left to right.
const std::array<QStringList, 4>& rows();
/// The left offset of each row in key units.
const std::array<double, 4>& rowOffsets();
/// The 47 keys, row by row, left to right; the same order and identifiers as the key map.
const QList<KeyboardKey>& keys();
/// The key with this identifier, if it is one of the 47.
std::optional<KeyboardKey> key(const QString& id);

/// Where the caps go inside a view of a given size.
struct Geometry {
    /// The keyboard's area (15 by 4 units), centred in the view inside the margin.
    QRectF area;
    /// The area together with its margin: what the background covers.
    QRectF background;
    /// One key unit in points.
    double unit = 0;
    /// Space between neighbouring caps.
    double gap = 0;

    /// The cap of `key`, in view coordinates: a square of side unit − gap.
    QRectF capRect(const KeyboardKey& key) const;
};

/// Fits the keyboard (aspect 15:4) with its margin inside `offered`.
Geometry geometry(const QSizeF& offered, double gap);
/// The height at which a keyboard of `width` (margin included) needs no spare room.
double heightForWidth(double width);

} // namespace KeyboardLayout
