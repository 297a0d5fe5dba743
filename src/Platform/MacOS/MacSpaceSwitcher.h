#pragma once

#include "Platform/SpaceSwitcherPort.h"

class MacSystem;
class TimePort;

/// Makes a Space current on macOS by dock-swipe gestures, and believes it only when a fresh
/// Space list says so.
class MacSpaceSwitcher final : public SpaceSwitcherPort {
public:
    /// `time` is the platform's time port, through which the gesture waits.
    MacSpaceSwitcher(MacSystem& system, TimePort& time) : system_(system), time_(time) {}

    bool makeCurrent(std::uint64_t space, const QString& displayIdentifier) override;

private:
    MacSystem& system_;
    TimePort& time_;
};
