#include "App/Typography.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace Typography {

QFont system(double pixelSize, QFont::Weight weight) {
    QFont font = QApplication::font();
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(weight);
    return font;
}

QFont headline() {
    return system(13, QFont::DemiBold);
}
QFont callout() {
    return system(12);
}
QFont caption() {
    return system(10);
}
QFont title2() {
    return system(17);
}

namespace {

double digitWidth(const QFontMetricsF& metrics) {
    double widest = 0;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
    return widest;
}

} // namespace

double monospacedDigitsWidth(const QFontMetricsF& metrics, const QString& text) {
    const double cell = digitWidth(metrics);
    double width = 0;
    for (const QChar c : text)
        width += c.isDigit() ? cell : metrics.horizontalAdvance(c);
    return width;
}

void drawMonospacedDigits(QPainter& painter, const QRectF& box, Qt::Alignment alignment,
                          const QString& text) {
    const QFontMetricsF metrics(painter.font());
    const double cell = digitWidth(metrics);
    const double width = monospacedDigitsWidth(metrics, text);
    double x = box.left();
    if (alignment & Qt::AlignRight) x = box.right() - width;
    if (alignment & Qt::AlignHCenter) x = box.center().x() - width / 2;
    const double baseline = box.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    for (const QChar c : text) {
        const double advance = metrics.horizontalAdvance(c);
        const double step = c.isDigit() ? cell : advance;
        painter.drawText(QPointF(x + (step - advance) / 2, baseline), QString(c));
        x += step;
    }
}

} // namespace Typography
