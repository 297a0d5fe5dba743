#pragma once

#include <QString>

/// One headless sway for the whole program (WLR_BACKENDS=headless, the pixman renderer, no
/// input devices, a private XDG_RUNTIME_DIR), whose configuration includes Kestavon's sway
/// snippet; started on first use and ended with the program. sway refuses to run as root:
/// under root it runs as the system user `kestavon-test`, made when missing. Sets SWAYSOCK,
/// WAYLAND_DISPLAY and QT_QPA_PLATFORM for the program and the applications it starts.
class SwaySession {
public:
    static SwaySession& shared();
    ~SwaySession();

    /// Why there is no sway, empty when it runs.
    QString skipReason;
    /// Where the tests' windows write the keys typed into them.
    QString keysFile;

    /// Lets sway (run as `kestavon-test` under root) read the folder and everything in it.
    static void openUp(const QString& path);

private:
    SwaySession();
    int pid_ = 0;
    QString runtime_;
};
