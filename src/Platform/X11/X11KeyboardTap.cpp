#include "X11KeyboardTap.h"

#include "Platform/X11/X11EventTap.h"

TapOpening X11KeyboardTap::createKeyboardTap(Callback callback) {
    if (waylandSession_) return {nullptr, TapFailure::unsupportedSession};
    return X11EventTap::open(nullptr, std::move(callback), clock_);
}
