#include "RecordingTap.h"

RecordingTap::RecordingTap(const Create& create, Decide decide) : decide_(std::move(decide)) {
    const TapOpening opening = create([this](std::uint32_t type, const TapEvent& event) {
        const auto at = std::chrono::steady_clock::now();
        {
            std::lock_guard lock(mutex_);
            events_.push_back({type, event, at});
        }
        changed_.notify_all();
        return decide_ ? decide_(type, event) : false;
    });
    tap_ = opening.tap;
    failure_ = opening.failure;
    if (!tap_) return;
    // Here, not on the thread: a test may turn it off before the thread gets going.
    tap_->setEnabled(true);
    thread_ = std::thread([this] {
        tap_->run();
        std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    });
}

RecordingTap::~RecordingTap() {
    if (tap_) tap_->stop();
    if (thread_.joinable()) thread_.join();
}

bool RecordingTap::waitForEvents(std::size_t count, int timeoutMs) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return events_.size() >= count; });
}

std::vector<RecordingTap::Event> RecordingTap::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

std::vector<RecordingTap::Seen> RecordingTap::seen() const {
    std::vector<Seen> seen;
    for (const Event& e : events())
        seen.emplace_back(e.type, e.event.keyCode, e.event.flags);
    return seen;
}

bool RecordingTap::stop(int timeoutMs) {
    if (!tap_) return true;
    tap_->stop();
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return finished_; }))
        return false;
    lock.unlock();
    thread_.join();
    return true;
}

RecordingTap::Decide RecordingTap::swallowKey(std::int64_t keyCode) {
    return [keyCode](std::uint32_t type, const TapEvent& event) {
        return type == EventType::keyDown && event.keyCode == keyCode && (event.flags & EventFlag::command);
    };
}
