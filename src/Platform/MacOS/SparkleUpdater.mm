#include "SparkleUpdater.h"

#include <Foundation/Foundation.h>
#include <Sparkle/Sparkle.h>

/// Passes the updater's delegate messages on to the application's delegate.
@interface KestavonUpdaterDelegate : NSObject <SPUUpdaterDelegate>
- (instancetype)initWithDelegate:(UpdaterDelegate*)delegate;
@end

@implementation KestavonUpdaterDelegate {
    UpdaterDelegate* _delegate;
}

- (instancetype)initWithDelegate:(UpdaterDelegate*)delegate {
    self = [super init];
    if (self != nil) _delegate = delegate;
    return self;
}

- (nullable NSString*)feedURLStringForUpdater:(SPUUpdater*)updater {
    const std::optional<QString> address = _delegate->feedAddress();
    return address ? address->toNSString() : nil;
}

- (void)updaterDidNotFindUpdate:(SPUUpdater*)updater {
    _delegate->noUpdateFound();
}

- (void)updater:(SPUUpdater*)updater willDownloadUpdate:(SUAppcastItem*)item withRequest:(NSMutableURLRequest*)request {
    _delegate->downloadStarting();
}

- (void)updater:(SPUUpdater*)updater didDownloadUpdate:(SUAppcastItem*)item {
    _delegate->downloadFinished();
}

- (void)updater:(SPUUpdater*)updater failedToDownloadUpdate:(SUAppcastItem*)item error:(NSError*)error {
    _delegate->downloadFailed(QString::fromNSString(error.localizedDescription));
}

- (void)updater:(SPUUpdater*)updater
    didFinishUpdateCycleForUpdateCheck:(SPUUpdateCheck)updateCheck
                                 error:(nullable NSError*)error {
    _delegate->checkFinished(error != nil ? std::optional(QString::fromNSString(error.localizedDescription))
                                                        : std::nullopt);
}

@end

// The controller and the delegate, which the controller holds only weakly.
struct SparkleUpdater::Objects {
    SPUStandardUpdaterController* controller = nil;
    KestavonUpdaterDelegate* delegate = nil;
};

SparkleUpdater::SparkleUpdater() = default;

SparkleUpdater::~SparkleUpdater() = default;

std::optional<QString> SparkleUpdater::startUpdater(UpdaterDelegate& delegate) {
    if (objects_) return std::nullopt;
    auto objects = std::make_unique<Objects>();
    objects->delegate = [[KestavonUpdaterDelegate alloc] initWithDelegate:&delegate];
    // Started below rather than by the controller, so that a refusal comes back as an error
    // instead of the framework's own alert.
    objects->controller = [[SPUStandardUpdaterController alloc] initWithStartingUpdater:NO
                                                                        updaterDelegate:objects->delegate
                                                                     userDriverDelegate:nil];
    NSError* error = nil;
    if (![objects->controller.updater startUpdater:&error])
        return error != nil ? QString::fromNSString(error.localizedDescription)
                            : QStringLiteral("The updater did not start.");
    objects_ = std::move(objects);
    return std::nullopt;
}

void SparkleUpdater::checkForUpdates() {
    if (objects_) [objects_->controller.updater checkForUpdates];
}
