#include "Keyboard/KeyCapView.h"

#include "App/SemanticColors.h"
#include "App/Typography.h"
#include "Keyboard/KeyIconView.h"
#include "Keyboard/SoftShadow.h"

#include <QPainter>

namespace {
constexpr double cornerRadius = 8;
// Room kept under a bound key's icon, and the small legend's inset from the corner.
constexpr double iconBottomSpace = 6;
constexpr double legendInset = 6;
constexpr double markSide = 12;
constexpr double markInset = 5;
} // namespace

QRectF KeyCapView::takenMark(const QRectF& cap) {
    return {cap.left() + markInset, cap.top() + markInset, markSide, markSide};
}

QPainterPath KeyCapView::outline(const QRectF& cap) {
    QPainterPath path;
    path.addRoundedRect(cap, cornerRadius, cornerRadius);
    return path;
}

void KeyCapView::paint(QPainter& painter, const QRectF& cap, const KeyboardKey& key,
                       const std::optional<AppEntry>& entry, bool isHovered, const QPalette& palette,
                       bool isTaken) {
    const QPainterPath shape = outline(cap);
    SoftShadow::paint(painter, shape, QPointF(0, 1), 2, 0.18);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(shape, SemanticColors::controlBackground(palette));
    if (isHovered) painter.fillPath(shape, SemanticColors::quaternaryLabel(palette));

    if (!entry) {
        painter.setFont(Typography::system(20));
        painter.setPen(SemanticColors::primaryLabel(palette));
        painter.drawText(cap, Qt::AlignCenter, key.legend);
    } else {
        const QRectF iconArea(cap.left(), cap.top(), cap.width(), cap.height() - iconBottomSpace);
        QRectF icon(0, 0, KeyIconView::side, KeyIconView::side);
        icon.moveCenter(iconArea.center());
        KeyIconView::paint(painter, icon, *entry, palette);
        painter.setFont(Typography::system(11, QFont::Medium));
        painter.setPen(SemanticColors::secondaryLabel(palette));
        painter.drawText(cap.adjusted(legendInset, legendInset, -legendInset, -legendInset),
                         Qt::AlignRight | Qt::AlignBottom, key.legend);
    }

    if (isTaken) {
        // A small badge, clear of the legend and the icon: the key works nowhere but its cap.
        const QRectF mark = takenMark(cap);
        painter.setPen(Qt::NoPen);
        painter.setBrush(SemanticColors::destructive(palette));
        painter.drawEllipse(mark);
        QFont bang = Typography::system(9, QFont::Bold);
        painter.setFont(bang);
        painter.setPen(Qt::white);
        painter.drawText(mark, Qt::AlignCenter, QStringLiteral("!"));
    }

    // The border lies inside the outline, so a thicker hover border never grows the cap.
    const double lineWidth = isHovered ? 1.0 : 0.5;
    painter.setPen(QPen(SemanticColors::separator(palette), lineWidth));
    painter.setBrush(Qt::NoBrush);
    const double inset = lineWidth / 2;
    painter.drawRoundedRect(cap.adjusted(inset, inset, -inset, -inset), cornerRadius - inset,
                            cornerRadius - inset);
    painter.restore();
}
