#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

/// A signal that fires once and can be waited for with a deadline: the hand-off between a
/// completion that arrives on some other thread and the caller waiting for it.
class OneShot {
public:
    void signal() {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        changed_.notify_all();
    }

    bool isSignalled() const {
        std::lock_guard lock(mutex_);
        return signalled_;
    }

    /// Blocks for real until signalled or `timeout` passed; true when signalled.
    bool waitFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return signalled_; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_ = false;
};
