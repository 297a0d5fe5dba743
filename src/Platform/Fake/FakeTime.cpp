#include "FakeTime.h"

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

void FakeTime::advance(std::chrono::milliseconds duration) {
    std::lock_guard lock(mutex_);
    elapsed_ += duration;
}

std::chrono::milliseconds FakeTime::slept() const {
    std::lock_guard lock(mutex_);
    return slept_;
}

int FakeTime::sleepCount() const {
    std::lock_guard lock(mutex_);
    return sleepCount_;
}
