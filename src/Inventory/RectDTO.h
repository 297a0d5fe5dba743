#pragma once

#include <QRectF>

/// A rectangle in global screen coordinates (points, origin at the top-left of the main
/// display, y downwards), kept as four plain numbers so it can be compared and encoded.
struct RectDTO {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    /// Origin as stored; width and height as magnitudes, so a rectangle given with a
    /// negative extent still reports a size that is never negative.
    static RectDTO dto(const QRectF& rect);
    /// The rectangle built back from the four fields.
    QRectF rect() const { return QRectF(x, y, width, height); }

    bool operator==(const RectDTO&) const = default;
};
