#pragma once

#include "Platform/X11/X11Workspace.h"
#include "X11Fixture.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <set>

/// A workspace on the shared display, with applications folders of the test's own (the
/// user's, emptied, and a system one standing for /usr/share), and every program the test
/// starts ended (and reaped) when it finishes.
class WorkspaceFixture : public X11Fixture {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Writes `body` below `folder`, creating sub-folders, and returns its path.
    static QString write(const QString& folder, const QString& relative, const QByteArray& body) {
        const QString path = folder + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        TestSupport::writeAll(path, body);
        return path;
    }
    QString writeUser(const QString& relative, const QByteArray& body) {
        return write(userFolder, relative, body);
    }
    /// An application entry's text with these Name and Exec, and any further lines.
    static QByteArray entryText(const QString& name, const QString& exec, const QStringList& more = {}) {
        return (QStringList{"[Desktop Entry]", "Type=Application", "Name=" + name, "Exec=" + exec} + more)
                   .join(QLatin1Char('\n'))
                   .toUtf8() +
               '\n';
    }

    /// Opens through the workspace; the completion's answer, its error text in `error`.
    std::optional<RunningApplication> open(const QString& path, QString* error = nullptr,
                                           const OpenConfiguration& configuration = {});
    /// Starts a program directly, not through GIO.
    pid_t spawn(const QStringList& argv, const QStringList& environment = {}) {
        return *spawned_.insert(spawnQuietly(argv, environment)).first;
    }
    /// A copy of xterm under another file name, so that its process has a name of its own.
    static QString xtermNamed(const QString& name);
    xcb_window_t waitForWindowOf(std::int32_t pid) {
        std::optional<xcb_window_t> window;
        EXPECT_TRUE(windows->waitUntil([&] { return (window = windows->windowOf(pid)).has_value(); }, 20000))
            << "no window of " << pid;
        return window.value_or(XCB_NONE);
    }
    std::optional<RunningApplication> running(std::int32_t pid) {
        for (const RunningApplication& application : workspace->runningApplications())
            if (application.processIdentifier == pid) return application;
        return std::nullopt;
    }

    QString userFolder;
    QString systemFolder;
    std::unique_ptr<X11Workspace> workspace;
    /// Programs started through the workspace: ended, and their reaping checked, at the end.
    std::set<pid_t> launched;

private:
    std::set<pid_t> spawned_;
};
