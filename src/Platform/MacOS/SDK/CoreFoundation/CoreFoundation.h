#pragma once
// Core Foundation: the types, ownership rules and calls the macOS backend uses.
// https://developer.apple.com/documentation/corefoundation
// Ownership: a function whose name holds "Create" or "Copy" returns an object the caller owns
// and must release.
// https://developer.apple.com/library/archive/documentation/CoreFoundation/Conceptual/CFMemoryMgmt/Concepts/Ownership.html
#include <TargetConditionals.h>
#include <os/availability.h>
#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
#define CF_EXTERN_C_BEGIN extern "C" {
#define CF_EXTERN_C_END }
#else
#define CF_EXTERN_C_BEGIN
#define CF_EXTERN_C_END
#endif
#define CF_EXPORT extern
#define CF_INLINE static inline __attribute__((always_inline))
#define CF_RETURNS_RETAINED __attribute__((cf_returns_retained))
#define CF_RETURNS_NOT_RETAINED __attribute__((cf_returns_not_retained))
#define CF_CONSUMED __attribute__((cf_consumed))
#define CF_BRIDGED_TYPE(T) __attribute__((objc_bridge(T)))
#define CF_BRIDGED_MUTABLE_TYPE(T) __attribute__((objc_bridge_mutable(T)))
#define CF_IMPLICIT_BRIDGING_ENABLED _Pragma("clang arc_cf_code_audited begin")
#define CF_IMPLICIT_BRIDGING_DISABLED _Pragma("clang arc_cf_code_audited end")
#define CF_ASSUME_NONNULL_BEGIN _Pragma("clang assume_nonnull begin")
#define CF_ASSUME_NONNULL_END _Pragma("clang assume_nonnull end")
#define CF_ENUM(type, name) enum name : type name; enum name : type
#define CF_OPTIONS(type, name) type name; enum : type

CF_EXTERN_C_BEGIN
CF_IMPLICIT_BRIDGING_ENABLED
CF_ASSUME_NONNULL_BEGIN

// MacTypes.h https://developer.apple.com/documentation/kernel/uint32
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;
// https://developer.apple.com/documentation/kernel/boolean
typedef unsigned char Boolean;

// CFBase https://developer.apple.com/documentation/corefoundation/cftyperef
typedef const void* CFTypeRef;
// https://developer.apple.com/documentation/corefoundation/cfindex
typedef signed long CFIndex;
// https://developer.apple.com/documentation/corefoundation/cftypeid
typedef unsigned long CFTypeID;
// https://developer.apple.com/documentation/corefoundation/cfoptionflags
typedef unsigned long CFOptionFlags;
// https://developer.apple.com/documentation/corefoundation/cfallocator
typedef const struct CF_BRIDGED_TYPE(id) __CFAllocator* CFAllocatorRef;
// https://developer.apple.com/documentation/corefoundation/cfstring
typedef const struct CF_BRIDGED_TYPE(NSString) __CFString* CFStringRef;
// https://developer.apple.com/documentation/corefoundation/cfarray
typedef const struct CF_BRIDGED_TYPE(NSArray) __CFArray* CFArrayRef;
// https://developer.apple.com/documentation/corefoundation/cfdictionary
typedef const struct CF_BRIDGED_TYPE(NSDictionary) __CFDictionary* CFDictionaryRef;
// https://developer.apple.com/documentation/corefoundation/cfnumber
typedef const struct CF_BRIDGED_TYPE(NSNumber) __CFNumber* CFNumberRef;
// https://developer.apple.com/documentation/corefoundation/cfboolean
typedef const struct CF_BRIDGED_TYPE(NSNumber) __CFBoolean* CFBooleanRef;
// https://developer.apple.com/documentation/corefoundation/cfuuid
typedef const struct CF_BRIDGED_TYPE(id) __CFUUID* CFUUIDRef;
// https://developer.apple.com/documentation/corefoundation/cfmachport
typedef struct CF_BRIDGED_MUTABLE_TYPE(NSMachPort) __CFMachPort* CFMachPortRef;
// https://developer.apple.com/documentation/corefoundation/cfrunloop
typedef struct CF_BRIDGED_MUTABLE_TYPE(id) __CFRunLoop* CFRunLoopRef;
// https://developer.apple.com/documentation/corefoundation/cfrunloopsource
typedef struct CF_BRIDGED_MUTABLE_TYPE(id) __CFRunLoopSource* CFRunLoopSourceRef;
// https://developer.apple.com/documentation/corefoundation/cfrunloopmode
typedef CFStringRef CFRunLoopMode;

// https://developer.apple.com/documentation/corefoundation/kcfallocatordefault
CF_EXPORT const CFAllocatorRef _Nullable kCFAllocatorDefault;

// https://developer.apple.com/documentation/corefoundation/cfrelease(_:)
CF_EXPORT void CFRelease(CFTypeRef cf);
// https://developer.apple.com/documentation/corefoundation/cfretain(_:)
CF_EXPORT CFTypeRef CFRetain(CFTypeRef cf);
// https://developer.apple.com/documentation/corefoundation/cfgettypeid(_:)
CF_EXPORT CFTypeID CFGetTypeID(CFTypeRef cf);

// https://developer.apple.com/documentation/corefoundation/cfstringgettypeid()
CF_EXPORT CFTypeID CFStringGetTypeID(void);
// https://developer.apple.com/documentation/corefoundation/cfstringgetlength(_:)
CF_EXPORT CFIndex CFStringGetLength(CFStringRef theString);

// https://developer.apple.com/documentation/corefoundation/cfarraygettypeid()
CF_EXPORT CFTypeID CFArrayGetTypeID(void);
// https://developer.apple.com/documentation/corefoundation/cfarraygetcount(_:)
CF_EXPORT CFIndex CFArrayGetCount(CFArrayRef theArray);
// https://developer.apple.com/documentation/corefoundation/cfarraygetvalueatindex(_:_:)
CF_EXPORT const void* _Nullable CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx);

// https://developer.apple.com/documentation/corefoundation/cfdictionarygettypeid()
CF_EXPORT CFTypeID CFDictionaryGetTypeID(void);
// https://developer.apple.com/documentation/corefoundation/cfdictionarygetcount(_:)
CF_EXPORT CFIndex CFDictionaryGetCount(CFDictionaryRef theDict);
// https://developer.apple.com/documentation/corefoundation/cfdictionarygetkeysandvalues(_:_:_:)
CF_EXPORT void CFDictionaryGetKeysAndValues(CFDictionaryRef theDict, const void* _Nullable* _Nullable keys,
                                            const void* _Nullable* _Nullable values);

// https://developer.apple.com/documentation/corefoundation/cfnumbertype
typedef CF_ENUM(CFIndex, CFNumberType){
    kCFNumberSInt8Type = 1,   kCFNumberSInt16Type = 2,    kCFNumberSInt32Type = 3,
    kCFNumberSInt64Type = 4,  kCFNumberFloat32Type = 5,   kCFNumberFloat64Type = 6,
    kCFNumberCharType = 7,    kCFNumberShortType = 8,     kCFNumberIntType = 9,
    kCFNumberLongType = 10,   kCFNumberLongLongType = 11, kCFNumberFloatType = 12,
    kCFNumberDoubleType = 13, kCFNumberCFIndexType = 14,  kCFNumberNSIntegerType = 15,
    kCFNumberCGFloatType = 16, kCFNumberMaxType = 16,
};
// https://developer.apple.com/documentation/corefoundation/cfnumbergettypeid()
CF_EXPORT CFTypeID CFNumberGetTypeID(void);
// https://developer.apple.com/documentation/corefoundation/cfnumberisfloattype(_:)
CF_EXPORT Boolean CFNumberIsFloatType(CFNumberRef number);
// https://developer.apple.com/documentation/corefoundation/cfnumbergetvalue(_:_:_:)
CF_EXPORT Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr);

// https://developer.apple.com/documentation/corefoundation/kcfbooleanfalse
CF_EXPORT const CFBooleanRef kCFBooleanTrue;
CF_EXPORT const CFBooleanRef kCFBooleanFalse;
// https://developer.apple.com/documentation/corefoundation/cfbooleangettypeid()
CF_EXPORT CFTypeID CFBooleanGetTypeID(void);
// https://developer.apple.com/documentation/corefoundation/cfbooleangetvalue(_:)
CF_EXPORT Boolean CFBooleanGetValue(CFBooleanRef boolean);

// https://developer.apple.com/documentation/corefoundation/cfuuidcreatestring(_:_:)
CF_EXPORT CFStringRef _Nullable CFUUIDCreateString(CFAllocatorRef _Nullable alloc, CFUUIDRef uuid);

// https://developer.apple.com/documentation/corefoundation/cfmachportinvalidate(_:)
CF_EXPORT void CFMachPortInvalidate(CFMachPortRef port);
// https://developer.apple.com/documentation/corefoundation/cfmachportcreaterunloopsource(_:_:_:)
CF_EXPORT CFRunLoopSourceRef _Nullable CFMachPortCreateRunLoopSource(CFAllocatorRef _Nullable allocator,
                                                                     CFMachPortRef port, CFIndex order);

// https://developer.apple.com/documentation/corefoundation/kcfrunloopcommonmodes
CF_EXPORT const CFRunLoopMode kCFRunLoopCommonModes;
// https://developer.apple.com/documentation/corefoundation/cfrunloopgetcurrent()
CF_EXPORT CFRunLoopRef CFRunLoopGetCurrent(void);
// https://developer.apple.com/documentation/corefoundation/cfrunloopaddsource(_:_:_:)
CF_EXPORT void CFRunLoopAddSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFRunLoopMode mode);
// https://developer.apple.com/documentation/corefoundation/cfrunloopremovesource(_:_:_:)
CF_EXPORT void CFRunLoopRemoveSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFRunLoopMode mode);
// https://developer.apple.com/documentation/corefoundation/cfrunlooprun()
CF_EXPORT void CFRunLoopRun(void);
// https://developer.apple.com/documentation/corefoundation/cfrunloopstop(_:)
CF_EXPORT void CFRunLoopStop(CFRunLoopRef rl);

CF_ASSUME_NONNULL_END
CF_IMPLICIT_BRIDGING_DISABLED
CF_EXTERN_C_END
