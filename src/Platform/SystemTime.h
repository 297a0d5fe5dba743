#pragma once

#include "Platform/TimePort.h"

/// The real clock, shared by the real backends.
class SystemTime final : public TimePort {
public:
    void sleep(std::chrono::milliseconds duration) override;
    double now() override;
    QDateTime currentDate() override;
    bool wait(OneShot& signal, std::chrono::milliseconds timeout) override;
    std::unique_ptr<RepeatingTimer> scheduleRepeating(std::chrono::milliseconds interval,
                                                      std::function<void()> fire) override;
};
