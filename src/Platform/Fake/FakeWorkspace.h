#pragma once

#include "Platform/WorkspacePort.h"

class FakeDesktop;

/// Running applications, activation and launching on a FakeDesktop, with the scripted
/// behaviours: activation at once, after a virtual delay or never; launches that succeed,
/// fail with a message, return no instance or never answer.
class FakeWorkspace final : public WorkspacePort {
public:
    explicit FakeWorkspace(FakeDesktop& desktop) : desktop_(desktop) {}

    QList<RunningApplication> runningApplications() override;
    std::optional<RunningApplication> runningApplication(std::int32_t pid) override;
    std::optional<RunningApplication> frontmostApplication() override;
    void openApplication(const QString& path, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    bool activate(std::int32_t pid) override;
    void activateIgnoringOtherApps() override;
    bool openURL(const QString& url) override;

private:
    FakeDesktop& desktop_;
};
