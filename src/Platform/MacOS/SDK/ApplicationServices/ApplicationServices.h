#pragma once
// Application Services: Core Graphics, ColorSync and the Accessibility calls of HIServices.
// https://developer.apple.com/documentation/applicationservices
// https://developer.apple.com/documentation/applicationservices/axuielement_h
#include <ColorSync/ColorSync.h>
#include <CoreGraphics/CoreGraphics.h>
#include <sys/types.h>

CF_EXTERN_C_BEGIN
CF_IMPLICIT_BRIDGING_ENABLED
CF_ASSUME_NONNULL_BEGIN

// https://developer.apple.com/documentation/applicationservices/axuielement
typedef const struct CF_BRIDGED_TYPE(id) __AXUIElement* AXUIElementRef;
// https://developer.apple.com/documentation/applicationservices/axvalue
typedef const struct CF_BRIDGED_TYPE(id) __AXValue* AXValueRef;
// https://developer.apple.com/documentation/applicationservices/axerror
typedef CF_ENUM(int32_t, AXError){
    kAXErrorSuccess = 0,
    kAXErrorFailure = -25200,
    kAXErrorIllegalArgument = -25201,
    kAXErrorInvalidUIElement = -25202,
    kAXErrorCannotComplete = -25204,
    kAXErrorAttributeUnsupported = -25205,
    kAXErrorAPIDisabled = -25211,
    kAXErrorNoValue = -25212,
};
// https://developer.apple.com/documentation/applicationservices/axvaluetype
typedef CF_ENUM(UInt32, AXValueType){
    kAXValueTypeCGPoint = 1,
    kAXValueTypeCGSize = 2,
    kAXValueTypeCGRect = 3,
    kAXValueTypeCFRange = 4,
    kAXValueTypeAXError = 5,
    kAXValueTypeIllegal = 0,
};

// https://developer.apple.com/documentation/applicationservices/axisprocesstrusted()
extern Boolean AXIsProcessTrusted(void);
// https://developer.apple.com/documentation/applicationservices/axisprocesstrustedwithoptions(_:)
extern Boolean AXIsProcessTrustedWithOptions(CFDictionaryRef _Nullable options) API_AVAILABLE(macos(10.9));
// https://developer.apple.com/documentation/applicationservices/kaxtrustedcheckoptionprompt
extern const CFStringRef kAXTrustedCheckOptionPrompt API_AVAILABLE(macos(10.9));

// https://developer.apple.com/documentation/applicationservices/axuielementgettypeid()
extern CFTypeID AXUIElementGetTypeID(void);
// https://developer.apple.com/documentation/applicationservices/axuielementcreateapplication(_:)
extern AXUIElementRef AXUIElementCreateApplication(pid_t pid);
// https://developer.apple.com/documentation/applicationservices/axuielementcopyattributevalue(_:_:_:)
extern AXError AXUIElementCopyAttributeValue(AXUIElementRef element, CFStringRef attribute,
                                             CFTypeRef _Nullable* _Nonnull value);
// https://developer.apple.com/documentation/applicationservices/axuielementsetattributevalue(_:_:_:)
extern AXError AXUIElementSetAttributeValue(AXUIElementRef element, CFStringRef attribute, CFTypeRef value);

// https://developer.apple.com/documentation/applicationservices/axvaluegettypeid()
extern CFTypeID AXValueGetTypeID(void);
// https://developer.apple.com/documentation/applicationservices/axvaluegettype(_:)
extern AXValueType AXValueGetType(AXValueRef value);
// https://developer.apple.com/documentation/applicationservices/axvaluegetvalue(_:_:_:)
extern Boolean AXValueGetValue(AXValueRef value, AXValueType theType, void* valuePtr);

CF_ASSUME_NONNULL_END
CF_IMPLICIT_BRIDGING_DISABLED
CF_EXTERN_C_END
