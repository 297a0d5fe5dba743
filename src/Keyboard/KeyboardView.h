#pragma once

#include "Keyboard/AppEntry.h"
#include "Keyboard/KeyboardKey.h"
#include "Keyboard/KeyboardLayout.h"

#include <QHash>
#include <QMargins>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

/// The on-screen keyboard: the 47 bindable keys on a rounded background, each cap showing its
/// legend or the icon of the application bound to it. It only shows what it is given; a click
/// on a cap is reported to the host.
class KeyboardView : public QWidget {
    Q_OBJECT

public:
    using Bindings = QHash<QString, AppEntry>;
    using KeyTap = std::function<void(const KeyboardKey& key)>;

    /// Room around the keyboard's own area, for its shadow, which a widget cannot draw
    /// outside itself. The host adds it to the size it gives the keyboard.
    static constexpr QMargins shadowRoom{4, 2, 4, 6};

    /// `gap` is the space between neighbouring caps, in points.
    KeyboardView(KeyTap onKeyTap, double gap, QWidget* parent = nullptr);

    /// Key identifier -> bound application; redraws.
    void setBindings(const Bindings& bindings);
    const Bindings& bindings() const { return bindings_; }
    /// Key identifier -> why the desktop refuses the key's hotkey; those caps are marked and
    /// their tooltips give the reason. Redraws.
    void setTakenKeys(const QHash<QString, QString>& reasons);
    const QHash<QString, QString>& takenKeys() const { return takenKeys_; }
    /// The tooltip of a key's cap: the key, the application bound to it, and why the desktop
    /// refuses it, when it does.
    QString toolTipFor(const KeyboardKey& key) const;

    /// The cap under the pointer, if any.
    const std::optional<QString>& hoveredKeyID() const { return hoveredKeyID_; }
    /// Where the caps are for the widget's current size (less the shadow room).
    KeyboardLayout::Geometry capGeometry() const;
    /// The key whose cap outline holds `point`, if any.
    std::optional<KeyboardKey> keyAt(const QPointF& point) const;

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void trackPointer(const QPointF& point);
    void pointerEntered(const QString& keyID);
    void pointerLeft(const QString& keyID);

    KeyTap onKeyTap_;
    double gap_;
    Bindings bindings_;
    QHash<QString, QString> takenKeys_;
    std::optional<QString> hoveredKeyID_;
    /// The cap the pointer is over, as the pointer events say; drives enter and leave.
    std::optional<QString> underPointer_;
    /// The cap a press began on: a click needs press and release on the same cap.
    std::optional<QString> pressedKeyID_;
};
