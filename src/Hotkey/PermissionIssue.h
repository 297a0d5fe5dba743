#pragma once

#include "Platform/KeyboardTapPort.h"
#include "Platform/PlatformWords.h"

/// Why the hotkeys are not listening. The main window shows the platform's words for it and,
/// where the platform has settings that fix it, a button that opens them.
enum class PermissionIssue {
    /// The process is not trusted to watch the keyboard (Accessibility on a Mac).
    accessibility,
    /// Trusted, but the system still refuses the tap (Input Monitoring on a Mac).
    inputMonitoring,
    /// A desktop session no backend serves, such as Wayland.
    unsupportedSession,
    /// No display to connect to.
    noDisplay,
    /// Other programs hold every key the hotkeys need.
    keysTaken,
    /// The desktop needs Kestavon's own set-up before it hands over the keys.
    setUpNeeded,
    /// The desktop's own key bindings must run `kestavon --jump KEY`.
    jumpBindingNeeded,
};

/// The issue a refused tap leaves.
inline PermissionIssue issueFor(TapFailure failure) {
    switch (failure) {
    case TapFailure::notPermitted:
        return PermissionIssue::inputMonitoring;
    case TapFailure::unsupportedSession:
        return PermissionIssue::unsupportedSession;
    case TapFailure::noDisplay:
        return PermissionIssue::noDisplay;
    case TapFailure::keysTaken:
        return PermissionIssue::keysTaken;
    case TapFailure::setUpNeeded:
        return PermissionIssue::setUpNeeded;
    case TapFailure::jumpBindingNeeded:
        return PermissionIssue::jumpBindingNeeded;
    }
    return PermissionIssue::inputMonitoring;
}

/// What the window says about `issue`, in the platform's words.
inline const TroubleWords& troubleWords(PermissionIssue issue, const PlatformWords& words) {
    switch (issue) {
    case PermissionIssue::accessibility:
        return words.notTrusted;
    case PermissionIssue::inputMonitoring:
        return words.notPermitted;
    case PermissionIssue::unsupportedSession:
        return words.unsupportedSession;
    case PermissionIssue::noDisplay:
        return words.noDisplay;
    case PermissionIssue::keysTaken:
        return words.allKeysTaken;
    case PermissionIssue::setUpNeeded:
        return words.setUpNeeded;
    case PermissionIssue::jumpBindingNeeded:
        return words.jumpBindingNeeded;
    }
    return words.notPermitted;
}
