#include "WorkspaceFixture.h"

#include "Platform/Linux/ChildReaper.h"
#include "Support/OneShot.h"
#include "support/TestSupport.h"

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

QString WorkspaceFixture::xtermNamed(const QString& name) {
    const QString copy = TestSupport::freshFolder() + QLatin1Char('/') + name;
    QFile::copy(QStandardPaths::findExecutable(QStringLiteral("xterm")), copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner);
    return copy;
}
