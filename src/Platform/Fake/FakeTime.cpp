#include "FakeTime.h"

#include "Support/OneShot.h"

#include <algorithm>

struct FakeTime::Timer {
    std::chrono::milliseconds interval;
    std::chrono::milliseconds due;
    std::function<void()> fire;
    bool valid = true;
};

class FakeTime::Handle final : public RepeatingTimer {
public:
    Handle(FakeTime& time, std::shared_ptr<Timer> timer) : time_(time), timer_(std::move(timer)) {}
    ~Handle() override { invalidate(); }
    void invalidate() override {
        std::lock_guard lock(time_.mutex_);
        timer_->valid = false;
    }

private:
    FakeTime& time_;
    std::shared_ptr<Timer> timer_;
};

void FakeTime::sleep(std::chrono::milliseconds duration) {
    std::lock_guard lock(mutex_);
    elapsed_ += duration;
    slept_ += duration;
    ++sleepCount_;
}

double FakeTime::now() {
    std::lock_guard lock(mutex_);
    return std::chrono::duration<double>(elapsed_).count();
}

QDateTime FakeTime::currentDate() {
    std::lock_guard lock(mutex_);
    return origin_.addMSecs(elapsed_.count());
}

bool FakeTime::wait(OneShot& signal, std::chrono::milliseconds timeout) {
    if (signal.isSignalled()) return true;
    std::lock_guard lock(mutex_);
    elapsed_ += timeout;
    slept_ += timeout;
    return false;
}

std::unique_ptr<RepeatingTimer> FakeTime::scheduleRepeating(std::chrono::milliseconds interval,
                                                            std::function<void()> fire) {
    auto timer = std::make_shared<Timer>();
    timer->interval = interval;
    timer->fire = std::move(fire);
    std::lock_guard lock(mutex_);
    timer->due = elapsed_ + interval;
    timers_.push_back(timer);
    return std::make_unique<Handle>(*this, timer);
}

void FakeTime::advance(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    const auto end = elapsed_ + duration;
    for (;;) {
        // The earliest valid timer due by `end`; fired without the lock so it may schedule,
        // invalidate or read the clock.
        std::shared_ptr<Timer> next;
        for (const auto& timer : timers_)
            if (timer->valid && timer->due <= end && (!next || timer->due < next->due)) next = timer;
        if (!next) break;
        elapsed_ = std::max(elapsed_, next->due);
        next->due += next->interval;
        lock.unlock();
        next->fire();
        lock.lock();
    }
    elapsed_ = std::max(elapsed_, end);
    std::erase_if(timers_, [](const auto& timer) { return !timer->valid; });
}

std::chrono::milliseconds FakeTime::slept() const {
    std::lock_guard lock(mutex_);
    return slept_;
}

int FakeTime::sleepCount() const {
    std::lock_guard lock(mutex_);
    return sleepCount_;
}

int FakeTime::activeTimerCount() const {
    std::lock_guard lock(mutex_);
    return int(std::count_if(timers_.begin(), timers_.end(), [](const auto& t) { return t->valid; }));
}
