#pragma once

#include "Platform/TimePort.h"

/// Time that passes only by sleeping, at once; counts the sleeps.
class VirtualTime final : public TimePort {
public:
    std::chrono::milliseconds slept{0};
    int sleeps = 0;

    void sleep(std::chrono::milliseconds duration) override { slept += duration, ++sleeps; }
    double now() override { return std::chrono::duration<double>(slept).count(); }
    QDateTime currentDate() override { return QDateTime::fromMSecsSinceEpoch(slept.count()); }
    bool wait(OneShot&, std::chrono::milliseconds timeout) override { return sleep(timeout), false; }
    std::unique_ptr<RepeatingTimer> scheduleRepeating(std::chrono::milliseconds,
                                                      std::function<void()>) override {
        return nullptr;
    }
};
