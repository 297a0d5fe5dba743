#pragma once

#include "Platform/X11/X11EventTap.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

/// An X11 keyboard tap running on a thread of its own, as the hotkey monitor runs it, with a
/// callback that records every event and answers with `decide`.
class RecordingTap {
public:
    /// (type, key code, flags) of an event.
    using Seen = std::tuple<std::uint32_t, std::int64_t, std::uint64_t>;
    /// True swallows the event. Runs on the tap thread.
    using Decide = std::function<bool(std::uint32_t type, const TapEvent& event)>;

    /// Opens the tap on `display` (DISPLAY when null) and runs it; passes every event when
    /// `decide` is empty.
    explicit RecordingTap(Decide decide = {}, const char* display = nullptr) : decide_(std::move(decide)) {
        const TapOpening opening =
            X11EventTap::open(display, [this](std::uint32_t type, const TapEvent& event) {
                {
                    std::lock_guard lock(mutex_);
                    seen_.emplace_back(type, event.keyCode, event.flags);
                }
                changed_.notify_all();
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

    /// Waits until at least `count` events were recorded in all.
    bool waitForEvents(std::size_t count, int limitMs = 5000) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(limitMs),
                                 [&] { return seen_.size() >= count; });
    }
    std::vector<Seen> seen() const {
        std::lock_guard lock(mutex_);
        return seen_;
    }

    /// Swallows the key-down of this key code while Command is held; passes the rest.
    static Decide swallowKey(std::int64_t keyCode) {
        return [keyCode](std::uint32_t type, const TapEvent& event) {
            return type == EventType::keyDown && event.keyCode == keyCode &&
                   (event.flags & EventFlag::command);
        };
    }

private:
    Decide decide_;
    std::shared_ptr<EventTap> tap_;
    TapFailure failure_ = TapFailure::notPermitted;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Seen> seen_;
    std::thread thread_;
};
