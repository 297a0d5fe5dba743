#pragma once

#include "Platform/Platform.h"
#include "Platform/X11/X11Words.h"

#include <QString>

#include <memory>

class SystemTime;
class X11Connection;
class X11WindowServer;
class X11SpaceSwitcher;
class X11WindowOperations;
class X11KeyboardTap;
class X11Workspace;
class DesktopEntryBundles;
class UpdaterPort;

/// The real Linux platform: an X11 session with an EWMH window manager.
class X11Platform final : public Platform {
public:
    /// Connects to the X display; null, with the reason, when there is none (no DISPLAY, or
    /// a Wayland session without an X server). In a Wayland session no backend serves
    /// (`waylandSession`) the windows are listed through its X server, but the hotkeys are off.
    static std::unique_ptr<X11Platform> create(bool waylandSession, QString* whyNot);
    ~X11Platform() override;

    TimePort& time() override;
    WindowServerPort& windowServer() override;
    SpaceSwitcherPort& spaceSwitcher() override;
    WindowOperationsPort& windowOperations() override;
    KeyboardTapPort& keyboardTap() override;
    BundlePort& bundles() override;
    WorkspacePort& workspace() override;
    UpdaterPort& updater() override;
    const PlatformWords& words() override { return x11Words(); }

private:
    X11Platform() = default;

    std::unique_ptr<SystemTime> time_;
    std::unique_ptr<X11Connection> connection_;
    std::unique_ptr<X11WindowServer> windowServer_;
    std::unique_ptr<X11SpaceSwitcher> spaceSwitcher_;
    std::unique_ptr<X11WindowOperations> windowOperations_;
    std::unique_ptr<X11KeyboardTap> keyboardTap_;
    std::unique_ptr<X11Workspace> workspace_;
    std::unique_ptr<DesktopEntryBundles> bundles_;
    std::unique_ptr<UpdaterPort> updater_;
};
