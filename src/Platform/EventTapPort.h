#pragma once

#include "Platform/TapEvent.h"

#include <QPointF>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

/// A system-wide keyboard event tap once it is installed: it hands key-downs and modifier
/// changes to the hotkey decision and drops the events the decision swallows.
class EventTap {
public:
    virtual ~EventTap() = default;

    /// Turns the delivery of events on or off (the system turns it off after a callback
    /// time-out or on user input, and the tap must be turned on again).
    virtual void setEnabled(bool enabled) = 0;
    /// Runs the tap's event loop on the calling thread, delivering every event to the
    /// callback; returns only if the tap can no longer run.
    virtual void run() = 0;
    /// Makes run() return; the tap delivers nothing more.
    virtual void stop() = 0;
};

/// A synthetic event: its integer and double fields, set in this order before posting.
struct SyntheticEvent {
    std::vector<std::pair<int, std::int64_t>> integerFields;
    std::vector<std::pair<int, double>> doubleFields;
};

/// Creating the keyboard tap, and posting synthetic events and moving the pointer.
class EventTapPort {
public:
    /// Given each key-down and modifier change (and the tap-disabled notifications); true
    /// swallows the event, false passes it on unchanged.
    using Callback = std::function<bool(std::uint32_t type, const TapEvent& event)>;

    virtual ~EventTapPort() = default;

    /// Creates the session keyboard tap for key-downs and modifier changes, placed at the
    /// head; nothing when the system refuses it. Events flow once the tap runs.
    virtual std::shared_ptr<EventTap> createKeyboardTap(Callback callback) = 0;
    /// Posts the event at the session tap; false when it cannot be created.
    virtual bool postEvent(const SyntheticEvent& event) = 0;
    /// Moves the pointer without generating mouse events.
    virtual void warpPointer(QPointF location) = 0;
    /// The pointer's location (that of a new null event); nothing when it cannot be read.
    virtual std::optional<QPointF> pointerLocation() = 0;
};
