#pragma once

#include "Platform/KeyboardTapPort.h"
#include "X11Connection.h"
#include "X11ModifierMasks.h"
#include "X11ServerClock.h"

#include <xcb/xcb.h>

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

/// The keyboard tap on X11, on an X connection of its own. Super + each bindable key is
/// grabbed passively in synchronous mode, so the keyboard waits while the callback decides:
/// a swallowed press is dropped by releasing the grab, a passed one is replayed to the
/// focused client unchanged. The Super keys themselves are watched through XInput2 raw
/// events and reported as modifier changes of the trigger keys (CommandKey, 54 and 55); because our own
/// grab hides raw events from us, the key map read while the keyboard is frozen is the
/// final word on which Super key is down at each grabbed press. The grabbed modifier states
/// follow the server's modifier mapping: a mapping change (xmodmap, a layout switch, another
/// keyboard) is answered by grabbing again, on this connection and the run thread.
class X11EventTap final : public EventTap {
public:
    /// Connects to `display` (the DISPLAY variable when null) and grabs the keys; no tap when
    /// the display cannot be opened or not a single grab succeeds. The grabs hold from here
    /// on: a grabbed press waits for run() to answer it. `clock`, when given, hears the time
    /// of every press answered.
    static TapOpening open(const char* display, KeyboardTapPort::Callback callback,
                           std::shared_ptr<X11ServerClock> clock = nullptr);
    ~X11EventTap() override;

    X11EventTap(const X11EventTap&) = delete;
    X11EventTap& operator=(const X11EventTap&) = delete;

    void setEnabled(bool enabled) override;
    /// Delivers events until stop(); a lost X connection is reopened, and the callback then
    /// hears tapDisabledByTimeout, as after a tap the system had turned off.
    void run() override;
    void stop() override;
    /// The keys whose grab another client held at the last connection.
    std::vector<std::int64_t> keysTaken() const override;
    /// Whether another client held right Super by itself at the last connection or keyboard
    /// mapping change (a manager that takes a key often does so again then).
    bool triggerKeyTaken() const override;

    /// Logs a line through the hotkey log once per process: the conditions logged here last,
    /// and the monitor retries every few seconds.
    static void logOnce(const QString& line);

private:
    X11EventTap(QByteArray display, KeyboardTapPort::Callback callback,
                std::shared_ptr<X11ServerClock> clock);

    /// Opens the connection, selects the raw Super events and grabs the keys; why not when
    /// the display cannot be opened or every grab is refused.
    std::optional<TapFailure> connect();
    /// Waits, until stop(), for the display to come back; true once connected again.
    bool reconnect();
    void handle(const xcb_generic_event_t* event);
    /// Grabs for the modifier mapping as it is now, then gives back the grabs it no longer
    /// needs: no press slips through in between.
    void followKeyboardMapping();
    /// Asks whether another client holds right Super by itself, and notes the answer.
    void checkTriggerKey();
    void handleGrabbedPress(const xcb_key_press_event_t* event);
    void handleRawKey(const xcb_generic_event_t* event);
    /// The Super keys as the key map says now, each change reported before anything else.
    void readSuperKeys();
    void superKeyChanged(std::uint8_t xKeyCode, bool down);
    /// Waits for X events or a wake-up from stop().
    void waitForEvents();
    /// Gives the grabs back and closes the connection. Run thread, or under mutex_ while
    /// run() does not run.
    void closeConnection();

    const QByteArray display_; // empty: the default display
    const KeyboardTapPort::Callback callback_;
    const std::shared_ptr<X11ServerClock> clock_;
    std::unique_ptr<X11Connection> connection_; // replaced by the run thread only; guarded by mutex_
    std::uint8_t xinputOpcode_ = 0;             // 0: no XInput2, Super is read from the key map only
    X11ModifierMasks masks_;                    // what the grabs were made for
    bool mappingChanged_ = false;               // a mapping change not yet grabbed for
    mutable std::mutex mutex_;
    bool running_ = false;                      // guarded by mutex_
    std::vector<std::int64_t> keysTaken_;       // guarded by mutex_
    bool triggerKeyTaken_ = false;              // guarded by mutex_
    std::atomic<bool> stopping_{false};
    std::atomic<bool> enabled_{true};
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    // What the callback was last told about the Super keys: changes are reported against it.
    bool rightSuperDown_ = false;
    bool leftSuperDown_ = false;
};
