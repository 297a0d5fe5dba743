#pragma once

#include "Platform/TimePort.h"

#include <mutex>

/// Virtual time: sleeping advances the clock at once, so polling loops and deadlines run
/// without waiting. Tests can also move the clock forward themselves.
class FakeTime final : public TimePort {
public:
    void sleep(std::chrono::milliseconds duration) override;
    double now() override;
    QDateTime currentDate() override;

    /// Moves the clock forward without sleeping.
    void advance(std::chrono::milliseconds duration);
    /// Total time spent in sleep() since creation.
    std::chrono::milliseconds slept() const;
    /// Number of sleep() calls since creation.
    int sleepCount() const;

private:
    mutable std::mutex mutex_;
    std::chrono::milliseconds elapsed_{0};
    std::chrono::milliseconds slept_{0};
    int sleepCount_ = 0;
    QDateTime origin_ = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9, 123));
};
