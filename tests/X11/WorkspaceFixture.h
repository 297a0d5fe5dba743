#pragma once

#include "EntryFolders.h"
#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11Workspace.h"
#include "TestWindows.h"
#include "XSession.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

/// A workspace on the shared display, with the test's own applications folders and every
/// program the test starts ended (and reaped) when it finishes.
class WorkspaceFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Opens through the workspace; the completion's answer, its error text in `error`.
    std::optional<RunningApplication> open(const QString& path, QString* error = nullptr,
                                           const OpenConfiguration& configuration = {});
    /// Starts a program directly (not through GIO, and not from a GIO-launched environment),
    /// with "NAME=value" additions to its environment.
    pid_t spawn(const QStringList& argv, const QStringList& environment = {});
    /// Starts `program` with this window class, directly.
    pid_t spawnWithClass(const QString& wmClass, const QString& program = QStringLiteral("xterm")) {
        return spawn({program, QStringLiteral("-class"), wmClass});
    }
    /// A copy of xterm under another file name, so that its process has a name of its own.
    QString xtermNamed(const QString& name);

    std::optional<xcb_window_t> windowOf(std::int32_t pid);
    /// Waits, by X events, until `pid` has a managed window.
    xcb_window_t waitForWindowOf(std::int32_t pid);
    std::optional<xcb_window_t> activeWindow();
    bool waitUntilActive(xcb_window_t window);
    /// What runningApplications() says about `pid`.
    std::optional<RunningApplication> listed(std::int32_t pid);
    static QStringList commandLine(pid_t pid);

    std::unique_ptr<EntryFolders> folders;
    std::unique_ptr<X11Connection> connection;
    std::unique_ptr<TestWindows> windows;
    std::unique_ptr<X11Workspace> workspace;
    /// Programs started through the workspace: ended, and their reaping checked, at the end.
    std::set<pid_t> launched;

private:
    std::set<pid_t> spawned_;
};
