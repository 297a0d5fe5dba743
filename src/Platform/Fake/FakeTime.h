#pragma once

#include "Platform/TimePort.h"

#include <memory>
#include <mutex>
#include <vector>

/// Virtual time: sleeping and waiting advance the clock at once, so polling loops and
/// deadlines run without waiting. Timers fire only when a test moves the clock with
/// advance(), on the test's (main) thread, as they would on the main event loop.
class FakeTime final : public TimePort {
public:
    void sleep(std::chrono::milliseconds duration) override;
    double now() override;
    QDateTime currentDate() override;
    /// Signalled already: true at once. Otherwise the whole timeout passes.
    bool wait(OneShot& signal, std::chrono::milliseconds timeout) override;
    std::unique_ptr<RepeatingTimer> scheduleRepeating(std::chrono::milliseconds interval,
                                                      std::function<void()> fire) override;

    /// Moves the clock forward, firing the timers that fall due on the way.
    void advance(std::chrono::milliseconds duration);
    /// Total time spent in sleep() and wait() since creation.
    std::chrono::milliseconds slept() const;
    /// Number of sleep() calls since creation.
    int sleepCount() const;
    /// Timers scheduled and not invalidated.
    int activeTimerCount() const;

private:
    struct Timer;
    class Handle;

    mutable std::mutex mutex_;
    std::chrono::milliseconds elapsed_{0};
    std::chrono::milliseconds slept_{0};
    int sleepCount_ = 0;
    std::vector<std::shared_ptr<Timer>> timers_;
    QDateTime origin_ = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9, 123));
};
