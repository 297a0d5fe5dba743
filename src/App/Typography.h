#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QFontMetricsF;
class QPainter;

/// The text styles of the interface, in the system font at fixed pixel sizes, so the layout
/// (measured in points of the window) holds on every screen.
namespace Typography {

/// The system font at `pixelSize` and `weight`.
QFont system(double pixelSize, QFont::Weight weight = QFont::Normal);
/// Section titles: 13, semibold.
QFont headline();
/// Secondary body text: 12.
QFont callout();
/// Small labels under icons: 10.
QFont caption();
/// Larger titles: 17.
QFont title2();

/// The width of `text` with every digit given the same width, so counts line up and do not
/// jitter as they change, whatever the font's own figures.
double monospacedDigitsWidth(const QFontMetricsF& metrics, const QString& text);
/// Draws `text` that way, aligned in `box` (left, right or centred horizontally; centred
/// vertically), with the painter's font and pen.
void drawMonospacedDigits(QPainter& painter, const QRectF& box, Qt::Alignment alignment, const QString& text);

} // namespace Typography
