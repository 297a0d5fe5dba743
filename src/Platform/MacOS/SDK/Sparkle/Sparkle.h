#pragma once
// Sparkle 2: the standard updater controller, its updater and the updater's delegate.
// https://sparkle-project.org/documentation/api-reference/
#include <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

@class SUAppcastItem;
@protocol SPUStandardUserDriverDelegate;

// https://sparkle-project.org/documentation/api-reference/Enums/SPUUpdateCheck.html
typedef NS_ENUM(NSInteger, SPUUpdateCheck){
    SPUUpdateCheckUpdates = 0,
    SPUUpdateCheckUpdatesInBackground = 1,
    SPUUpdateCheckUpdateInformation = 2,
};

// https://sparkle-project.org/documentation/api-reference/Classes/SPUUpdater.html
@interface SPUUpdater : NSObject
// https://sparkle-project.org/documentation/api-reference/Classes/SPUUpdater.html#/c:objc(cs)SPUUpdater(im)startUpdater:
- (BOOL)startUpdater:(NSError* __autoreleasing _Nullable* _Nullable)error;
// https://sparkle-project.org/documentation/api-reference/Classes/SPUUpdater.html#/c:objc(cs)SPUUpdater(im)checkForUpdates
- (void)checkForUpdates;
@end

// https://sparkle-project.org/documentation/api-reference/Protocols/SPUUpdaterDelegate.html
@protocol SPUUpdaterDelegate <NSObject>
@optional
// #/c:objc(pl)SPUUpdaterDelegate(im)feedURLStringForUpdater:
- (nullable NSString*)feedURLStringForUpdater:(SPUUpdater*)updater;
// #/c:objc(pl)SPUUpdaterDelegate(im)updaterDidNotFindUpdate:
- (void)updaterDidNotFindUpdate:(SPUUpdater*)updater;
// #/c:objc(pl)SPUUpdaterDelegate(im)updater:willDownloadUpdate:withRequest:
- (void)updater:(SPUUpdater*)updater willDownloadUpdate:(SUAppcastItem*)item withRequest:(NSMutableURLRequest*)request;
// #/c:objc(pl)SPUUpdaterDelegate(im)updater:didDownloadUpdate:
- (void)updater:(SPUUpdater*)updater didDownloadUpdate:(SUAppcastItem*)item;
// #/c:objc(pl)SPUUpdaterDelegate(im)updater:failedToDownloadUpdate:error:
- (void)updater:(SPUUpdater*)updater failedToDownloadUpdate:(SUAppcastItem*)item error:(NSError*)error;
// #/c:objc(pl)SPUUpdaterDelegate(im)updater:didFinishUpdateCycleForUpdateCheck:error:
- (void)updater:(SPUUpdater*)updater
    didFinishUpdateCycleForUpdateCheck:(SPUUpdateCheck)updateCheck
                                 error:(nullable NSError*)error;
@end

// https://sparkle-project.org/documentation/api-reference/Classes/SPUStandardUpdaterController.html
@interface SPUStandardUpdaterController : NSObject
// #/c:objc(cs)SPUStandardUpdaterController(im)initWithStartingUpdater:updaterDelegate:userDriverDelegate:
- (instancetype)initWithStartingUpdater:(BOOL)startUpdater
                        updaterDelegate:(nullable id<SPUUpdaterDelegate>)updaterDelegate
                     userDriverDelegate:(nullable id<SPUStandardUserDriverDelegate>)userDriverDelegate;
- (instancetype)init NS_UNAVAILABLE;
// #/c:objc(cs)SPUStandardUpdaterController(py)updater
@property(nonatomic, readonly) SPUUpdater* updater;
@end

NS_ASSUME_NONNULL_END
