#include "WindowAX.h"

#include "Platform/AccessibilityPort.h"
#include "Platform/Platform.h"
#include "Switching/TargetWindowSelector.h"

#include <QPointF>
#include <QSizeF>
#include <QVariantList>

namespace WindowAX {

std::atomic<bool> trustPromptLatch{false};

namespace {

AccessibilityPort& ax() {
    return Platform::current().accessibility();
}

std::optional<AXElement> asElement(const std::optional<QVariant>& value) {
    if (!value || value->metaType() != QMetaType::fromType<AXElement>()) return std::nullopt;
    return value->value<AXElement>();
}

// Only a real point and a real size unpack; anything else the application answers is no frame.
std::optional<QRectF> windowFrame(const AXElement& window) {
    const auto position = ax().copyAttributeValue(window, AXAttribute::position);
    const auto size = ax().copyAttributeValue(window, AXAttribute::size);
    if (!position || position->metaType() != QMetaType::fromType<QPointF>()) return std::nullopt;
    if (!size || size->metaType() != QMetaType::fromType<QSizeF>()) return std::nullopt;
    return QRectF(position->toPointF(), size->toSizeF());
}

std::optional<std::vector<AXElement>> windowsOf(const AXElement& application) {
    const auto value = ax().copyAttributeValue(application, AXAttribute::windows);
    if (!value || value->metaType() != QMetaType::fromType<QVariantList>()) return std::nullopt;
    std::vector<AXElement> windows;
    for (const QVariant& item : value->toList()) {
        const auto element = asElement(item);
        if (!element) return std::nullopt;
        windows.push_back(*element);
    }
    return windows;
}

} // namespace

void requestTrustOnce() {
    if (trustPromptLatch.exchange(true)) return;
    ax().isProcessTrustedWithPrompt();
}

bool isTrusted() {
    return ax().isProcessTrusted();
}

std::optional<QRectF> focusedWindowFrame(std::int32_t pid) {
    const AXElement application = ax().applicationElement(pid);
    for (const QString& attribute : {AXAttribute::focusedWindow, AXAttribute::mainWindow}) {
        const auto window = asElement(ax().copyAttributeValue(application, attribute));
        if (!window) continue;
        if (const auto frame = windowFrame(*window)) return frame;
    }
    return std::nullopt;
}

RestoreOutcome restoreIfMinimized(std::int32_t pid, const QRectF& frame) {
    const auto windows = windowsOf(ax().applicationElement(pid));
    if (!windows) return RestoreOutcome::unchanged;
    for (const AXElement& window : *windows) {
        const auto windowRect = windowFrame(window);
        if (!windowRect || !TargetWindowSelector::frameMatches(*windowRect, frame)) continue;
        // The frame is all that identifies the window, so only the first match is examined.
        const auto minimized = ax().copyAttributeValue(window, AXAttribute::minimized);
        if (!minimized || minimized->metaType() != QMetaType::fromType<bool>() || !minimized->toBool())
            return RestoreOutcome::unchanged;
        return ax().setAttributeValue(window, AXAttribute::minimized, QVariant(false))
                   ? RestoreOutcome::restored
                   : RestoreOutcome::failed;
    }
    return RestoreOutcome::unchanged;
}

} // namespace WindowAX
