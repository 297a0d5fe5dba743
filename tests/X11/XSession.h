#pragma once

#include <QString>
#include <QStringList>

#include <xcb/xcb.h>

#include <sys/types.h>

#include <cstdlib>
#include <cstring>
#include <optional>

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

    /// Starts a bare Xvfb at `number` (a free one when none is given) and returns its pid
    /// once it accepts clients, with its ":N" in `display`; 0 when it did not start.
    static pid_t startXvfb(QString* display, std::optional<int> number = std::nullopt);

private:
    /// Waits until the manager has announced itself and taken a window of ours into its
    /// client list.
    bool waitForWindowManager(int timeoutMs);

    pid_t server_ = 0;
    pid_t wm_ = 0;
    QString display_;
    QString previousDisplay_;
    QString configFolder_;
};

/// Starts a program with its standard streams on /dev/null and none of our descriptors but
/// `keepFd`; `environment` ("NAME=value" lines), when given, replaces ours.
pid_t spawnQuietly(const QStringList& argv, const QStringList* environment = nullptr, int keepFd = -1);
/// Ends a child of ours (SIGTERM, then SIGKILL if it lingers), reaps it and sets `pid` to 0.
void endChild(pid_t& pid);

inline xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

/// Skips the current test when no X session can be had, saying why.
#define KESTAVON_REQUIRE_X_SESSION()                                                        \
    do {                                                                                     \
        QString whyNot;                                                                      \
        if (!XSession::shared(&whyNot)) GTEST_SKIP() << whyNot.toStdString();                \
    } while (false)
