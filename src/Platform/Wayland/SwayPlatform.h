#pragma once

#include "Platform/Platform.h"

#include <QString>

#include <memory>

class SwayIpc;
class SystemTime;
class SwayWindowServer;
class SwaySpaceSwitcher;
class SwayWindowOperations;
class SwayKeyboardTap;
class SwayWorkspace;
class DesktopEntryBundles;

/// The real platform in a sway session: sway's IPC for windows, workspaces, focus and the
/// keys; desktop entries and GIO for applications.
class SwayPlatform final : public Platform {
public:
    /// Connects to sway's IPC socket ($SWAYSOCK); null, with the reason, when it does not answer.
    static std::unique_ptr<SwayPlatform> create(QString* whyNot);
    ~SwayPlatform() override;

    TimePort& time() override;
    WindowServerPort& windowServer() override;
    SpaceSwitcherPort& spaceSwitcher() override;
    WindowOperationsPort& windowOperations() override;
    KeyboardTapPort& keyboardTap() override;
    BundlePort& bundles() override;
    WorkspacePort& workspace() override;
    UpdaterPort& updater() override;
    const PlatformWords& words() override;

private:
    SwayPlatform() = default;

    std::unique_ptr<SwayIpc> ipc_;
    std::unique_ptr<SystemTime> time_;
    std::unique_ptr<SwayWindowServer> windowServer_;
    std::unique_ptr<SwaySpaceSwitcher> spaceSwitcher_;
    std::unique_ptr<SwayWindowOperations> windowOperations_;
    std::unique_ptr<SwayKeyboardTap> keyboardTap_;
    std::unique_ptr<SwayWorkspace> workspace_;
    std::unique_ptr<DesktopEntryBundles> bundles_;
    std::unique_ptr<UpdaterPort> updater_;
};
