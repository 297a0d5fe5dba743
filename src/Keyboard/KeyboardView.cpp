#include "Keyboard/KeyboardView.h"

#include "App/SemanticColors.h"
#include "Keyboard/KeyCapView.h"
#include "Keyboard/SoftShadow.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace {
constexpr double backgroundRadius = 14;
constexpr double naturalWidth = 1000;
} // namespace

KeyboardView::KeyboardView(KeyTap onKeyTap, double gap, QWidget* parent)
    : QWidget(parent), onKeyTap_(std::move(onKeyTap)), gap_(gap) {
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void KeyboardView::setBindings(const Bindings& bindings) {
    if (bindings == bindings_) return;
    bindings_ = bindings;
    update();
}

void KeyboardView::setTakenKeys(const QHash<QString, QString>& reasons) {
    if (reasons == takenKeys_) return;
    takenKeys_ = reasons;
    update();
}

QString KeyboardView::toolTipFor(const KeyboardKey& key) const {
    const auto bound = bindings_.constFind(key.id());
    QString text = bound == bindings_.constEnd() ? QStringLiteral("Key %1: no app bound").arg(key.legend)
                                                 : QStringLiteral("Key %1: %2").arg(key.legend, bound->name);
    const auto taken = takenKeys_.constFind(key.id());
    if (taken != takenKeys_.constEnd()) text += u'\n' + *taken;
    return text;
}

bool KeyboardView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    if (const auto key = keyAt(help->pos())) {
        QToolTip::showText(help->globalPos(), toolTipFor(*key), this);
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

KeyboardLayout::Geometry KeyboardView::capGeometry() const {
    const QRect area = rect().marginsRemoved(shadowRoom);
    KeyboardLayout::Geometry geometry = KeyboardLayout::geometry(QSizeF(area.size()), gap_);
    geometry.area.translate(area.topLeft());
    geometry.background.translate(area.topLeft());
    return geometry;
}

std::optional<KeyboardKey> KeyboardView::keyAt(const QPointF& point) const {
    const KeyboardLayout::Geometry geometry = capGeometry();
    for (const KeyboardKey& key : KeyboardLayout::keys()) {
        if (KeyCapView::outline(geometry.capRect(key)).contains(point)) return key;
    }
    return std::nullopt;
}

QSize KeyboardView::sizeHint() const {
    const int width = int(naturalWidth) + shadowRoom.left() + shadowRoom.right();
    return {width, heightForWidth(width)};
}

int KeyboardView::heightForWidth(int width) const {
    const int inner = width - shadowRoom.left() - shadowRoom.right();
    return static_cast<int>(std::ceil(KeyboardLayout::heightForWidth(inner))) + shadowRoom.top() +
           shadowRoom.bottom();
}

void KeyboardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const KeyboardLayout::Geometry geometry = capGeometry();
    const QPalette& colors = palette();

    QPainterPath background;
    background.addRoundedRect(geometry.background, backgroundRadius, backgroundRadius);
    SoftShadow::paintRoundedRect(painter, geometry.background, backgroundRadius, QPointF(0, 2), 3, 0.12);
    // The window's own colour, which hides the shadow's core.
    painter.fillPath(background, SemanticColors::windowBackground(colors));

    for (const KeyboardKey& key : KeyboardLayout::keys()) {
        const QString id = key.id();
        const auto bound = bindings_.constFind(id);
        const std::optional<AppEntry> entry =
            bound == bindings_.constEnd() ? std::nullopt : std::optional<AppEntry>(*bound);
        KeyCapView::paint(painter, geometry.capRect(key), key, entry, hoveredKeyID_ == id, colors,
                          takenKeys_.contains(id));
    }
}

void KeyboardView::mouseMoveEvent(QMouseEvent* event) {
    trackPointer(event->position());
    QWidget::mouseMoveEvent(event);
}

void KeyboardView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const auto key = keyAt(event->position());
    pressedKeyID_ = key ? std::optional<QString>(key->id()) : std::nullopt;
}

void KeyboardView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const auto key = keyAt(event->position());
    const bool sameCap = key && pressedKeyID_ == key->id();
    pressedKeyID_.reset();
    if (sameCap && onKeyTap_) onKeyTap_(*key);
}

void KeyboardView::leaveEvent(QEvent* event) {
    if (underPointer_) pointerLeft(*std::exchange(underPointer_, std::nullopt));
    QWidget::leaveEvent(event);
}

void KeyboardView::trackPointer(const QPointF& point) {
    const auto key = keyAt(point);
    const std::optional<QString> now = key ? std::optional<QString>(key->id()) : std::nullopt;
    if (now == underPointer_) return;
    const std::optional<QString> before = std::exchange(underPointer_, now);
    // Entering the new cap is reported before leaving the old one; the leave rule below keeps
    // the new cap highlighted whatever the order.
    if (now) pointerEntered(*now);
    if (before) pointerLeft(*before);
}

void KeyboardView::pointerEntered(const QString& keyID) {
    hoveredKeyID_ = keyID;
    update();
}

void KeyboardView::pointerLeft(const QString& keyID) {
    if (hoveredKeyID_ != keyID) return;
    hoveredKeyID_.reset();
    update();
}
