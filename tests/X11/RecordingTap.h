#pragma once

#include "Platform/KeyboardTapPort.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

/// A keyboard tap running on a thread of its own, as the hotkey monitor runs it, with a
/// callback that records every event (with the time it arrived) and answers with `decide`.
class RecordingTap {
public:
    struct Event {
        std::uint32_t type = 0;
        TapEvent event;
        std::chrono::steady_clock::time_point at;
    };
    /// (type, key code, flags) of an event, for comparisons.
    using Seen = std::tuple<std::uint32_t, std::int64_t, std::uint64_t>;
    /// True swallows the event. Runs on the tap thread.
    using Decide = std::function<bool(std::uint32_t type, const TapEvent& event)>;
    using Create = std::function<TapOpening(KeyboardTapPort::Callback callback)>;

    /// Creates the tap with `create` and runs it; passes every event when `decide` is empty.
    explicit RecordingTap(const Create& create, Decide decide = {});
    /// Stops the tap and waits for its thread.
    ~RecordingTap();

    RecordingTap(const RecordingTap&) = delete;
    RecordingTap& operator=(const RecordingTap&) = delete;

    /// Whether the tap was created (and so runs).
    bool created() const { return tap_ != nullptr; }
    const std::shared_ptr<EventTap>& tap() const { return tap_; }
    /// Why there is no tap, when there is none.
    TapFailure failure() const { return failure_; }

    /// Waits until at least `count` events were recorded in all.
    bool waitForEvents(std::size_t count, int timeoutMs = 5000);
    std::vector<Event> events() const;
    std::vector<Seen> seen() const;
    /// Stops the tap and waits for run() to return; false when it did not in time.
    bool stop(int timeoutMs = 5000);

    /// Swallows the key-down of this key code while Command is held; passes the rest.
    static Decide swallowKey(std::int64_t keyCode);

private:
    Decide decide_;
    std::shared_ptr<EventTap> tap_;
    TapFailure failure_ = TapFailure::notPermitted;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Event> events_;
    bool finished_ = false;
    std::thread thread_;
};
