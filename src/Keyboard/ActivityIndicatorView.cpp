#include "Keyboard/ActivityIndicatorView.h"

#include "App/SemanticColors.h"

#include <QPainter>

#include <algorithm>

namespace {
constexpr int spokes = 8;
}

ActivityIndicatorView::ActivityIndicatorView(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
    timer_.setInterval(90);
    connect(&timer_, &QTimer::timeout, this, [this] {
        step_ = (step_ + 1) % spokes;
        update();
    });
}

void ActivityIndicatorView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    QColor color = SemanticColors::primaryLabel(palette());
    for (int i = 0; i < spokes; ++i) {
        // The spoke at the current step is darkest; the others fade behind it.
        const int age = (step_ - i + spokes) % spokes;
        color.setAlphaF(static_cast<float>(0.85 - 0.09 * age));
        painter.setPen(QPen(color, side / 9, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(360.0 / spokes * i);
        painter.drawLine(QPointF(0, -side * 0.24), QPointF(0, -side * 0.44));
        painter.restore();
    }
}

void ActivityIndicatorView::showEvent(QShowEvent* event) {
    timer_.start();
    QWidget::showEvent(event);
}

void ActivityIndicatorView::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}
