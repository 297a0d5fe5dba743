#pragma once

#include <QColor>
#include <QIcon>
#include <QRectF>
#include <QString>

class QPainter;

/// Our own line drawings of the few system-style symbols the interface uses, so they look
/// alike on every platform and follow the text colour they are drawn in. Known names:
/// "keyboard", "chart.bar", "info.circle", "arrow.clockwise", "arrow.right.circle",
/// "lock.shield".
namespace SymbolIcon {

/// Draws the symbol centred in the largest square inside `box`. Unknown names draw nothing.
void paint(QPainter& painter, const QString& name, const QRectF& box, const QColor& color);
/// The symbol as an icon of `side` points, sharp at `devicePixelRatio`.
QIcon icon(const QString& name, const QColor& color, int side, double devicePixelRatio);

} // namespace SymbolIcon
