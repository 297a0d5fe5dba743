#include "App/SymbolIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <functional>

namespace SymbolIcon {
namespace {

// Every symbol is drawn on a 24 by 24 grid with one stroke width, then scaled.
constexpr double grid = 24.0;
constexpr double stroke = 1.7;

void keyboard(QPainter& p) {
    p.drawRoundedRect(QRectF(2, 5.5, 20, 13), 2.5, 2.5);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(p.pen().color());
    const auto key = [&](double cx, double cy, double width) {
        p.drawRoundedRect(QRectF(cx - width / 2, cy - 0.9, width, 1.8), 0.5, 0.5);
    };
    for (double cx : {5.5, 9.0, 12.5, 16.0, 19.0})
        key(cx, 9.0, 1.8);
    for (double cx : {7.25, 10.75, 14.25, 17.75})
        key(cx, 12.0, 1.8);
    key(12, 15.0, 9);
    p.restore();
}

void chartBar(QPainter& p) {
    p.drawRoundedRect(QRectF(3.0, 13.0, 4.5, 7.5), 1, 1);
    p.drawRoundedRect(QRectF(9.75, 8.5, 4.5, 12.0), 1, 1);
    p.drawRoundedRect(QRectF(16.5, 3.5, 4.5, 17.0), 1, 1);
}

void infoCircle(QPainter& p) {
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.drawLine(QPointF(12, 11), QPointF(12, 16.8));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(p.pen().color());
    p.drawEllipse(QPointF(12, 7.6), 1.25, 1.25);
    p.restore();
}

void arrowClockwise(QPainter& p) {
    const QRectF circle(4.5, 5.0, 15, 15);
    QPainterPath arc;
    arc.arcMoveTo(circle, 35);
    arc.arcTo(circle, 35, -305);
    p.drawPath(arc);
    QPainterPath head;
    head.moveTo(15.2, 5.0);
    head.lineTo(11.2, 1.6);
    head.lineTo(11.2, 8.4);
    head.closeSubpath();
    p.save();
    p.setBrush(p.pen().color());
    p.drawPath(head);
    p.restore();
}

void arrowRightCircle(QPainter& p) {
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.drawLine(QPointF(7.2, 12), QPointF(16.4, 12));
    p.drawPolyline(QList<QPointF>{{12.6, 8.0}, {16.6, 12}, {12.6, 16.0}});
}

void lockShield(QPainter& p) {
    QPainterPath shield;
    shield.moveTo(12, 2.3);
    shield.cubicTo(14.5, 3.9, 17, 4.8, 19.8, 5.2);
    shield.lineTo(19.8, 11.2);
    shield.cubicTo(19.8, 16.2, 16.4, 19.6, 12, 21.7);
    shield.cubicTo(7.6, 19.6, 4.2, 16.2, 4.2, 11.2);
    shield.lineTo(4.2, 5.2);
    shield.cubicTo(7, 4.8, 9.5, 3.9, 12, 2.3);
    shield.closeSubpath();
    p.drawPath(shield);
    p.save();
    QPen thin = p.pen();
    thin.setWidthF(1.4);
    p.setPen(thin);
    p.drawArc(QRectF(10.0, 7.8, 4.0, 5.0), 0, 180 * 16);
    p.drawLine(QPointF(10.0, 10.3), QPointF(10.0, 11.4));
    p.drawLine(QPointF(14.0, 10.3), QPointF(14.0, 11.4));
    p.setPen(Qt::NoPen);
    p.setBrush(thin.color());
    p.drawRoundedRect(QRectF(8.6, 11.2, 6.8, 5.2), 1.0, 1.0);
    p.restore();
}

std::function<void(QPainter&)> drawing(const QString& name) {
    if (name == QLatin1String("keyboard")) return keyboard;
    if (name == QLatin1String("chart.bar")) return chartBar;
    if (name == QLatin1String("info.circle")) return infoCircle;
    if (name == QLatin1String("arrow.clockwise")) return arrowClockwise;
    if (name == QLatin1String("arrow.right.circle")) return arrowRightCircle;
    if (name == QLatin1String("lock.shield")) return lockShield;
    return {};
}

} // namespace

void paint(QPainter& painter, const QString& name, const QRectF& box, const QColor& color) {
    const auto draw = drawing(name);
    if (!draw) return;
    const double side = std::min(box.width(), box.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(side / grid, side / grid);
    QPen pen(color, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    draw(painter);
    painter.restore();
}

QIcon icon(const QString& name, const QColor& color, int side, double devicePixelRatio) {
    const double ratio = std::max(1.0, devicePixelRatio);
    QPixmap pixmap(qRound(side * ratio), qRound(side * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(painter, name, QRectF(0, 0, side, side), color);
    painter.end();
    return QIcon(pixmap);
}

} // namespace SymbolIcon
