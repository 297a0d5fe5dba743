#include "FakeEventTap.h"

void FakeEventTap::setEnabled(bool enabled) {
    std::lock_guard lock(mutex_);
    enableCalls_.push_back(enabled);
}

std::vector<bool> FakeEventTap::enableCalls() const {
    std::lock_guard lock(mutex_);
    return enableCalls_;
}

bool FakeEventTap::isEnabled() const {
    std::lock_guard lock(mutex_);
    return !enableCalls_.empty() && enableCalls_.back();
}

void FakeEventTap::run() {
    std::unique_lock lock(mutex_);
    running_ = true;
    changed_.notify_all();
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
        if (stopping_) break;
        Pending* next = pending_.front();
        pending_.pop_front();
        lock.unlock();
        const bool swallowed = callback_ ? callback_(next->type, next->event) : false;
        lock.lock();
        next->swallowed = swallowed;
        next->done = true;
        changed_.notify_all();
    }
    running_ = false;
    changed_.notify_all();
}

bool FakeEventTap::deliver(std::uint32_t type, const TapEvent& event) {
    Pending pending{type, event};
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return running_ || stopping_; });
    if (stopping_) return false;
    pending_.push_back(&pending);
    changed_.notify_all();
    changed_.wait(lock, [&] { return pending.done || stopping_; });
    if (!pending.done) std::erase(pending_, &pending);
    return pending.swallowed;
}

void FakeEventTap::stop() {
    std::unique_lock lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !running_; });
}

bool FakeEventTap::isRunning() const {
    std::lock_guard lock(mutex_);
    return running_;
}
