#include "MacWorkspace.h"

#include <AppKit/AppKit.h>

namespace {

std::optional<QString> textOf(NSString* _Nullable text) {
    if (text == nil) return std::nullopt;
    return QString::fromNSString(text);
}

RunningApplication describe(NSRunningApplication* application) {
    RunningApplication described;
    described.processIdentifier = application.processIdentifier;
    described.localizedName = textOf(application.localizedName);
    described.bundleIdentifier = textOf(application.bundleIdentifier);
    described.bundleURL = textOf(application.bundleURL.path);
    return described;
}

} // namespace

QList<RunningApplication> MacWorkspace::runningApplications() {
    QList<RunningApplication> applications;
    for (NSRunningApplication* application in NSWorkspace.sharedWorkspace.runningApplications)
        applications.append(describe(application));
    return applications;
}

std::optional<RunningApplication> MacWorkspace::runningApplication(std::int32_t pid) {
    NSRunningApplication* application = [NSRunningApplication runningApplicationWithProcessIdentifier:pid];
    if (application == nil) return std::nullopt;
    return describe(application);
}

std::optional<RunningApplication> MacWorkspace::frontmostApplication() {
    NSRunningApplication* application = NSWorkspace.sharedWorkspace.frontmostApplication;
    if (application == nil) return std::nullopt;
    return describe(application);
}

void MacWorkspace::openApplication(const QString& path, const OpenConfiguration& configuration,
                                   OpenCompletion completion) {
    NSWorkspaceOpenConfiguration* open = [NSWorkspaceOpenConfiguration configuration];
    open.createsNewApplicationInstance = configuration.createsNewApplicationInstance;
    open.activates = configuration.activates;
    void (^handler)(NSRunningApplication* _Nullable, NSError* _Nullable) = nil;
    if (completion) {
        // Called by the system on a thread of its choosing; the port says so to its callers.
        handler = ^(NSRunningApplication* _Nullable application, NSError* _Nullable error) {
          if (error != nil)
              completion(std::nullopt, QString::fromNSString(error.localizedDescription));
          else if (application != nil)
              completion(describe(application), std::nullopt);
          else
              completion(std::nullopt, std::nullopt);
        };
    }
    [NSWorkspace.sharedWorkspace openApplicationAtURL:[NSURL fileURLWithPath:path.toNSString()]
                                        configuration:open
                                    completionHandler:handler];
}

bool MacWorkspace::activate(std::int32_t pid) {
    NSRunningApplication* application = [NSRunningApplication runningApplicationWithProcessIdentifier:pid];
    if (application == nil) return false;
    return [application activateWithOptions:static_cast<NSApplicationActivationOptions>(0)];
}

void MacWorkspace::activateIgnoringOtherApps() {
    // macOS 14 replaced the forced activation with a cooperative one.
    if (@available(macOS 14.0, *))
        [NSApp activate];
    else
        [NSApp activateIgnoringOtherApps:YES];
}

bool MacWorkspace::openURL(const QString& url) {
    NSURL* address = [NSURL URLWithString:url.toNSString()];
    if (address == nil) return false;
    return [NSWorkspace.sharedWorkspace openURL:address];
}
