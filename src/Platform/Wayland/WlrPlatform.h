#pragma once

#include "Platform/Platform.h"

#include <QString>

#include <memory>

class SystemTime;
class WlrToplevels;
class WlrWindowServer;
class WlrSpaceSwitcher;
class WlrWindowOperations;
class WlrKeyboardTap;
class WlrWorkspace;
class DesktopEntryBundles;

/// The real platform on a wlroots compositor other than sway: its toplevel list for windows
/// and activation, desktop entries and GIO for applications, and the keys through the
/// compositor's own bindings running `kestavon --jump`.
class WlrPlatform final : public Platform {
public:
    /// Connects to $WAYLAND_DISPLAY; null, with the reason, when the compositor offers no
    /// toplevel list.
    static std::unique_ptr<WlrPlatform> create(QString* whyNot);
    ~WlrPlatform() override;

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
    WlrPlatform() = default;

    std::unique_ptr<WlrToplevels> toplevels_;
    std::unique_ptr<SystemTime> time_;
    std::unique_ptr<WlrWindowServer> windowServer_;
    std::unique_ptr<WlrSpaceSwitcher> spaceSwitcher_;
    std::unique_ptr<WlrWindowOperations> windowOperations_;
    std::unique_ptr<WlrKeyboardTap> keyboardTap_;
    std::unique_ptr<WlrWorkspace> workspace_;
    std::unique_ptr<DesktopEntryBundles> bundles_;
    std::unique_ptr<UpdaterPort> updater_;
};
