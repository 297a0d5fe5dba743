#include "Stats/TopAppRowView.h"

#include "App/SemanticColors.h"
#include "App/Typography.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

namespace {
constexpr int nameCountSpacing = 8;
}

TopAppRowView::TopAppRowView(QString name, std::int64_t count, QWidget* parent)
    : QWidget(parent), name_(std::move(name)), count_(count) {
    setFont(Typography::callout());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QRect TopAppRowView::countRect() const {
    const int width =
        qCeil(Typography::monospacedDigitsWidth(QFontMetricsF(font()), QString::number(count_)));
    return {rect().right() + 1 - width, 0, width, height()};
}

QString TopAppRowView::shownName() const {
    const int available = countRect().left() - nameCountSpacing;
    return fontMetrics().elidedText(name_, Qt::ElideRight, std::max(0, available));
}

QSize TopAppRowView::sizeHint() const {
    return {fontMetrics().horizontalAdvance(name_) + nameCountSpacing + countRect().width(),
            fontMetrics().height()};
}

QSize TopAppRowView::minimumSizeHint() const {
    return {0, fontMetrics().height()};
}

void TopAppRowView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(SemanticColors::primaryLabel(palette()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shownName());
    painter.setPen(SemanticColors::secondaryLabel(palette()));
    Typography::drawMonospacedDigits(painter, countRect(), Qt::AlignRight, QString::number(count_));
}
