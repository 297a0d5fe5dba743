#include "Stats/DigitsView.h"

#include "App/SemanticColors.h"
#include "App/Typography.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

DigitsView::DigitsView(const QFont& font, QWidget* parent) : QWidget(parent) {
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void DigitsView::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    updateGeometry();
    update();
}

QSize DigitsView::sizeHint() const {
    const QFontMetricsF metrics(font());
    return {qCeil(Typography::monospacedDigitsWidth(metrics, text_)), qCeil(metrics.height())};
}

void DigitsView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(SemanticColors::primaryLabel(palette()));
    Typography::drawMonospacedDigits(painter, rect(), Qt::AlignLeft, text_);
}
