#pragma once

#include <QString>

/// The permission the event tap is missing. The main window offers to open the matching
/// privacy pane of System Settings while one is published.
enum class PermissionIssue {
    /// The process is not trusted for Accessibility.
    accessibility,
    /// Trusted, but the event tap still cannot be created.
    inputMonitoring,
};

/// The System Settings address of the privacy pane that grants the permission.
inline QString settingsURL(PermissionIssue issue) {
    switch (issue) {
    case PermissionIssue::accessibility:
        return QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
    case PermissionIssue::inputMonitoring:
        return QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy_ListenEvent");
    }
    return {};
}
