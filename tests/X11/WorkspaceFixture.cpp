#include "WorkspaceFixture.h"

#include "Platform/X11/ChildReaper.h"
#include "Support/OneShot.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>

extern char** environ;

void WorkspaceFixture::SetUp() {
    KESTAVON_REQUIRE_X_SESSION();
    // GIO asks the session bus about every launch; the tests have none of their own.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kestavon-test-bus");
    folders = std::make_unique<EntryFolders>();
    connection = X11Connection::open();
    ASSERT_TRUE(connection) << "cannot connect to the test display";
    windows = std::make_unique<TestWindows>();
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
            return std::none_of(launched.begin(), launched.end(), [&](pid_t pid) { return windowOf(pid); }) &&
                   std::none_of(spawned_.begin(), spawned_.end(), [&](pid_t pid) { return windowOf(pid); });
        });
    }
    workspace.reset();
    windows.reset();
    connection.reset();
    folders.reset();
}

std::optional<RunningApplication> WorkspaceFixture::open(const QString& path, QString* error,
                                                         const OpenConfiguration& configuration) {
    // A launch is answered when its window appears, from another thread.
    struct Answer {
        OneShot called;
        std::optional<RunningApplication> application;
        QString error;
    };
    auto answer = std::make_shared<Answer>();
    workspace->openApplication(
        path, configuration,
        [answer](std::optional<RunningApplication> application, std::optional<QString> text) {
            answer->application = std::move(application);
            answer->error = text.value_or(QString());
            answer->called.signal();
        });
    const bool called = answer->called.waitFor(std::chrono::seconds(20));
    EXPECT_TRUE(called) << "no completion";
    if (!called) return std::nullopt;
    if (error) *error = answer->error;
    const auto& opened = answer->application;
    if (opened && opened->processIdentifier > 0 && !spawned_.count(opened->processIdentifier))
        launched.insert(opened->processIdentifier);
    return opened;
}

pid_t WorkspaceFixture::spawn(const QStringList& argv, const QStringList& environment) {
    QStringList variables;
    for (char** variable = environ; *variable; ++variable)
        if (!QByteArray(*variable).startsWith("GIO_LAUNCHED_DESKTOP_FILE"))
            variables << QString::fromLocal8Bit(*variable);
    variables += environment;
    const pid_t pid = spawnQuietly(argv, &variables);
    if (pid > 0) spawned_.insert(pid);
    return pid;
}

QString WorkspaceFixture::xtermNamed(const QString& name) {
    const QString folder = TestSupport::freshFolder();
    const QString copy = folder + QLatin1Char('/') + name;
    QFile::copy(QStandardPaths::findExecutable(QStringLiteral("xterm")), copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner);
    return copy;
}

std::optional<xcb_window_t> WorkspaceFixture::windowOf(std::int32_t pid) {
    return windows->windowOf(pid);
}

xcb_window_t WorkspaceFixture::waitForWindowOf(std::int32_t pid) {
    std::optional<xcb_window_t> window;
    windows->waitUntil([&] { return (window = windowOf(pid)).has_value(); }, 20000);
    EXPECT_TRUE(window) << "no window of " << pid;
    return window.value_or(XCB_NONE);
}

std::optional<xcb_window_t> WorkspaceFixture::activeWindow() {
    const auto active = windows->cardinal(connection->root(), "_NET_ACTIVE_WINDOW");
    if (!active || *active == XCB_NONE) return std::nullopt;
    return xcb_window_t(*active);
}

bool WorkspaceFixture::waitUntilActive(xcb_window_t window) {
    return windows->waitUntil([&] { return activeWindow() == window; }, 10000);
}

std::optional<RunningApplication> WorkspaceFixture::listed(std::int32_t pid) {
    for (const RunningApplication& application : workspace->runningApplications())
        if (application.processIdentifier == pid) return application;
    return std::nullopt;
}

QStringList WorkspaceFixture::commandLine(pid_t pid) {
    QByteArray bytes = TestSupport::readAll(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (bytes.endsWith('\0')) bytes.chop(1);
    QStringList arguments;
    for (const QByteArray& argument : bytes.split('\0'))
        arguments.append(QString::fromLocal8Bit(argument));
    return arguments;
}
