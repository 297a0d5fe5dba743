#pragma once

#include "Platform/WorkspacePort.h"

/// The workspace on macOS: running applications, the frontmost one, activation, and opening
/// applications and URLs (NSWorkspace, NSRunningApplication).
class MacWorkspace final : public WorkspacePort {
public:
    QList<RunningApplication> runningApplications() override;
    std::optional<RunningApplication> runningApplication(std::int32_t pid) override;
    std::optional<RunningApplication> frontmostApplication() override;
    void openApplication(const QString& path, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    bool activate(std::int32_t pid) override;
    void activateIgnoringOtherApps() override;
    bool openURL(const QString& url) override;
};
