#pragma once
// Core Graphics: geometry, Quartz Display Services, Quartz Window Services and Quartz Event
// Services, as far as the macOS backend uses them.
// https://developer.apple.com/documentation/coregraphics
#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN
CF_IMPLICIT_BRIDGING_ENABLED
CF_ASSUME_NONNULL_BEGIN

// <mach/arm/boolean.h>: an int on arm64.
// https://developer.apple.com/documentation/kernel/boolean_t
typedef int boolean_t;

// https://developer.apple.com/documentation/corefoundation/cgfloat
typedef double CGFloat;
// https://developer.apple.com/documentation/corefoundation/cgpoint
struct CGPoint {
    CGFloat x;
    CGFloat y;
};
typedef struct CGPoint CGPoint;
// https://developer.apple.com/documentation/corefoundation/cgsize
struct CGSize {
    CGFloat width;
    CGFloat height;
};
typedef struct CGSize CGSize;
// https://developer.apple.com/documentation/corefoundation/cgrect
struct CGRect {
    CGPoint origin;
    CGSize size;
};
typedef struct CGRect CGRect;

// https://developer.apple.com/documentation/coregraphics/cgerror
typedef CF_ENUM(int32_t, CGError){
    kCGErrorSuccess = 0,
    kCGErrorFailure = 1000,
    kCGErrorIllegalArgument = 1001,
    kCGErrorInvalidConnection = 1002,
    kCGErrorCannotComplete = 1004,
    kCGErrorNotImplemented = 1006,
    kCGErrorRangeCheck = 1007,
    kCGErrorTypeCheck = 1008,
    kCGErrorInvalidOperation = 1010,
    kCGErrorNoneAvailable = 1011,
};

// https://developer.apple.com/documentation/coregraphics/cgimage
typedef struct CF_BRIDGED_TYPE(id) CGImage* CGImageRef;

// Quartz Display Services https://developer.apple.com/documentation/coregraphics/quartz-display-services
// https://developer.apple.com/documentation/coregraphics/cgdirectdisplayid
typedef uint32_t CGDirectDisplayID;
// https://developer.apple.com/documentation/coregraphics/cggetactivedisplaylist(_:_:_:)
extern CGError CGGetActiveDisplayList(uint32_t maxDisplays, CGDirectDisplayID* _Nullable activeDisplays,
                                      uint32_t* _Nullable displayCount);
// https://developer.apple.com/documentation/coregraphics/cgdisplaybounds(_:)
extern CGRect CGDisplayBounds(CGDirectDisplayID display);
// https://developer.apple.com/documentation/coregraphics/cgdisplayismain(_:)
extern boolean_t CGDisplayIsMain(CGDirectDisplayID display);

// Quartz Window Services https://developer.apple.com/documentation/coregraphics/quartz-window-services
// https://developer.apple.com/documentation/coregraphics/cgwindowid
typedef uint32_t CGWindowID;
// https://developer.apple.com/documentation/coregraphics/kcgnullwindowid
#define kCGNullWindowID ((CGWindowID)0)
// https://developer.apple.com/documentation/coregraphics/cgwindowlistoption
typedef CF_OPTIONS(uint32_t, CGWindowListOption){
    kCGWindowListOptionAll = 0,
    kCGWindowListOptionOnScreenOnly = (1 << 0),
    kCGWindowListOptionOnScreenAboveWindow = (1 << 1),
    kCGWindowListOptionOnScreenBelowWindow = (1 << 2),
    kCGWindowListOptionIncludingWindow = (1 << 3),
    kCGWindowListExcludeDesktopElements = (1 << 4),
};
// https://developer.apple.com/documentation/coregraphics/cgwindowlistcopywindowinfo(_:_:)
extern CFArrayRef _Nullable CGWindowListCopyWindowInfo(CGWindowListOption option, CGWindowID relativeToWindow);

// Quartz Event Services https://developer.apple.com/documentation/coregraphics/quartz-event-services
// https://developer.apple.com/documentation/coregraphics/cgevent
typedef struct CF_BRIDGED_TYPE(id) __CGEvent* CGEventRef;
// https://developer.apple.com/documentation/coregraphics/cgeventsource
typedef struct CF_BRIDGED_TYPE(id) __CGEventSource* CGEventSourceRef;
// https://developer.apple.com/documentation/coregraphics/cgeventtapproxy
typedef struct __CGEventTapProxy* CGEventTapProxy;
// https://developer.apple.com/documentation/coregraphics/cgeventtype
typedef CF_ENUM(uint32_t, CGEventType){
    kCGEventNull = 0,
    kCGEventKeyDown = 10,
    kCGEventKeyUp = 11,
    kCGEventFlagsChanged = 12,
    kCGEventTapDisabledByTimeout = 0xFFFFFFFE,
    kCGEventTapDisabledByUserInput = 0xFFFFFFFF,
};
// https://developer.apple.com/documentation/coregraphics/cgeventmask
typedef uint64_t CGEventMask;
// https://developer.apple.com/documentation/coregraphics/cgeventmaskbit
#define CGEventMaskBit(eventType) ((CGEventMask)1 << (eventType))
// https://developer.apple.com/documentation/coregraphics/cgeventflags
typedef CF_OPTIONS(uint64_t, CGEventFlags){
    kCGEventFlagMaskAlphaShift = 0x00010000,
    kCGEventFlagMaskShift = 0x00020000,
    kCGEventFlagMaskControl = 0x00040000,
    kCGEventFlagMaskAlternate = 0x00080000,
    kCGEventFlagMaskCommand = 0x00100000,
};
// https://developer.apple.com/documentation/coregraphics/cgeventfield
typedef CF_ENUM(uint32_t, CGEventField){
    kCGKeyboardEventKeycode = 9,
};
// https://developer.apple.com/documentation/coregraphics/cgeventtaplocation
typedef CF_ENUM(uint32_t, CGEventTapLocation){
    kCGHIDEventTap = 0,
    kCGSessionEventTap,
    kCGAnnotatedSessionEventTap,
};
// https://developer.apple.com/documentation/coregraphics/cgeventtapplacement
typedef CF_ENUM(uint32_t, CGEventTapPlacement){
    kCGHeadInsertEventTap = 0,
    kCGTailAppendEventTap,
};
// https://developer.apple.com/documentation/coregraphics/cgeventtapoptions
typedef CF_ENUM(uint32_t, CGEventTapOptions){
    kCGEventTapOptionDefault = 0x00000000,
    kCGEventTapOptionListenOnly = 0x00000001,
};
// https://developer.apple.com/documentation/coregraphics/cgeventtapcallback
typedef CGEventRef _Nullable (*CGEventTapCallBack)(CGEventTapProxy proxy, CGEventType type, CGEventRef event,
                                                   void* _Nullable userInfo);
// https://developer.apple.com/documentation/coregraphics/cgeventtapcreate(_:_:_:_:_:_:)
extern CFMachPortRef _Nullable CGEventTapCreate(CGEventTapLocation tap, CGEventTapPlacement place,
                                                CGEventTapOptions options, CGEventMask eventsOfInterest,
                                                CGEventTapCallBack callback, void* _Nullable userInfo);
// https://developer.apple.com/documentation/coregraphics/cgeventtapenable(_:_:)
extern void CGEventTapEnable(CFMachPortRef tap, bool enable);
// https://developer.apple.com/documentation/coregraphics/cgeventcreate(_:)
extern CGEventRef _Nullable CGEventCreate(CGEventSourceRef _Nullable source);
// https://developer.apple.com/documentation/coregraphics/cgeventgetlocation(_:)
extern CGPoint CGEventGetLocation(CGEventRef _Nullable event);
// https://developer.apple.com/documentation/coregraphics/cgeventgetflags(_:)
extern CGEventFlags CGEventGetFlags(CGEventRef _Nullable event);
// https://developer.apple.com/documentation/coregraphics/cgeventgetintegervaluefield(_:_:)
extern int64_t CGEventGetIntegerValueField(CGEventRef _Nullable event, CGEventField field);
// https://developer.apple.com/documentation/coregraphics/cgeventsetintegervaluefield(_:_:_:)
extern void CGEventSetIntegerValueField(CGEventRef _Nullable event, CGEventField field, int64_t value);
// https://developer.apple.com/documentation/coregraphics/cgeventsetdoublevaluefield(_:_:_:)
extern void CGEventSetDoubleValueField(CGEventRef _Nullable event, CGEventField field, double value);
// https://developer.apple.com/documentation/coregraphics/cgeventpost(_:_:)
extern void CGEventPost(CGEventTapLocation tap, CGEventRef _Nullable event);
// https://developer.apple.com/documentation/coregraphics/cgwarpmousecursorposition(_:)
extern CGError CGWarpMouseCursorPosition(CGPoint newCursorPosition);

CF_ASSUME_NONNULL_END
CF_IMPLICIT_BRIDGING_DISABLED
CF_EXTERN_C_END
