#include "FakeKeyboardTap.h"

#include "FakeDesktop.h"
#include "FakeEventTap.h"

TapOpening FakeKeyboardTap::createKeyboardTap(Callback callback) {
    std::lock_guard lock(desktop_.mutex);
    ++desktop_.tapAttempts;
    if (desktop_.tapFailure) return TapOpening{nullptr, *desktop_.tapFailure};
    ++desktop_.tapsCreated;
    lastTap_ =
        std::make_shared<FakeEventTap>(std::move(callback), desktop_.keysTaken, desktop_.triggerKeyTaken);
    return TapOpening{lastTap_, TapFailure::notPermitted};
}

std::shared_ptr<FakeEventTap> FakeKeyboardTap::lastTap() const {
    std::lock_guard lock(desktop_.mutex);
    return lastTap_;
}

void FakeKeyboardTap::keysBound(const std::vector<std::int64_t>& keyCodes) {
    std::lock_guard lock(desktop_.mutex);
    desktop_.keysBound.push_back(keyCodes);
}

SetUpResult FakeKeyboardTap::setUp(const std::vector<std::int64_t>& keyCodes) {
    std::lock_guard lock(desktop_.mutex);
    desktop_.setUps.push_back(keyCodes);
    desktop_.tapFailure.reset();
    return {true, QStringLiteral("Set up")};
}
