#include "FakeEventInput.h"

#include "FakeDesktop.h"
#include "FakeEventTap.h"

std::shared_ptr<EventTap> FakeEventInput::createKeyboardTap(Callback callback) {
    std::lock_guard lock(desktop_.mutex);
    ++desktop_.tapAttempts;
    if (desktop_.tapRefused) return nullptr;
    ++desktop_.tapsCreated;
    lastTap_ = std::make_shared<FakeEventTap>(std::move(callback));
    return lastTap_;
}

bool FakeEventInput::postEvent(const SyntheticEvent& event) {
    std::lock_guard lock(desktop_.mutex);
    QVariantList fields;
    std::int64_t gestureKind = 0, phase = 0;
    double progress = 0;
    for (const auto& [field, value] : event.integerFields) {
        fields.append(QVariantList{field, QVariant::fromValue(value)});
        if (field == 110) gestureKind = value;
        if (field == 132) phase = value;
    }
    for (const auto& [field, value] : event.doubleFields) {
        fields.append(QVariantList{field, value});
        if (field == 124) progress = value;
    }
    desktop_.postedEvents.push_back(fields);
    // A dock swipe takes effect when its gesture ends.
    if (gestureKind == 23 && phase == 4) desktop_.swipe(progress);
    return true;
}

void FakeEventInput::warpPointer(QPointF location) {
    std::lock_guard lock(desktop_.mutex);
    desktop_.warps.push_back(location);
    desktop_.pointer = location;
}

std::optional<QPointF> FakeEventInput::pointerLocation() {
    std::lock_guard lock(desktop_.mutex);
    return desktop_.pointer;
}

std::shared_ptr<FakeEventTap> FakeEventInput::lastTap() const {
    std::lock_guard lock(desktop_.mutex);
    return lastTap_;
}
