#pragma once
// AppKit: the application object, the workspace, running applications, screens and images, as
// far as the macOS backend uses them.
// https://developer.apple.com/documentation/appkit
#include <ApplicationServices/ApplicationServices.h>
#include <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

@class NSGraphicsContext;

// https://developer.apple.com/documentation/foundation/nssize
typedef CGSize NSSize;
// https://developer.apple.com/documentation/foundation/nsrect
typedef CGRect NSRect;

// https://developer.apple.com/documentation/appkit/nsresponder
@interface NSResponder : NSObject
@end

// https://developer.apple.com/documentation/appkit/nsapplication
@interface NSApplication : NSResponder
@property(class, readonly, strong) __kindof NSApplication* sharedApplication;
// https://developer.apple.com/documentation/appkit/nsapplication/activate(ignoringotherapps:)
- (void)activateIgnoringOtherApps:(BOOL)flag API_DEPRECATED("Use -activate", macos(10.0, 14.0));
// https://developer.apple.com/documentation/appkit/nsapplication/activate()
- (void)activate API_AVAILABLE(macos(14.0));
@end
// https://developer.apple.com/documentation/appkit/nsapp
extern "C" __kindof NSApplication* _Null_unspecified NSApp;

// https://developer.apple.com/documentation/appkit/nsapplication/activationoptions
typedef NS_OPTIONS(NSUInteger, NSApplicationActivationOptions){
    NSApplicationActivateAllWindows = 1 << 0,
    NSApplicationActivateIgnoringOtherApps API_DEPRECATED("no effect", macos(10.6, 14.0)) = 1 << 1,
};

// https://developer.apple.com/documentation/appkit/nsrunningapplication
@interface NSRunningApplication : NSObject
// https://developer.apple.com/documentation/appkit/nsrunningapplication/current
@property(class, readonly) NSRunningApplication* currentApplication;
// https://developer.apple.com/documentation/appkit/nsrunningapplication/init(processidentifier:)
+ (nullable instancetype)runningApplicationWithProcessIdentifier:(pid_t)pid;
@property(readonly) pid_t processIdentifier;
@property(nullable, readonly, copy) NSString* localizedName;
@property(nullable, readonly, copy) NSString* bundleIdentifier;
@property(nullable, readonly, copy) NSURL* bundleURL;
// https://developer.apple.com/documentation/appkit/nsrunningapplication/activate(options:)
- (BOOL)activateWithOptions:(NSApplicationActivationOptions)options;
@end

// https://developer.apple.com/documentation/appkit/nsworkspace/openconfiguration
API_AVAILABLE(macos(10.15))
@interface NSWorkspaceOpenConfiguration : NSObject
+ (instancetype)configuration;
// https://developer.apple.com/documentation/appkit/nsworkspace/openconfiguration/activates
@property BOOL activates;
// https://developer.apple.com/documentation/appkit/nsworkspace/openconfiguration/createsnewapplicationinstance
@property BOOL createsNewApplicationInstance;
@end

// https://developer.apple.com/documentation/appkit/nsimage
@interface NSImage : NSObject
@property NSSize size;
// https://developer.apple.com/documentation/appkit/nsimage/cgimage(forproposedrect:context:hints:)
- (nullable CGImageRef)CGImageForProposedRect:(nullable NSRect*)proposedDestRect
                                      context:(nullable NSGraphicsContext*)referenceContext
                                        hints:(nullable NSDictionary<NSString*, id>*)hints;
@end

// https://developer.apple.com/documentation/appkit/nsbitmapimagerep/filetype
typedef NS_ENUM(NSUInteger, NSBitmapImageFileType){
    NSBitmapImageFileTypeTIFF, NSBitmapImageFileTypeBMP, NSBitmapImageFileTypeGIF,
    NSBitmapImageFileTypeJPEG, NSBitmapImageFileTypePNG, NSBitmapImageFileTypeJPEG2000,
};
// https://developer.apple.com/documentation/appkit/nsbitmapimagerep/propertykey
typedef NSString* NSBitmapImageRepPropertyKey;

// https://developer.apple.com/documentation/appkit/nsimagerep
@interface NSImageRep : NSObject
@end

// https://developer.apple.com/documentation/appkit/nsbitmapimagerep
@interface NSBitmapImageRep : NSImageRep
// https://developer.apple.com/documentation/appkit/nsbitmapimagerep/init(cgimage:)
- (instancetype)initWithCGImage:(CGImageRef)cgImage;
// https://developer.apple.com/documentation/appkit/nsbitmapimagerep/representation(using:properties:)
- (nullable NSData*)representationUsingType:(NSBitmapImageFileType)storageType
                                 properties:(NSDictionary<NSBitmapImageRepPropertyKey, id>*)properties;
@end

// https://developer.apple.com/documentation/appkit/nsworkspace
@interface NSWorkspace : NSObject
@property(class, readonly, strong) NSWorkspace* sharedWorkspace;
// https://developer.apple.com/documentation/appkit/nsworkspace/runningapplications
@property(readonly, copy) NSArray<NSRunningApplication*>* runningApplications;
// https://developer.apple.com/documentation/appkit/nsworkspace/frontmostapplication
@property(nullable, readonly, strong) NSRunningApplication* frontmostApplication;
// https://developer.apple.com/documentation/appkit/nsworkspace/openapplication(at:configuration:completionhandler:)
- (void)openApplicationAtURL:(NSURL*)applicationURL
               configuration:(NSWorkspaceOpenConfiguration*)configuration
           completionHandler:(void (^_Nullable)(NSRunningApplication* _Nullable app,
                                                NSError* _Nullable error))completionHandler
    API_AVAILABLE(macos(10.15));
// https://developer.apple.com/documentation/appkit/nsworkspace/open(_:)
- (BOOL)openURL:(NSURL*)url;
// https://developer.apple.com/documentation/appkit/nsworkspace/icon(forfile:)
- (NSImage*)iconForFile:(NSString*)fullPath;
@end

// https://developer.apple.com/documentation/appkit/nsscreen
@interface NSScreen : NSObject
// https://developer.apple.com/documentation/appkit/nsscreen/screens
@property(class, readonly, copy) NSArray<NSScreen*>* screens;
// https://developer.apple.com/documentation/appkit/nsscreen/devicedescription
@property(readonly, copy) NSDictionary<NSString*, id>* deviceDescription;
// https://developer.apple.com/documentation/appkit/nsscreen/localizedname
@property(readonly, copy) NSString* localizedName API_AVAILABLE(macos(10.15));
@end

NS_ASSUME_NONNULL_END
