#pragma once
// ColorSync: the display UUID, which names a display in the window server's Space lists.
// https://developer.apple.com/documentation/colorsync
#include <CoreGraphics/CoreGraphics.h>

CF_EXTERN_C_BEGIN
CF_IMPLICIT_BRIDGING_ENABLED
CF_ASSUME_NONNULL_BEGIN

// https://developer.apple.com/documentation/colorsync/cgdisplaycreateuuidfromdisplayid(_:)
extern CFUUIDRef _Nullable CGDisplayCreateUUIDFromDisplayID(uint32_t displayID);

CF_ASSUME_NONNULL_END
CF_IMPLICIT_BRIDGING_DISABLED
CF_EXTERN_C_END
