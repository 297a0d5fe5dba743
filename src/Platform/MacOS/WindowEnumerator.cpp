#include "WindowEnumerator.h"

#include "Platform/MacOS/MacSystem.h"
#include "Platform/MacOS/PlistNumber.h"
#include "Platform/MacOS/WindowListKey.h"

#include <QVariantMap>

namespace {

/// A bounds dictionary as a rectangle: all four of "X", "Y", "Width" and "Height" must be
/// numbers, or there is no rectangle.
std::optional<QRectF> rectangleOf(const QVariant& value) {
    if (value.typeId() != QMetaType::QVariantMap) return std::nullopt;
    const QVariantMap bounds = value.toMap();
    const auto x = PlistNumber::doubleValue(bounds.value(WindowListKey::boundsX));
    const auto y = PlistNumber::doubleValue(bounds.value(WindowListKey::boundsY));
    const auto width = PlistNumber::doubleValue(bounds.value(WindowListKey::boundsWidth));
    const auto height = PlistNumber::doubleValue(bounds.value(WindowListKey::boundsHeight));
    if (!x || !y || !width || !height) return std::nullopt;
    return QRectF(*x, *y, *width, *height);
}

/// The on-screen flag arrives as a boolean or as a number; anything else, or nothing, is false.
bool flagOf(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) return value.toBool();
    if (const auto number = PlistNumber::doubleValue(value)) return *number != 0.0;
    return false;
}

std::optional<QString> textOf(const QVariant& value) {
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

/// The entry as a window, or nothing when one of the tests fails. The tests run in a fixed
/// order and the first failure drops the entry.
std::optional<WindowInfo> windowOf(const QVariantMap& entry) {
    // Layer and alpha decide whether this is an application window; without them it cannot
    // be told, and a missing alpha is not taken as opaque.
    const auto layer = PlistNumber::integerValue<int>(entry.value(WindowListKey::layer));
    if (!layer) return std::nullopt;
    const auto alpha = PlistNumber::doubleValue(entry.value(WindowListKey::alpha));
    if (!alpha) return std::nullopt;
    // A window number must fit 32 unsigned bits and a pid 32 signed bits; a value out of range
    // is treated as no number at all, so the entry is dropped rather than wrapped onto an
    // unrelated window or process.
    const auto number = PlistNumber::integerValue<std::uint32_t>(entry.value(WindowListKey::number));
    if (!number) return std::nullopt;
    const auto pid = PlistNumber::integerValue<std::int32_t>(entry.value(WindowListKey::ownerPID));
    if (!pid) return std::nullopt;
    const auto bounds = rectangleOf(entry.value(WindowListKey::bounds));
    if (!bounds) return std::nullopt;

    WindowInfo window;
    window.number = *number;
    window.pid = *pid;
    window.layer = *layer;
    window.opacity = *alpha;
    window.bounds = *bounds;
    window.ownerName = textOf(entry.value(WindowListKey::ownerName));
    window.title = textOf(entry.value(WindowListKey::name));
    window.isOnscreen = flagOf(entry.value(WindowListKey::isOnscreen));
    // The list does not tell a minimised window from one on another Space; both are off
    // screen, and restoring goes through Accessibility, which knows.
    window.isMinimized = false;
    return window;
}

} // namespace

std::optional<std::vector<WindowInfo>> WindowEnumerator::enumerate(MacSystem& system) {
    const std::optional<QVariantList> list = system.copyWindowInfo(excludeDesktopElements, 0);
    if (!list) return std::nullopt;
    // One element of any other kind means the answer as a whole is not the window list we know.
    for (const QVariant& entry : *list)
        if (entry.typeId() != QMetaType::QVariantMap) return std::nullopt;

    std::vector<WindowInfo> windows;
    windows.reserve(static_cast<std::size_t>(list->size()));
    for (const QVariant& entry : *list)
        if (auto window = windowOf(entry.toMap())) windows.push_back(std::move(*window));
    return windows;
}
