#pragma once

#include "Platform/KeyboardTapPort.h"

/// The keyboard tap on macOS: a Quartz event tap at the session level, ahead of every other
/// tap, for key-downs and modifier changes only. The system refuses it without the Input
/// Monitoring permission (and Accessibility trust).
class MacKeyboardTap final : public KeyboardTapPort {
public:
    /// The events the tap asks for: key-down (10) and modifier change (12); the system sends
    /// the tap-disabled notices whatever the mask.
    static constexpr std::uint64_t eventMask = (std::uint64_t{1} << 10) | (std::uint64_t{1} << 12);

    TapOpening createKeyboardTap(Callback callback) override;
};
