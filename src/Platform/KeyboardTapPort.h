#pragma once

#include "Platform/TapEvent.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

/// A system-wide keyboard tap once it is installed: it hands key-downs and modifier changes
/// to the hotkey decision and drops the events the decision swallows.
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
    /// The key codes (TapEvent::keyCode) that other programs hold, so the tap never sees
    /// them while it works for the rest.
    virtual std::vector<std::int64_t> keysTaken() const { return {}; }
    /// Whether another program holds the trigger key on its own (a window manager that opens
    /// its menu with it): while it does, no stroke with the trigger key reaches the tap.
    virtual bool triggerKeyTaken() const { return false; }
};

/// Why the keyboard tap could not be installed.
enum class TapFailure {
    /// The system withholds the permission to watch the keyboard.
    notPermitted,
    /// A Wayland session that no backend serves: there no program may watch the keyboard of
    /// the whole desktop.
    unsupportedSession,
    /// There is no display to connect to.
    noDisplay,
    /// Other programs hold every key the tap needs.
    keysTaken,
    /// The desktop hands Kestavon the keys only once a set-up of Kestavon's own is in effect
    /// (KeyboardTapPort::setUp makes it).
    setUpNeeded,
    /// The compositor keeps the keyboard to itself: the keys reach Kestavon only through its
    /// own key bindings running `kestavon --jump KEY`.
    jumpBindingNeeded,
};

/// What making the tap's set-up came to.
struct SetUpResult {
    bool done = false;
    /// What the user does next, or why it failed, in plain words.
    QString message;
};

/// A tap, or why there is none.
struct TapOpening {
    std::shared_ptr<EventTap> tap;
    /// Meaningful only when `tap` is null.
    TapFailure failure = TapFailure::notPermitted;
};

/// Creating the keyboard tap.
class KeyboardTapPort {
public:
    /// Given each key-down and modifier change (and the tap-disabled notifications); true
    /// swallows the event, false passes it on unchanged.
    using Callback = std::function<bool(std::uint32_t type, const TapEvent& event)>;

    virtual ~KeyboardTapPort() = default;

    /// Installs the keyboard tap for key-downs and modifier changes, ahead of every other
    /// listener. Events flow once the tap runs.
    virtual TapOpening createKeyboardTap(Callback callback) = 0;
    /// The keys bound now (TapEvent key codes). A tap that hears only the keys it asked the
    /// desktop for asks for these, so the others reach the focused window; a tap that sees
    /// every key has nothing to do.
    virtual void keysBound(const std::vector<std::int64_t>& keyCodes) { (void)keyCodes; }
    /// Makes the set-up a tap that failed with setUpNeeded lacks, for the keys bound now,
    /// writing only Kestavon's own files.
    virtual SetUpResult setUp(const std::vector<std::int64_t>& keyCodes) {
        (void)keyCodes;
        return {false, QStringLiteral("This desktop needs no set-up for Kestavon's keys.")};
    }
};
