#pragma once

#include <QString>

#include <xcb/xcb.h>

#include <sys/types.h>

class QDeadlineTimer;

/// A private X display for the end-to-end tests: Xvfb with the openbox window manager (four
/// desktops, its default key bindings), started and stopped by the test program itself.
/// DISPLAY points at it while it runs.
class XSession {
public:
    /// Starts the server and the window manager and waits until the manager has taken over
    /// the screen. Returns false, with the reason, when a piece is missing on this machine.
    bool start(QString* whyNot);
    /// Stops both and restores DISPLAY.
    void stop();
    ~XSession() { stop(); }

    /// ":N" of the running display.
    const QString& display() const { return display_; }
    /// The window manager's process id.
    pid_t windowManagerPid() const { return wm_; }

    /// The session shared by all tests of a program, started on first use; null (and the
    /// reason in `whyNot`) when it cannot run here.
    static XSession* shared(QString* whyNot = nullptr);

private:
    bool waitForWindowManager(int timeoutMs);
    /// Waits until the manager has taken a window of ours into its client list.
    bool waitUntilManaging(xcb_connection_t* connection, xcb_window_t root, const QDeadlineTimer& deadline);

    pid_t server_ = 0;
    pid_t wm_ = 0;
    QString display_;
    QString previousDisplay_;
    QString configFolder_;
};

/// Skips the current test when no X session can be had, saying why.
#define KESTAVON_REQUIRE_X_SESSION()                                                        \
    do {                                                                                     \
        QString whyNot;                                                                      \
        if (!XSession::shared(&whyNot)) GTEST_SKIP() << whyNot.toStdString();                \
    } while (false)
