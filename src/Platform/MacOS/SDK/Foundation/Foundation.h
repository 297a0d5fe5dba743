#pragma once
// Foundation: the root class and the few classes the macOS backend uses.
// https://developer.apple.com/documentation/foundation
#include <CoreFoundation/CoreFoundation.h>
#include <objc/objc.h>

#define NS_ASSUME_NONNULL_BEGIN _Pragma("clang assume_nonnull begin")
#define NS_ASSUME_NONNULL_END _Pragma("clang assume_nonnull end")
#define NS_INLINE static inline __attribute__((always_inline))
#define NS_RETURNS_RETAINED __attribute__((ns_returns_retained))
#define NS_UNAVAILABLE __attribute__((unavailable))
#define NS_DESIGNATED_INITIALIZER __attribute__((objc_designated_initializer))
#define NS_ENUM(type, name) CF_ENUM(type, name)
#define NS_OPTIONS(type, name) CF_OPTIONS(type, name)
#define NS_TYPED_EXTENSIBLE_ENUM __attribute__((swift_wrapper(struct)))
#define FOUNDATION_EXPORT extern "C"

NS_ASSUME_NONNULL_BEGIN

// https://developer.apple.com/documentation/objectivec/nsinteger
typedef long NSInteger;
// https://developer.apple.com/documentation/objectivec/nsuinteger
typedef unsigned long NSUInteger;
// https://developer.apple.com/documentation/foundation/nstimeinterval
typedef double NSTimeInterval;

@class NSString, NSError, NSURL;

// https://developer.apple.com/documentation/objectivec/nsobjectprotocol
@protocol NSObject
- (BOOL)isEqual:(nullable id)object;
@property(readonly) NSUInteger hash;
- (BOOL)isKindOfClass:(Class)aClass;
- (BOOL)respondsToSelector:(SEL)aSelector;
@end

// https://developer.apple.com/documentation/objectivec/nsobject
__attribute__((objc_root_class))
@interface NSObject <NSObject> {
    Class isa;
}
+ (instancetype)alloc;
+ (instancetype)new;
- (instancetype)init;
+ (Class)class;
@end

// https://developer.apple.com/documentation/foundation/nscopying
@protocol NSCopying
- (id)copyWithZone:(nullable struct _NSZone*)zone;
@end

// https://developer.apple.com/documentation/foundation/nsfastenumerationstate
typedef struct {
    unsigned long state;
    __unsafe_unretained id _Nullable* _Nullable itemsPtr;
    unsigned long* _Nullable mutationsPtr;
    unsigned long extra[5];
} NSFastEnumerationState;

// https://developer.apple.com/documentation/foundation/nsfastenumeration
@protocol NSFastEnumeration
- (NSUInteger)countByEnumeratingWithState:(NSFastEnumerationState*)state
                                  objects:(__unsafe_unretained id _Nullable[_Nonnull])buffer
                                    count:(NSUInteger)len;
@end

// https://developer.apple.com/documentation/foundation/nsstring
@interface NSString : NSObject <NSCopying>
@property(readonly) NSUInteger length;
@end

// https://developer.apple.com/documentation/foundation/nsarray
@interface NSArray<__covariant ObjectType> : NSObject <NSCopying, NSFastEnumeration>
@property(readonly) NSUInteger count;
- (ObjectType)objectAtIndex:(NSUInteger)index;
+ (instancetype)arrayWithObjects:(const ObjectType _Nonnull[_Nonnull])objects count:(NSUInteger)cnt;
@end

// https://developer.apple.com/documentation/foundation/nsmutablearray
@interface NSMutableArray<ObjectType> : NSArray <ObjectType>
+ (instancetype)arrayWithCapacity:(NSUInteger)numItems;
- (void)addObject:(ObjectType)anObject;
@end

// https://developer.apple.com/documentation/foundation/nsdictionary
@interface NSDictionary<__covariant KeyType, __covariant ObjectType> : NSObject <NSCopying, NSFastEnumeration>
@property(readonly) NSUInteger count;
- (nullable ObjectType)objectForKey:(KeyType)aKey;
+ (instancetype)dictionaryWithObjects:(const ObjectType _Nonnull[_Nullable])objects
                              forKeys:(const KeyType<NSCopying> _Nonnull[_Nullable])keys
                                count:(NSUInteger)cnt;
@end

// https://developer.apple.com/documentation/foundation/nsnumber
@interface NSNumber : NSObject <NSCopying>
+ (NSNumber*)numberWithBool:(BOOL)value;
+ (NSNumber*)numberWithUnsignedInt:(unsigned int)value;
@end

// https://developer.apple.com/documentation/foundation/nsdata
@interface NSData : NSObject <NSCopying>
@property(readonly) NSUInteger length;
// https://developer.apple.com/documentation/foundation/nsdata/write(tofile:atomically:)
- (BOOL)writeToFile:(NSString*)path atomically:(BOOL)useAuxiliaryFile;
@end

// https://developer.apple.com/documentation/foundation/nsurl
@interface NSURL : NSObject <NSCopying>
// https://developer.apple.com/documentation/foundation/nsurl/init(fileurlwithpath:)
+ (NSURL*)fileURLWithPath:(NSString*)path;
// https://developer.apple.com/documentation/foundation/nsurl/init(string:)
+ (nullable instancetype)URLWithString:(NSString*)URLString;
@property(nullable, readonly, copy) NSString* path;
@end

// https://developer.apple.com/documentation/foundation/nsmutableurlrequest
@interface NSMutableURLRequest : NSObject
@end

// https://developer.apple.com/documentation/foundation/nserror
@interface NSError : NSObject <NSCopying>
@property(readonly, copy) NSString* localizedDescription;
@end

// https://developer.apple.com/documentation/foundation/nsbundle
@interface NSBundle : NSObject
@property(class, readonly, strong) NSBundle* mainBundle;
// https://developer.apple.com/documentation/foundation/bundle/init(path:)
+ (nullable instancetype)bundleWithPath:(NSString*)path;
// https://developer.apple.com/documentation/foundation/bundle/infodictionary
@property(nullable, readonly, copy) NSDictionary<NSString*, id>* infoDictionary;
// https://developer.apple.com/documentation/foundation/bundle/localizedinfodictionary
@property(nullable, readonly, copy) NSDictionary<NSString*, id>* localizedInfoDictionary;
@end

// https://developer.apple.com/documentation/foundation/nsfilemanager
@interface NSFileManager : NSObject
@property(class, readonly, strong) NSFileManager* defaultManager;
// https://developer.apple.com/documentation/foundation/filemanager/contentsofdirectory(atpath:)
- (nullable NSArray<NSString*>*)contentsOfDirectoryAtPath:(NSString*)path error:(NSError**)error;
@end

// https://developer.apple.com/documentation/foundation/nsuserdefaults
@interface NSUserDefaults : NSObject
@property(class, readonly, strong) NSUserDefaults* standardUserDefaults;
// https://developer.apple.com/documentation/foundation/userdefaults/set(_:forkey:)
- (void)setObject:(nullable id)value forKey:(NSString*)defaultName;
@end

// https://developer.apple.com/documentation/foundation/cfbridgingrelease
NS_INLINE id _Nullable CFBridgingRelease(CFTypeRef CF_CONSUMED _Nullable X) {
    return (__bridge_transfer id)X;
}
// https://developer.apple.com/documentation/foundation/cfbridgingretain
NS_INLINE CF_RETURNS_RETAINED CFTypeRef _Nullable CFBridgingRetain(id _Nullable X) {
    return (__bridge_retained CFTypeRef)X;
}

NS_ASSUME_NONNULL_END
