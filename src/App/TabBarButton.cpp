#include "App/TabBarButton.h"

#include "App/SemanticColors.h"
#include "App/SymbolIcon.h"
#include "App/Typography.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int buttonWidth = 88;
constexpr int verticalInset = 7;
constexpr int symbolFrameHeight = 24;
constexpr int symbolSide = 22;
constexpr int symbolTitleSpacing = 4;
constexpr double cornerRadius = 9;
} // namespace

TabBarButton::TabBarButton(const QString& title, QString symbol, QWidget* parent)
    : QAbstractButton(parent), symbol_(std::move(symbol)) {
    setText(title);
    setFont(Typography::caption());
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TabBarButton::setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
}

QSize TabBarButton::sizeHint() const {
    return {buttonWidth,
            verticalInset + symbolFrameHeight + symbolTitleSpacing + fontMetrics().height() + verticalInset};
}

void TabBarButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();

    const double tint = selected_ ? 0.09 : hovered_ ? 0.05 : 0.0;
    if (tint > 0) {
        QColor fill = SemanticColors::primaryLabel(colours);
        fill.setAlphaF(static_cast<float>(tint));
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
        painter.fillPath(shape, fill);
    }
    // Like the system's own controls: a focus ring only once the keyboard moves the focus.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        QPen ring(SemanticColors::accent(colours), 1.5);
        painter.setPen(ring);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius - 1, cornerRadius - 1);
    }

    const QColor foreground =
        selected_ ? SemanticColors::accent(colours) : SemanticColors::secondaryLabel(colours);
    const QRectF symbolFrame(0, verticalInset, width(), symbolFrameHeight);
    QRectF symbolBox(0, 0, symbolSide, symbolSide);
    symbolBox.moveCenter(symbolFrame.center());
    SymbolIcon::paint(painter, symbol_, symbolBox, foreground);

    painter.setPen(foreground);
    painter.setFont(font());
    const QRectF title(0, symbolFrame.bottom() + symbolTitleSpacing, width(), fontMetrics().height());
    painter.drawText(title, Qt::AlignHCenter | Qt::AlignTop, text());
}

void TabBarButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TabBarButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}
