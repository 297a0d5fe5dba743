#include "MacKeyboardTap.h"

#include <ApplicationServices/ApplicationServices.h>

#include <mutex>

static_assert(MacKeyboardTap::eventMask == (CGEventMaskBit(kCGEventKeyDown) | CGEventMaskBit(kCGEventFlagsChanged)));
static_assert(MacKeyboardTap::eventMask == 0x1400);

namespace {

class MacEventTap final : public EventTap {
public:
    explicit MacEventTap(KeyboardTapPort::Callback callback) : callback_(std::move(callback)) {}

    ~MacEventTap() override {
        if (port_ == nullptr) return;
        CFMachPortInvalidate(port_);
        CFRelease(port_);
    }

    bool install() {
        port_ = CGEventTapCreate(kCGSessionEventTap, kCGHeadInsertEventTap, kCGEventTapOptionDefault,
                                 MacKeyboardTap::eventMask, &MacEventTap::deliver, this);
        return port_ != nullptr;
    }

    void setEnabled(bool enabled) override { CGEventTapEnable(port_, enabled); }

    // Runs the calling thread's own run loop with the tap as its source, until stop().
    void run() override {
        CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, port_, 0);
        if (source == nullptr) return;
        CFRunLoopRef loop = CFRunLoopGetCurrent();
        {
            std::lock_guard lock(mutex_);
            if (stopped_) {
                CFRelease(source);
                return;
            }
            runLoop_ = loop;
        }
        CFRunLoopAddSource(loop, source, kCFRunLoopCommonModes);
        CFRunLoopRun();
        CFRunLoopRemoveSource(loop, source, kCFRunLoopCommonModes);
        CFRelease(source);
    }

    void stop() override {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        if (runLoop_ != nullptr) CFRunLoopStop(runLoop_);
    }

private:
    // Called on the tap's thread for every event; no event is the event dropped.
    static CGEventRef _Nullable deliver(CGEventTapProxy, CGEventType type, CGEventRef event, void* _Nullable userInfo) {
        if (userInfo == nullptr) return event;
        auto* tap = static_cast<MacEventTap*>(userInfo);
        const TapEvent read{CGEventGetIntegerValueField(event, kCGKeyboardEventKeycode), CGEventGetFlags(event)};
        return tap->callback_(type, read) ? nullptr : event;
    }

    KeyboardTapPort::Callback callback_;
    CFMachPortRef _Nullable port_ = nullptr;
    std::mutex mutex_;
    CFRunLoopRef _Nullable runLoop_ = nullptr;
    bool stopped_ = false;
};

} // namespace

TapOpening MacKeyboardTap::createKeyboardTap(Callback callback) {
    auto tap = std::make_shared<MacEventTap>(std::move(callback));
    // Refused without Input Monitoring even when the process is trusted.
    if (!tap->install()) return TapOpening{nullptr, TapFailure::notPermitted};
    return TapOpening{std::move(tap), TapFailure::notPermitted};
}
