#pragma once

#include "Platform/Platform.h"

#include <memory>

class MacBundles;
class MacKeyboardTap;
class MacSpaceSwitcher;
class MacSystemCalls;
class MacWindowOperations;
class MacWindowServer;
class MacWorkspace;
class SparkleUpdater;
class SystemTime;

/// The real macOS platform: the window-server mechanisms over the system calls, the keyboard
/// tap, the workspace, installed bundles, Sparkle, and a Mac's words.
class MacPlatform final : public Platform {
public:
    MacPlatform();
    ~MacPlatform() override;

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
    std::unique_ptr<SystemTime> time_;
    std::unique_ptr<MacSystemCalls> system_;
    std::unique_ptr<MacWindowServer> windowServer_;
    std::unique_ptr<MacSpaceSwitcher> spaceSwitcher_;
    std::unique_ptr<MacWindowOperations> windowOperations_;
    std::unique_ptr<MacKeyboardTap> keyboardTap_;
    std::unique_ptr<MacBundles> bundles_;
    std::unique_ptr<MacWorkspace> workspace_;
    std::unique_ptr<SparkleUpdater> updater_;
};
