#include "WorkspaceFixture.h"

#include "Platform/X11/ChildReaper.h"

#include <QFile>
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
    std::set<pid_t> ours = launched;
    ours.insert(spawned_.begin(), spawned_.end());
    if (windows)
        windows->waitUntil([&] {
            return std::none_of(ours.begin(), ours.end(), [&](pid_t pid) { return windows->windowOf(pid); });
        });
    workspace.reset();
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

QString WorkspaceFixture::xtermNamed(const QString& name) {
    const QString copy = TestSupport::freshFolder() + QLatin1Char('/') + name;
    QFile::copy(QStandardPaths::findExecutable(QStringLiteral("xterm")), copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner);
    return copy;
}
