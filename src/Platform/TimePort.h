#pragma once

#include <QDateTime>

#include <chrono>

/// The clock and the sleep that every polling loop and deadline uses, so that tests can run
/// them in virtual time.
class TimePort {
public:
    virtual ~TimePort() = default;

    /// Blocks the calling thread for the given duration.
    virtual void sleep(std::chrono::milliseconds duration) = 0;
    /// Seconds on a monotonic clock, for measuring how long something took.
    virtual double now() = 0;
    /// The current date and time of the wall clock.
    virtual QDateTime currentDate() = 0;
};
