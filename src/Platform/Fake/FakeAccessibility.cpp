#include "FakeAccessibility.h"

#include "FakeDesktop.h"

#include <QPointF>
#include <QSizeF>

bool FakeAccessibility::isProcessTrusted() {
    std::lock_guard lock(desktop_.mutex);
    return desktop_.trusted;
}

bool FakeAccessibility::isProcessTrustedWithPrompt() {
    std::lock_guard lock(desktop_.mutex);
    ++desktop_.trustPrompts;
    return desktop_.trusted;
}

AXElement FakeAccessibility::applicationElement(std::int32_t pid) { return AXElement{pid, 0}; }

std::optional<QVariant> FakeAccessibility::copyAttributeValue(const AXElement& element, const QString& attribute) {
    std::lock_guard lock(desktop_.mutex);
    if (!desktop_.trusted) return std::nullopt;
    if (element.window == 0) {
        const auto windowElement = [&](std::uint32_t id) -> std::optional<QVariant> {
            if (!desktop_.window(id)) return std::nullopt;
            return QVariant::fromValue(AXElement{element.pid, id});
        };
        if (attribute == AXAttribute::focusedWindow) {
            if (desktop_.focusedWindowOf.contains(element.pid)) return windowElement(desktop_.focusedWindowOf[element.pid]);
            if (desktop_.mainWindowOf.contains(element.pid)) return std::nullopt;
            for (const auto& w : desktop_.windows)
                if (w.pid == element.pid && !w.minimized) return windowElement(w.id);
            return std::nullopt;
        }
        if (attribute == AXAttribute::mainWindow) {
            if (desktop_.mainWindowOf.contains(element.pid)) return windowElement(desktop_.mainWindowOf[element.pid]);
            return std::nullopt;
        }
        if (attribute == AXAttribute::windows) {
            QVariantList list;
            for (const auto& w : desktop_.windows)
                if (w.pid == element.pid) list.append(QVariant::fromValue(AXElement{element.pid, w.id}));
            return list;
        }
        return std::nullopt;
    }
    const auto* w = desktop_.window(std::uint32_t(element.window));
    if (!w) return std::nullopt;
    if (attribute == AXAttribute::position) return QVariant(w->frame.topLeft());
    if (attribute == AXAttribute::size) return QVariant(w->frame.size());
    if (attribute == AXAttribute::minimized) return QVariant(w->minimized);
    return std::nullopt;
}

bool FakeAccessibility::setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value) {
    std::lock_guard lock(desktop_.mutex);
    if (!desktop_.trusted || attribute != AXAttribute::minimized) return false;
    auto* w = desktop_.window(std::uint32_t(element.window));
    if (!w) return false;
    desktop_.minimizeWrites.push_back(w->id);
    if (desktop_.minimizeWriteRefused) return false;
    w->minimized = value.toBool();
    return true;
}
