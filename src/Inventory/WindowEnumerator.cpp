#include "WindowEnumerator.h"

#include "Inventory/PlistNumber.h"
#include "Platform/Platform.h"
#include "Platform/WindowListPort.h"

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

/// The entry as a window, or nothing when one of the tests fails. The tests run in a fixed
/// order and the first failure drops the entry.
std::optional<RawWindow> windowOf(const QVariantMap& entry) {
    // Layer 0 only: menus, status items, floating panels and the dock live on other layers.
    const auto layer = PlistNumber::integerValue<std::int64_t>(entry.value(WindowListKey::layer));
    if (!layer || *layer != 0) return std::nullopt;
    // A missing alpha is not taken as opaque.
    const auto alpha = PlistNumber::doubleValue(entry.value(WindowListKey::alpha));
    if (!alpha || !(*alpha > 0.0)) return std::nullopt;
    // A window number must fit 32 unsigned bits and a pid 32 signed bits; a value out of range
    // is treated as no number at all, so the entry is dropped rather than wrapped onto an
    // unrelated window or process.
    const auto number = PlistNumber::integerValue<std::uint32_t>(entry.value(WindowListKey::number));
    if (!number) return std::nullopt;
    const auto pid = PlistNumber::integerValue<std::int32_t>(entry.value(WindowListKey::ownerPID));
    if (!pid) return std::nullopt;
    const auto frame = rectangleOf(entry.value(WindowListKey::bounds));
    if (!frame) return std::nullopt;

    RawWindow window;
    window.id = *number;
    window.pid = *pid;
    window.frame = *frame;
    window.isOnscreen = flagOf(entry.value(WindowListKey::isOnscreen));
    const QVariant owner = entry.value(WindowListKey::ownerName);
    window.ownerName = owner.typeId() == QMetaType::QString
                           ? owner.toString()
                           : QString::fromUtf16(WindowEnumerator::unknownOwner);
    if (const QVariant name = entry.value(WindowListKey::name); name.typeId() == QMetaType::QString)
        window.title = name.toString();
    return window;
}

} // namespace

std::vector<RawWindow> WindowEnumerator::enumerate() {
    // All Spaces and minimised windows too: not the on-screen-only option.
    const std::optional<QVariantList> list =
        Platform::current().windowList().copyWindowInfo(WindowListOption::excludeDesktopElements, 0);
    if (!list) return {};
    // The answer must be a list of dictionaries throughout; one of any other kind means the
    // answer as a whole is not the window list we know.
    for (const QVariant& entry : *list)
        if (entry.typeId() != QMetaType::QVariantMap) return {};

    std::vector<RawWindow> windows;
    windows.reserve(static_cast<std::size_t>(list->size()));
    for (const QVariant& entry : *list)
        if (auto window = windowOf(entry.toMap())) windows.push_back(std::move(*window));
    return windows;
}
