#include "WorkspaceFixture.h"

#include "Platform/X11/ChildReaper.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>

void WorkspaceFixture::SetUp() {
    X11Fixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    // GIO asks the session bus about every launch; the tests have none of their own.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kestavon-test-bus");
    userFolder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
    QDir(userFolder).removeRecursively();
    QDir().mkpath(userFolder);
    const QString systemData = TestSupport::freshFolder();
    systemFolder = systemData + QStringLiteral("/applications");
    QDir().mkpath(systemFolder);
    qputenv("XDG_DATA_DIRS", systemData.toLocal8Bit());
    workspace = std::make_unique<X11Workspace>(*connection);
}

void WorkspaceFixture::TearDown() {
    for (const pid_t pid : launched) {
        ::kill(pid, SIGTERM);
        EXPECT_TRUE(ChildReaper::waitUntilReaped(pid, 10000)) << "launched program " << pid << " not reaped";
    }
    for (pid_t pid : spawned_)
        endChild(pid);
    // The next test starts without our windows.
    if (windows) {
        windows->waitUntil([&] {
            return std::none_of(launched.begin(), launched.end(),
                                [&](pid_t pid) { return windows->windowOf(pid); }) &&
                   std::none_of(spawned_.begin(), spawned_.end(),
                                [&](pid_t pid) { return windows->windowOf(pid); });
        });
    }
    workspace.reset();
}

QString WorkspaceFixture::write(const QString& folder, const QString& relative, const QByteArray& body) {
    const QString path = folder + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).path());
    TestSupport::writeAll(path, body);
    return path;
}

QByteArray WorkspaceFixture::entryText(const QString& name, const QString& exec, const QStringList& more) {
    const QStringList lines =
        QStringList{QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
                    QStringLiteral("Name=") + name, QStringLiteral("Exec=") + exec} +
        more;
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

std::optional<RunningApplication> WorkspaceFixture::open(const QString& path, QString* error,
                                                         const OpenConfiguration& configuration) {
    std::optional<RunningApplication> answer;
    bool called = false;
    workspace->openApplication(
        path, configuration, [&](std::optional<RunningApplication> application, std::optional<QString> text) {
            called = true;
            answer = std::move(application);
            if (error) *error = text.value_or(QString());
        });
    EXPECT_TRUE(called) << "no completion";
    if (answer && answer->processIdentifier > 0 && !spawned_.count(answer->processIdentifier))
        launched.insert(answer->processIdentifier);
    return answer;
}

pid_t WorkspaceFixture::spawn(const QStringList& argv, const QStringList& environment) {
    const pid_t pid = spawnQuietly(argv, environment);
    if (pid > 0) spawned_.insert(pid);
    return pid;
}

QString WorkspaceFixture::xtermNamed(const QString& name) {
    const QString copy = TestSupport::freshFolder() + QLatin1Char('/') + name;
    QFile::copy(QStandardPaths::findExecutable(QStringLiteral("xterm")), copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner);
    return copy;
}

xcb_window_t WorkspaceFixture::waitForWindowOf(std::int32_t pid) {
    std::optional<xcb_window_t> window;
    windows->waitUntil([&] { return (window = windows->windowOf(pid)).has_value(); }, 20000);
    EXPECT_TRUE(window) << "no window of " << pid;
    return window.value_or(XCB_NONE);
}

std::optional<RunningApplication> WorkspaceFixture::running(std::int32_t pid) {
    for (const RunningApplication& application : workspace->runningApplications())
        if (application.processIdentifier == pid) return application;
    return std::nullopt;
}
