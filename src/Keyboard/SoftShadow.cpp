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

// Larger shapes are drawn each time: their images would cost a lot of memory. A large rounded
// rectangle (the keyboard's background) is put together from a small one's shadow.
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

bool copiesAnImage(const QPainter& painter) {
    return painter.transform().isAffine() && painter.transform().type() <= QTransform::TxTranslate;
}

qreal ratioOf(const QPainter& painter) {
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

// The shadow of `local` (a shape at its own origin), drawn once and kept; `area` is the part
// of the plane it covers, in the shape's coordinates. Painting is on the main thread.
const QImage& cachedShadow(const QPainterPath& local, QPointF offset, double blurRadius, double opacity, qreal ratio,
                           QRectF& area) {
    static QHash<QByteArray, QImage> cache;
    const double margin = blurRadius + 1;
    area = local.translated(offset).boundingRect().adjusted(-margin, -margin, margin, margin);
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
    return *found;
}

// Where `length` device pixels of the source go along one axis: the part before the middle
// pixel, the middle pixel stretched by `stretch` logical units, and the part after it.
struct Cuts {
    double target[4];
    double source[4];
};

Cuts cuts(double start, int length, double stretch, qreal ratio) {
    const int middle = length / 2;
    const double first = std::round(start * ratio) / ratio;
    const double grown = std::round(stretch * ratio) / ratio;
    return {{first, first + middle / ratio, first + (middle + 1) / ratio + grown, first + length / ratio + grown},
            {0.0, double(middle), double(middle + 1), double(length)}};
}

} // namespace

void paint(QPainter& painter, const QPainterPath& shape, QPointF offset, double blurRadius, double opacity) {
    const QRectF bounds = shape.boundingRect();
    if (!copiesAnImage(painter) || bounds.width() > largestCachedSide || bounds.height() > largestCachedSide)
        return draw(painter, shape, offset, blurRadius, opacity);
    // Drawing the outlines is what the first painting of a keyboard spends its time on; every
    // key of one size has the same shadow, drawn once and copied.
    QRectF area;
    const QImage& image =
        cachedShadow(shape.translated(-bounds.topLeft()), offset, blurRadius, opacity, ratioOf(painter), area);
    painter.drawImage(bounds.topLeft() + area.topLeft(), image);
}

void paintRoundedRect(QPainter& painter, const QRectF& rect, double radius, QPointF offset, double blurRadius,
                      double opacity) {
    // A small rectangle with the same corners and a short straight piece on every side.
    const double side = 2 * std::ceil(radius) + 8;
    if (!copiesAnImage(painter) || rect.width() < side || rect.height() < side) {
        QPainterPath shape;
        shape.addRoundedRect(rect, radius, radius);
        return draw(painter, shape, offset, blurRadius, opacity);
    }
    // Along a straight side the shadow is the same at every point: the large one is the small
    // one's, cut through its middle row and column, with that row and column stretched.
    QPainterPath small;
    small.addRoundedRect(QRectF(0, 0, side, side), radius, radius);
    const qreal ratio = ratioOf(painter);
    QRectF area;
    const QImage& image = cachedShadow(small, offset, blurRadius, opacity, ratio, area);
    const Cuts x = cuts(rect.left() + area.left(), image.width(), rect.width() - side, ratio);
    const Cuts y = cuts(rect.top() + area.top(), image.height(), rect.height() - side, ratio);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const QRectF target(QPointF(x.target[column], y.target[row]),
                                QPointF(x.target[column + 1], y.target[row + 1]));
            if (row == 1 && column == 1) {
                // One pixel stretched over the middle: filled with its colour, far quicker.
                painter.fillRect(target, image.pixelColor(int(x.source[1]), int(y.source[1])));
                continue;
            }
            painter.drawImage(target, image,
                              QRectF(QPointF(x.source[column], y.source[row]),
                                     QPointF(x.source[column + 1], y.source[row + 1])));
        }
}

} // namespace SoftShadow
