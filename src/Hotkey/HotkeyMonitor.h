#pragma once

#include "Hotkey/BindingsLookup.h"
#include "Hotkey/ModifierState.h"
#include "Hotkey/PermissionIssue.h"
#include "Keyboard/AppEntry.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/TapEvent.h"
#include "Platform/TimePort.h"
#include "Support/SerialQueue.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class EventTap;
class HotkeyLog;
class RepeatingTimer;

/// Watches every key-down and modifier change that reaches the desktop. When the right
/// Command key alone is held and a bound key goes down, the key-down is swallowed and the
/// stroke is handed to a serial queue that brings the bound application forward. The last
/// result text is published for the main window.
class HotkeyMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::optional<QString> lastOutcome READ lastOutcome NOTIFY lastOutcomeChanged)
    Q_PROPERTY(std::optional<PermissionIssue> permissionIssue READ permissionIssue NOTIFY permissionIssueChanged)
    Q_PROPERTY(QStringList keysTaken READ keysTaken NOTIFY keysTakenChanged)
    Q_PROPERTY(bool triggerKeyTaken READ triggerKeyTaken NOTIFY keysTakenChanged)

public:
    /// What becomes of one event.
    enum class Decision {
        /// The event goes on to the applications unchanged.
        pass,
        /// The event is dropped.
        swallow,
    };

    /// What one swallowed stroke does, run on the execution queue.
    using StrokeExecution = std::function<void(const QString& keyID, const AppEntry& entry)>;

    /// Reads its bindings from `bindingsPath` for every stroke. Created on the main thread.
    explicit HotkeyMonitor(QString bindingsPath = KeyBindingStore::defaultFileURL(), QObject* parent = nullptr);
    /// Reads its bindings through `lookup`, which bounds how long a stroke waits for the file.
    HotkeyMonitor(QString bindingsPath, std::unique_ptr<BindingsLookup> lookup, QObject* parent = nullptr);

    /// Stops the tap thread, if one runs.
    ~HotkeyMonitor() override;

    /// The one monitor of the process, created on first use and never destroyed.
    static HotkeyMonitor& shared();

    /// The last result text; absent until the first one. Main thread.
    const std::optional<QString>& lastOutcome() const { return lastOutcome_; }
    /// Why the tap is not installed yet, if it is not. Main thread.
    const std::optional<PermissionIssue>& permissionIssue() const { return permissionIssue_; }
    /// The legends of the keys other programs hold, in layout order, as the tap found them
    /// when it started; the hotkeys work for the rest. Main thread.
    const QStringList& keysTaken() const { return keysTaken_; }
    /// Whether another program holds the trigger key itself, as the tap found it when it
    /// started: then no stroke reaches Kestavon. Main thread.
    bool triggerKeyTaken() const { return triggerKeyTaken_; }

    /// Decides one event delivered by the tap: key-down, modifier change or tap disabled.
    /// Called on the event-tap thread only; never waits for the queue or the main thread.
    Decision decide(std::uint32_t type, const TapEvent& event);

    /// Runs the stroke bound to `keyID` as if the right Command key and that key had been
    /// pressed: how a desktop's own shortcut settings reach Kestavon ("kestavon --jump").
    /// Whether a stroke was handed over; false when nothing is bound to the key or the
    /// bindings file cannot be read. Any thread but the tap's.
    bool jump(const QString& keyID);

    /// Publishes `text` as lastOutcome on the main thread; texts arrive in report order.
    /// Callable from any thread.
    void report(const QString& text);

    /// Installs the keyboard tap and runs it on the thread "kestavon.hotkey.tap". While the
    /// tap cannot be installed, publishes why and checks again every 3 seconds, starting on its
    /// own once it can. `silent` is the timer's retry: no prompt, no messages. Does
    /// nothing once started. Main thread.
    void start(bool silent);
    /// Whether the permission re-check timer runs. Main thread.
    bool isCheckingPermission() const { return permissionCheckTimer_ != nullptr; }

    /// Stores the installed tap and marks the monitor started, in one step.
    void setTap(std::shared_ptr<EventTap> tap);
    /// True once a tap is installed.
    bool isStarted() const;

    /// Replaces what a swallowed stroke does. Takes effect for strokes handed over after
    /// this call.
    void setStrokeExecution(StrokeExecution execution);

    /// The Command keys as the tap thread sees them. Event-tap thread only.
    const ModifierState& state() const { return state_; }
    /// The serial queue "kestavon.hotkey.execute" that runs the strokes.
    SerialQueue& queue() { return queue_; }
    /// Where strokes read the bindings file.
    const BindingsLookup& bindingsLookup() const { return *lookup_; }

signals:
    void lastOutcomeChanged();
    /// A result was published, whether or not its text differs from the last one's.
    void outcomeReported();
    void permissionIssueChanged();
    void keysTakenChanged();

private:
    Decision decideKeyDown(const TapEvent& event);
    Decision decideCommandKeyDown(const TapEvent& event, bool hit);
    Decision decideFlagsChanged(const TapEvent& event);
    Decision decideTapDisabled(std::uint32_t type);
    void enqueue(const QString& keyID, const AppEntry& entry);
    void runStroke(const QString& keyID, const AppEntry& entry);
    void setLastOutcome(const QString& text);
    void setPermissionIssue(std::optional<PermissionIssue> issue);
    void armPermissionCheck();
    void runTap(std::shared_ptr<EventTap> tap);

    std::optional<QString> lastOutcome_;
    std::optional<PermissionIssue> permissionIssue_;
    QStringList keysTaken_;
    bool triggerKeyTaken_ = false;
    QString bindingsPath_;
    HotkeyLog& log_;

    mutable std::mutex refsLock_;
    std::shared_ptr<EventTap> tap_;  // guarded by refsLock_
    bool started_ = false;           // guarded by refsLock_

    ModifierState state_;  // event-tap thread only
    std::unique_ptr<BindingsLookup> lookup_;  // event-tap thread only

    std::unique_ptr<RepeatingTimer> permissionCheckTimer_;  // main thread only
    std::thread tapThread_;

    StrokeExecution strokeExecution_;  // queue only
    bool inFlight_ = false;            // queue only

    // Declared last so that it is destroyed first: pending strokes are dropped and the
    // running one finishes while every member it uses still exists.
    SerialQueue queue_{QStringLiteral("kestavon.hotkey.execute")};
};
