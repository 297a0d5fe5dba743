#pragma once

#include "Platform/KeyboardTapPort.h"

class SwayIpc;

/// Creates the keyboard tap of a sway session (SwayEventTap), once Kestavon's key set-up is in
/// effect (SwayKeySetup); keeps sway's bindings to the keys bound.
class SwayKeyboardTap final : public KeyboardTapPort {
public:
    explicit SwayKeyboardTap(SwayIpc& ipc) : ipc_(ipc) {}

    TapOpening createKeyboardTap(Callback callback) override;
    void keysBound(const std::vector<std::int64_t>& keyCodes) override;
    SetUpResult setUp(const std::vector<std::int64_t>& keyCodes) override;

private:
    SwayIpc& ipc_;
};
