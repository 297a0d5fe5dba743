#pragma once

#include "Platform/EventTapPort.h"

class X11Connection;

/// The event services on X11: the keyboard tap (on a connection of its own), a dock swipe as
/// one step to the next or previous EWMH desktop, and the pointer.
class X11EventInput final : public EventTapPort {
public:
    /// `queries` carries the desktop requests and the pointer; it outlives this object.
    explicit X11EventInput(X11Connection& queries) : queries_(queries) {}

    /// Nothing in a Wayland session (no global grabs there), when the display cannot be
    /// opened, or when every key's grab is refused.
    std::shared_ptr<EventTap> createKeyboardTap(Callback callback) override;
    /// A dock swipe moves the current desktop one step when its gesture ends (phase 4);
    /// other events have no counterpart here and are dropped.
    bool postEvent(const SyntheticEvent& event) override;
    void warpPointer(QPointF location) override;
    std::optional<QPointF> pointerLocation() override;

private:
    X11Connection& queries_;
};
