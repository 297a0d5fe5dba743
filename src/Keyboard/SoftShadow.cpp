#include "Keyboard/SoftShadow.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace SoftShadow {

void paint(QPainter& painter, const QPainterPath& shape, QPointF offset, double blurRadius, double opacity) {
    const QPainterPath moved = shape.translated(offset);
    const int steps = std::max(1, static_cast<int>(std::ceil(blurRadius * 1.5)));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // Overlapping outlines pile up alpha near the edge and thin out away from it.
    QColor ring(0, 0, 0);
    ring.setAlphaF(static_cast<float>(opacity / steps));
    for (int k = steps; k >= 1; --k) {
        painter.setPen(QPen(ring, 2.0 * blurRadius * k / steps, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(moved);
    }
    QColor core(0, 0, 0);
    core.setAlphaF(static_cast<float>(opacity * 0.5));
    painter.fillPath(moved, core);
    painter.restore();
}

} // namespace SoftShadow
