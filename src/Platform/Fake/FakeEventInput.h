#pragma once

#include "Platform/EventTapPort.h"

#include <memory>

class FakeDesktop;
class FakeEventTap;

/// The event services of a FakeDesktop: creating the keyboard tap (or refusing it), posting
/// synthetic events — a dock-swipe gesture moves the current Space of the display under the
/// pointer one step — and the pointer.
class FakeEventInput final : public EventTapPort {
public:
    explicit FakeEventInput(FakeDesktop& desktop) : desktop_(desktop) {}

    std::shared_ptr<EventTap> createKeyboardTap(Callback callback) override;
    bool postEvent(const SyntheticEvent& event) override;
    void warpPointer(QPointF location) override;
    std::optional<QPointF> pointerLocation() override;

    /// The last tap created, if any.
    std::shared_ptr<FakeEventTap> lastTap() const;

private:
    FakeDesktop& desktop_;
    std::shared_ptr<FakeEventTap> lastTap_;
};
