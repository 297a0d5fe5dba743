#pragma once

#include "Platform/KeyboardTapPort.h"

#include <memory>

class X11ServerClock;

/// Creates the keyboard tap of an X11 session (X11EventTap, on a connection of its own).
class X11KeyboardTap final : public KeyboardTapPort {
public:
    /// `waylandSession`: the display is a Wayland compositor's X server, which hands global
    /// grabs only its own windows' keys. The taps tell `clock` of the key presses they answer.
    X11KeyboardTap(bool waylandSession, std::shared_ptr<X11ServerClock> clock)
        : waylandSession_(waylandSession), clock_(std::move(clock)) {}

    TapOpening createKeyboardTap(Callback callback) override;

private:
    const bool waylandSession_;
    const std::shared_ptr<X11ServerClock> clock_;
};
