#include "WindowAX.h"

#include "Platform/MacOS/MacSystem.h"

#include <QPointF>
#include <QSizeF>
#include <QVariantList>

#include <vector>

namespace WindowAX {

namespace {

const QString focusedWindowAttribute = QStringLiteral("AXFocusedWindow");
const QString mainWindowAttribute = QStringLiteral("AXMainWindow");
const QString windowsAttribute = QStringLiteral("AXWindows");
const QString positionAttribute = QStringLiteral("AXPosition");
const QString sizeAttribute = QStringLiteral("AXSize");
const QString minimizedAttribute = QStringLiteral("AXMinimized");

std::optional<AXElement> asElement(const std::optional<QVariant>& value) {
    if (!value || value->metaType() != QMetaType::fromType<AXElement>()) return std::nullopt;
    return value->value<AXElement>();
}

// Only a real point and a real size unpack; anything else the application answers is no frame.
std::optional<QRectF> windowFrame(MacSystem& system, const AXElement& window) {
    const auto position = system.copyAttributeValue(window, positionAttribute);
    const auto size = system.copyAttributeValue(window, sizeAttribute);
    if (!position || position->metaType() != QMetaType::fromType<QPointF>()) return std::nullopt;
    if (!size || size->metaType() != QMetaType::fromType<QSizeF>()) return std::nullopt;
    return QRectF(position->toPointF(), size->toSizeF());
}

std::optional<std::vector<AXElement>> windowsOf(MacSystem& system, const AXElement& application) {
    const auto value = system.copyAttributeValue(application, windowsAttribute);
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

bool isTrusted(MacSystem& system) {
    return system.isProcessTrusted();
}

void promptForTrust(MacSystem& system) {
    system.isProcessTrustedWithPrompt();
}

std::optional<QRectF> focusedWindowFrame(MacSystem& system, std::int32_t pid) {
    const AXElement application = system.applicationElement(pid);
    for (const QString& attribute : {focusedWindowAttribute, mainWindowAttribute}) {
        const auto window = asElement(system.copyAttributeValue(application, attribute));
        if (!window) continue;
        if (const auto frame = windowFrame(system, *window)) return frame;
    }
    return std::nullopt;
}

RestoreOutcome restoreIfMinimized(MacSystem& system, std::int32_t pid, const QRectF& frame) {
    const auto windows = windowsOf(system, system.applicationElement(pid));
    if (!windows) return RestoreOutcome::unchanged;
    for (const AXElement& window : *windows) {
        const auto windowRect = windowFrame(system, window);
        if (!windowRect || !framesMatch(*windowRect, frame)) continue;
        // The frame is all that identifies the window, so only the first match is examined.
        const auto minimized = system.copyAttributeValue(window, minimizedAttribute);
        if (!minimized || minimized->metaType() != QMetaType::fromType<bool>() || !minimized->toBool())
            return RestoreOutcome::unchanged;
        return system.setAttributeValue(window, minimizedAttribute, QVariant(false))
                   ? RestoreOutcome::restored
                   : RestoreOutcome::failed;
    }
    return RestoreOutcome::unchanged;
}

} // namespace WindowAX
