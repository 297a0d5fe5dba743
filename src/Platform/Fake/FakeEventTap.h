#pragma once

#include "Platform/KeyboardTapPort.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

/// An event tap that records what was asked of it. While run() runs on a thread, events
/// given to deliver() reach the callback on that thread, as a real tap's do.
class FakeEventTap final : public EventTap {
public:
    explicit FakeEventTap(KeyboardTapPort::Callback callback = {}, std::vector<std::int64_t> keysTaken = {},
                          bool triggerKeyTaken = false)
        : callback_(std::move(callback)), keysTaken_(std::move(keysTaken)),
          triggerKeyTaken_(triggerKeyTaken) {}
    ~FakeEventTap() override { stop(); }

    void setEnabled(bool enabled) override;
    void run() override;

    /// Every setEnabled argument, in call order.
    std::vector<bool> enableCalls() const;
    /// The last state asked for; false before any call.
    bool isEnabled() const;

    /// Hands one event to the running tap and waits for the callback's answer (true: swallowed).
    bool deliver(std::uint32_t type, const TapEvent& event);
    void stop() override;
    std::vector<std::int64_t> keysTaken() const override { return keysTaken_; }
    bool triggerKeyTaken() const override { return triggerKeyTaken_; }
    /// Whether run() is running.
    bool isRunning() const;

private:
    struct Pending {
        std::uint32_t type;
        TapEvent event;
        bool done = false;
        bool swallowed = false;
    };

    KeyboardTapPort::Callback callback_;
    const std::vector<std::int64_t> keysTaken_;
    const bool triggerKeyTaken_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> enableCalls_;
    std::deque<Pending*> pending_;
    bool running_ = false;
    bool stopping_ = false;
};
