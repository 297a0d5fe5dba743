#pragma once

#include "Platform/KeyboardTapPort.h"
#include "SwayEventStream.h"

#include <atomic>

/// The keyboard tap on sway: sway's binding events for Kestavon's `nop kestavon <key>`
/// bindings, each handed to the hotkey decision as the right Super key going down, the key's
/// key-down with the right Command flags, and the right Super key going up. sway has already
/// taken the key by then, so the decision's answer changes nothing here; keys without a
/// binding are not bound in sway and reach the focused window.
class SwayEventTap final : public EventTap {
public:
    /// Subscribes to sway's binding events; nothing when sway does not answer.
    static std::shared_ptr<SwayEventTap> open(const QString& socketPath, KeyboardTapPort::Callback callback);

    void setEnabled(bool enabled) override { enabled_ = enabled; }
    /// Delivers strokes until stop() or until sway ends.
    void run() override;
    void stop() override { stream_.stop(); }

    /// Delivers the stroke a binding event's payload names; false when it names none of ours.
    bool deliver(const QByteArray& bindingEvent);

private:
    SwayEventTap(SwayEventStream stream, KeyboardTapPort::Callback callback)
        : stream_(std::move(stream)), callback_(std::move(callback)) {}

    SwayEventStream stream_;
    const KeyboardTapPort::Callback callback_;
    std::atomic<bool> enabled_{true};
};
