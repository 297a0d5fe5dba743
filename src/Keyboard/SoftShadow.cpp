#include "Keyboard/SoftShadow.h"

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace SoftShadow {
namespace {

// Larger shapes (the keyboard's background) are drawn each time: one of them costs little,
// and its image would cost a lot of memory.
constexpr double largestCachedSide = 256;

void draw(QPainter& painter, const QPainterPath& shape, QPointF offset, double blurRadius, double opacity) {
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

// The shape's outline at its own origin, with the shadow's look: equal keys, equal shadows.
QByteArray cacheKey(const QPainterPath& local, QPointF offset, double blurRadius, double opacity, qreal ratio) {
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    const auto rounded = [](double value) { return qint32(std::lround(value * 64)); };
    out << rounded(offset.x()) << rounded(offset.y()) << rounded(blurRadius) << rounded(opacity * 1000)
        << rounded(ratio);
    for (int i = 0; i < local.elementCount(); ++i) {
        const QPainterPath::Element e = local.elementAt(i);
        out << qint8(e.type) << rounded(e.x) << rounded(e.y);
    }
    return key;
}

} // namespace

void paint(QPainter& painter, const QPainterPath& shape, QPointF offset, double blurRadius, double opacity) {
    const QRectF bounds = shape.boundingRect();
    const bool cacheable = painter.transform().isAffine() && painter.transform().type() <= QTransform::TxTranslate &&
                           bounds.width() <= largestCachedSide && bounds.height() <= largestCachedSide;
    if (!cacheable) return draw(painter, shape, offset, blurRadius, opacity);

    // Drawing the outlines is what the first painting of a keyboard spends its time on; every
    // key of one size has the same shadow, drawn once and copied. Painting is on the main thread.
    static QHash<QByteArray, QImage> cache;
    const QPainterPath local = shape.translated(-bounds.topLeft());
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double margin = blurRadius + 1;
    const QRectF area = local.translated(offset).boundingRect().adjusted(-margin, -margin, margin, margin);
    const QByteArray key = cacheKey(local, offset, blurRadius, opacity, ratio);
    auto found = cache.constFind(key);
    if (found == cache.constEnd()) {
        QImage image((area.size() * ratio).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter onImage(&image);
        onImage.translate(-area.topLeft());
        draw(onImage, local, offset, blurRadius, opacity);
        onImage.end();
        found = cache.insert(key, image);
    }
    painter.drawImage(bounds.topLeft() + area.topLeft(), *found);
}

} // namespace SoftShadow
