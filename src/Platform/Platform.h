#pragma once

class TimePort;

/// The platform services the logic runs on. One backend is installed for the whole process
/// at start-up (the real one in the app, a Fake one in tests).
class Platform {
public:
    virtual ~Platform() = default;

    /// Clock and sleep.
    virtual TimePort& time() = 0;

    /// The installed platform. Installing one is the first thing the program does.
    static Platform& current();
    /// Whether a platform is installed.
    static bool isInstalled();
    /// Installs `platform` (not owned) for the whole process; nullptr uninstalls.
    static void install(Platform* platform);
};
