#include "SerialQueue.h"

#include "Support/ThreadName.h"

SerialQueue::SerialQueue(QString label) : label_(std::move(label)) {
    worker_ = std::thread([this] { runLoop(); });
}

SerialQueue::~SerialQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        items_.clear();
    }
    wake_.notify_all();
    worker_.join();
}

void SerialQueue::async(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        items_.push_back(std::move(work));
    }
    wake_.notify_one();
}

void SerialQueue::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return (items_.empty() && !running_) || stopping_; });
}

bool SerialQueue::isCurrent() const { return std::this_thread::get_id() == worker_.get_id(); }

void SerialQueue::runLoop() {
    // The full label stays available through label() where the system shortens the name.
    ThreadName::setCurrent(label_);

    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !items_.empty() || stopping_; });
        if (stopping_) break;
        auto work = std::move(items_.front());
        items_.pop_front();
        running_ = true;
        lock.unlock();
        work();
        lock.lock();
        running_ = false;
        if (items_.empty()) idle_.notify_all();
    }
    running_ = false;
    idle_.notify_all();
}
