#pragma once

#include "Platform/KeyboardTapPort.h"

#include <memory>

class FakeDesktop;
class FakeEventTap;

/// Installing the keyboard tap on a FakeDesktop, or refusing it as the desktop says.
class FakeKeyboardTap final : public KeyboardTapPort {
public:
    explicit FakeKeyboardTap(FakeDesktop& desktop) : desktop_(desktop) {}

    TapOpening createKeyboardTap(Callback callback) override;
    void keysBound(const std::vector<std::int64_t>& keyCodes) override;
    /// Done, and from then on the tap installs.
    SetUpResult setUp(const std::vector<std::int64_t>& keyCodes) override;

    /// The last tap created, if any.
    std::shared_ptr<FakeEventTap> lastTap() const;

private:
    FakeDesktop& desktop_;
    std::shared_ptr<FakeEventTap> lastTap_;
};
