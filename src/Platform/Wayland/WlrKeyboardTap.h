#pragma once

#include "Platform/KeyboardTapPort.h"

/// A wlroots compositor lets no client watch the keyboard: the keys reach Kestavon through
/// the compositor's own bindings running `kestavon --jump KEY`, so no tap is ever made.
class WlrKeyboardTap final : public KeyboardTapPort {
public:
    TapOpening createKeyboardTap(Callback) override { return {nullptr, TapFailure::jumpBindingNeeded}; }
};
