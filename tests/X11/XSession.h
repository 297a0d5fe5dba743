#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

/// A private X display for the end-to-end tests: Xvfb with the openbox window manager (four
/// desktops, its default key bindings), started and stopped by the test program itself.
/// DISPLAY points at it while it runs.
class XSession {
public:
    /// Starts the server and the window manager and waits until the manager has taken over
    /// the screen. Returns false, with the reason, when a piece is missing on this machine.
    bool start(QString* whyNot);
    void stop();
    ~XSession() { stop(); }

    /// The window manager's process id.
    pid_t windowManagerPid() const { return wm_; }

    /// The session shared by all tests of a program, started on first use; null (and the
    /// reason in `whyNot`) when it cannot run here.
    static XSession* shared(QString* whyNot = nullptr);

private:
    /// Waits until the manager has announced itself and taken a window of ours into its
    /// client list.
    bool waitForWindowManager();

    pid_t server_ = 0;
    pid_t wm_ = 0;
};

/// Starts a program with its standard streams on /dev/null (its output on `outFd` when given)
/// and none of our descriptors but `keepFd`, with "NAME=value" additions to our environment.
pid_t spawnQuietly(const QStringList& argv, const QStringList& environment = {}, int keepFd = -1,
                   int outFd = -1);
/// Ends a child of ours (SIGTERM, then SIGKILL if it lingers), reaps it and sets `pid` to 0.
void endChild(pid_t& pid);

/// Skips the current test when no X session can be had, saying why.
#define KESTAVON_REQUIRE_X_SESSION()                                                                         \
    do {                                                                                                     \
        QString whyNot;                                                                                      \
        if (!XSession::shared(&whyNot)) GTEST_SKIP() << whyNot.toStdString();                                \
    } while (false)
