#pragma once

#include <QPointF>
#include <QRectF>

class QPainter;
class QPainterPath;

/// A soft drop shadow under a shape, drawn as a few widening translucent outlines: close
/// enough to a blur for small radii. A small shape's shadow is drawn once per outline and look
/// and copied after, so every key cap can have one on every repaint.
namespace SoftShadow {

/// Draws the shadow of `shape` moved by `offset`, spread over `blurRadius`, in black at
/// `opacity`. Draw the shape itself afterwards, over it.
void paint(QPainter& painter, const QPainterPath& shape, QPointF offset, double blurRadius, double opacity);
/// The same for a rounded rectangle of any size, at the cost of a small one's.
void paintRoundedRect(QPainter& painter, const QRectF& rect, double radius, QPointF offset, double blurRadius,
                      double opacity);

} // namespace SoftShadow
