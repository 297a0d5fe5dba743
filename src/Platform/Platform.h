#pragma once

struct PlatformWords;
class BundlePort;
class KeyboardTapPort;
class SpaceSwitcherPort;
class TimePort;
class UpdaterPort;
class WindowOperationsPort;
class WindowServerPort;
class WorkspacePort;

/// The platform services the logic runs on. One backend is installed for the whole process
/// at start-up (the real one in the app, a Fake one in tests).
class Platform {
public:
    virtual ~Platform() = default;

    /// Clock, sleep, waits and timers.
    virtual TimePort& time() = 0;
    /// Windows, displays and Spaces.
    virtual WindowServerPort& windowServer() = 0;
    /// Making a Space current.
    virtual SpaceSwitcherPort& spaceSwitcher() = 0;
    /// Trust, and operations on other applications' windows.
    virtual WindowOperationsPort& windowOperations() = 0;
    /// The keyboard tap.
    virtual KeyboardTapPort& keyboardTap() = 0;
    /// Installed applications.
    virtual BundlePort& bundles() = 0;
    /// Running applications, activation, opening applications and URLs.
    virtual WorkspacePort& workspace() = 0;
    /// Update checks.
    virtual UpdaterPort& updater() = 0;
    /// The platform's own words for the trigger key and its failures.
    virtual const PlatformWords& words() = 0;

    /// The installed platform. Installing one is the first thing the program does.
    static Platform& current();
    /// Whether a platform is installed.
    static bool isInstalled();
    /// Installs `platform` (not owned) for the whole process; nullptr uninstalls.
    static void install(Platform* platform);
};
