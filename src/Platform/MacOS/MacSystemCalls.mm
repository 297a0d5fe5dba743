#include "MacSystemCalls.h"

#include "Platform/MacOS/CFPropertyAccess.h"
#include "Platform/MacOS/MacSkyLightLibrary.h"

#include <ApplicationServices/ApplicationServices.h>
#include <AppKit/AppKit.h>

#include <QPointF>
#include <QSizeF>

#include <deque>
#include <mutex>
#include <utility>
#include <variant>

#include <dlfcn.h>

// Window elements live as long as the system's objects do; the logic holds them as handles.
// A jump asks about a handful, so the oldest are let go once many are held.
struct MacSystemCalls::Elements {
    static constexpr std::size_t capacity = 256;

    std::mutex mutex;
    std::uint64_t next = 1;
    std::deque<std::pair<std::uint64_t, id>> held;

    std::uint64_t keep(id element) {
        std::lock_guard lock(mutex);
        const std::uint64_t handle = next++;
        held.emplace_back(handle, element);
        if (held.size() > capacity) held.pop_front();
        return handle;
    }
    id find(std::uint64_t handle) {
        std::lock_guard lock(mutex);
        for (const auto& [kept, element] : held)
            if (kept == handle) return element;
        return nil;
    }
};

namespace {

/// Accessibility answers: beside property-list values, elements (kept as handles of the asked
/// application) and points and sizes.
struct AXAnswerAccess : CFPropertyAccess {
    MacSystemCalls::Elements* elements = nullptr;
    std::int32_t pid = 0;

    QVariant other(CFTypeRef value) const {
        if (value == nullptr) return {};
        const CFTypeID type = CFGetTypeID(value);
        if (type == AXUIElementGetTypeID())
            return QVariant::fromValue(AXElement{pid, elements->keep((__bridge id)value)});
        if (type != AXValueGetTypeID()) return {};
        const auto axValue = static_cast<AXValueRef>(value);
        switch (AXValueGetType(axValue)) {
        case kAXValueTypeCGPoint: {
            CGPoint point{};
            if (!AXValueGetValue(axValue, kAXValueTypeCGPoint, &point)) return {};
            return QPointF(point.x, point.y);
        }
        case kAXValueTypeCGSize: {
            CGSize size{};
            if (!AXValueGetValue(axValue, kAXValueTypeCGSize, &size)) return {};
            return QSizeF(size.width, size.height);
        }
        default:
            return {};
        }
    }
};

QRectF rectangle(const CGRect& rect) {
    return QRectF(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

} // namespace

MacSystemCalls::MacSystemCalls() : elements_(std::make_unique<Elements>()) {}

MacSystemCalls::~MacSystemCalls() = default;

std::optional<QVariantList> MacSystemCalls::copyWindowInfo(std::uint32_t options, std::uint32_t relativeToWindow) {
    CFArrayRef list = CGWindowListCopyWindowInfo(options, relativeToWindow);
    if (list == nullptr) return std::nullopt;
    const QVariant converted = PropertyList::toVariant(CFPropertyAccess{}, list);
    CFRelease(list);
    return converted.toList();
}

std::optional<std::vector<std::uint32_t>> MacSystemCalls::activeDisplayList() {
    uint32_t count = 0;
    if (CGGetActiveDisplayList(0, nullptr, &count) != kCGErrorSuccess) return std::nullopt;
    std::vector<std::uint32_t> displays(count);
    if (count > 0 && CGGetActiveDisplayList(count, displays.data(), &count) != kCGErrorSuccess)
        return std::nullopt;
    // A display may have gone between the two calls.
    displays.resize(std::min<std::size_t>(count, displays.size()));
    return displays;
}

QRectF MacSystemCalls::displayBounds(std::uint32_t display) {
    return rectangle(CGDisplayBounds(display));
}

bool MacSystemCalls::displayIsMain(std::uint32_t display) {
    return CGDisplayIsMain(display) != 0;
}

std::optional<QString> MacSystemCalls::displayUUIDString(std::uint32_t display) {
    CFUUIDRef uuid = CGDisplayCreateUUIDFromDisplayID(display);
    if (uuid == nullptr) return std::nullopt;
    CFStringRef text = CFUUIDCreateString(kCFAllocatorDefault, uuid);
    CFRelease(uuid);
    if (text == nullptr) return std::nullopt;
    QString identifier = QString::fromCFString(text);
    CFRelease(text);
    return identifier;
}

QList<MacScreen> MacSystemCalls::screens() {
    QList<MacScreen> screens;
    for (NSScreen* screen in NSScreen.screens) {
        MacScreen described;
        described.deviceDescription =
            PropertyList::toVariant(CFPropertyAccess{}, (__bridge CFDictionaryRef)screen.deviceDescription).toMap();
        described.localizedName = QString::fromNSString(screen.localizedName);
        screens.append(described);
    }
    return screens;
}

std::shared_ptr<SkyLightLibrary> MacSystemCalls::openFramework(const QString& path, int mode) {
    void* handle = dlopen(path.toUtf8().constData(), mode);
    if (handle == nullptr) return nullptr;
    return std::make_shared<MacSkyLightLibrary>(handle);
}

bool MacSystemCalls::isProcessTrusted() {
    return AXIsProcessTrusted() != 0;
}

bool MacSystemCalls::isProcessTrustedWithPrompt() {
    NSDictionary* options = @{(__bridge NSString*)kAXTrustedCheckOptionPrompt : @YES};
    return AXIsProcessTrustedWithOptions((__bridge CFDictionaryRef)options) != 0;
}

AXElement MacSystemCalls::applicationElement(std::int32_t pid) {
    // Made afresh at every use: an application element is cheap and holds nothing.
    return AXElement{pid, 0};
}

namespace {

// The element behind a handle, owned by ARC for the length of the call.
id elementObject(MacSystemCalls::Elements& elements, const AXElement& element) {
    if (element.window == 0) return CFBridgingRelease(AXUIElementCreateApplication(element.pid));
    return elements.find(element.window);
}

} // namespace

std::optional<QVariant> MacSystemCalls::copyAttributeValue(const AXElement& element, const QString& attribute) {
    id object = elementObject(*elements_, element);
    if (object == nil) return std::nullopt;
    CFTypeRef value = nullptr;
    const AXError error = AXUIElementCopyAttributeValue((__bridge AXUIElementRef)object,
                                                        (__bridge CFStringRef)attribute.toNSString(), &value);
    if (error != kAXErrorSuccess || value == nullptr) return std::nullopt;
    id answer = CFBridgingRelease(value);
    AXAnswerAccess access;
    access.elements = elements_.get();
    access.pid = element.pid;
    QVariant converted = PropertyList::toVariant(access, (__bridge CFTypeRef)answer);
    if (!converted.isValid()) return std::nullopt;
    return converted;
}

bool MacSystemCalls::setAttributeValue(const AXElement& element, const QString& attribute, const QVariant& value) {
    // Flags are all the logic writes (un-minimising).
    if (value.typeId() != QMetaType::Bool) return false;
    id object = elementObject(*elements_, element);
    if (object == nil) return false;
    const CFBooleanRef flag = value.toBool() ? kCFBooleanTrue : kCFBooleanFalse;
    return AXUIElementSetAttributeValue((__bridge AXUIElementRef)object, (__bridge CFStringRef)attribute.toNSString(),
                                        flag) == kAXErrorSuccess;
}

bool MacSystemCalls::postEvent(const SyntheticEvent& event) {
    CGEventRef posted = CGEventCreate(nullptr);
    if (posted == nullptr) return false;
    for (const SyntheticEvent::Field& field : event.fields) {
        const auto number = static_cast<CGEventField>(field.number);
        if (const auto* integer = std::get_if<std::int64_t>(&field.value))
            CGEventSetIntegerValueField(posted, number, *integer);
        else
            CGEventSetDoubleValueField(posted, number, std::get<double>(field.value));
    }
    CGEventPost(kCGSessionEventTap, posted);
    CFRelease(posted);
    return true;
}

void MacSystemCalls::warpPointer(QPointF location) {
    CGWarpMouseCursorPosition(CGPoint{location.x(), location.y()});
}

std::optional<QPointF> MacSystemCalls::pointerLocation() {
    CGEventRef event = CGEventCreate(nullptr);
    if (event == nullptr) return std::nullopt;
    const CGPoint location = CGEventGetLocation(event);
    CFRelease(event);
    return QPointF(location.x, location.y);
}
