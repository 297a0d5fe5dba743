#pragma once

#include "Platform/KeyboardTapPort.h"

/// Creates the keyboard tap of an X11 session (X11EventTap, on a connection of its own).
class X11KeyboardTap final : public KeyboardTapPort {
public:
    /// `waylandSession`: the display is a Wayland compositor's X server, which hands global
    /// grabs only its own windows' keys.
    explicit X11KeyboardTap(bool waylandSession) : waylandSession_(waylandSession) {}

    TapOpening createKeyboardTap(Callback callback) override;

private:
    const bool waylandSession_;
};
