#pragma once

class AccessibilityPort;
class BundlePort;
class DisplayPort;
class EventTapPort;
class SkyLightPort;
class TimePort;
class UpdaterPort;
class WindowListPort;
class WorkspacePort;

/// The platform services the logic runs on. One backend is installed for the whole process
/// at start-up (the real one in the app, a Fake one in tests).
class Platform {
public:
    virtual ~Platform() = default;

    /// Clock, sleep, waits and timers.
    virtual TimePort& time() = 0;
    /// The public window list.
    virtual WindowListPort& windowList() = 0;
    /// The active displays and screens.
    virtual DisplayPort& displays() = 0;
    /// The private window-server framework (Spaces).
    virtual SkyLightPort& skyLight() = 0;
    /// Accessibility: trust and other applications' windows.
    virtual AccessibilityPort& accessibility() = 0;
    /// The keyboard tap, synthetic events and the pointer.
    virtual EventTapPort& eventTap() = 0;
    /// Installed application bundles.
    virtual BundlePort& bundles() = 0;
    /// Running applications, activation, opening applications and URLs.
    virtual WorkspacePort& workspace() = 0;
    /// The update framework.
    virtual UpdaterPort& updater() = 0;

    /// The installed platform. Installing one is the first thing the program does.
    static Platform& current();
    /// Whether a platform is installed.
    static bool isInstalled();
    /// Installs `platform` (not owned) for the whole process; nullptr uninstalls.
    static void install(Platform* platform);
};
