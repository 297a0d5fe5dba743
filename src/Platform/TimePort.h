#pragma once

#include <QDateTime>

#include <chrono>
#include <functional>
#include <memory>

class OneShot;

/// A timer that fires repeatedly until it is invalidated or destroyed.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
    /// Stops the timer for good.
    virtual void invalidate() = 0;
};

/// The clock, the sleep, the waits and the timers that every polling loop and deadline
/// uses, so that tests can run them in virtual time.
class TimePort {
public:
    virtual ~TimePort() = default;

    /// Blocks the calling thread for the given duration.
    virtual void sleep(std::chrono::milliseconds duration) = 0;
    /// Seconds on a monotonic clock, for measuring how long something took.
    virtual double now() = 0;
    /// The current date and time of the wall clock.
    virtual QDateTime currentDate() = 0;
    /// Blocks until `signal` fires or `timeout` passes; true when it fired.
    virtual bool wait(OneShot& signal, std::chrono::milliseconds timeout) = 0;
    /// Calls `fire` every `interval` on the calling thread's event loop (the main thread's).
    virtual std::unique_ptr<RepeatingTimer> scheduleRepeating(std::chrono::milliseconds interval,
                                                              std::function<void()> fire) = 0;
};
