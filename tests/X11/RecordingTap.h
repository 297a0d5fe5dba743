#pragma once

#include "Platform/X11/X11EventTap.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

/// An X11 keyboard tap on the test display, running on a thread of its own as the hotkey
/// monitor runs it, that counts the events it hears and answers them with `decide`.
class RecordingTap {
public:
    /// True swallows the event. Runs on the tap thread.
    using Decide = std::function<bool(std::uint32_t type, const TapEvent& event)>;

    /// Passes every event when `decide` is empty.
    explicit RecordingTap(Decide decide = {}) : decide_(std::move(decide)) {
        const TapOpening opening =
            X11EventTap::open(nullptr, [this](std::uint32_t type, const TapEvent& event) {
                {
                    std::lock_guard lock(mutex_);
                    ++heard_;
                }
                heardMore_.notify_all();
                return decide_ && decide_(type, event);
            });
        tap_ = opening.tap;
        failure_ = opening.failure;
        if (!tap_) return;
        // Before run() starts, so that the first key typed is already decided.
        tap_->setEnabled(true);
        thread_ = std::thread([this] { tap_->run(); });
    }
    ~RecordingTap() {
        if (tap_) tap_->stop();
        if (thread_.joinable()) thread_.join();
    }
    RecordingTap(const RecordingTap&) = delete;
    RecordingTap& operator=(const RecordingTap&) = delete;

    const std::shared_ptr<EventTap>& tap() const { return tap_; }
    /// Why there is no tap, when there is none.
    TapFailure failure() const { return failure_; }
    int heard() {
        std::lock_guard lock(mutex_);
        return heard_;
    }
    /// Waits until at least `count` events were heard in all.
    bool waitForEvents(int count) {
        std::unique_lock lock(mutex_);
        return heardMore_.wait_for(lock, std::chrono::seconds(5), [&] { return heard_ >= count; });
    }

private:
    Decide decide_;
    std::shared_ptr<EventTap> tap_;
    TapFailure failure_ = TapFailure::notPermitted;
    std::mutex mutex_;
    std::condition_variable heardMore_;
    int heard_ = 0;
    std::thread thread_;
};
