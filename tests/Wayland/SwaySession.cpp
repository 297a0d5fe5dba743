#include "SwaySession.h"

#include "Platform/Wayland/SwayKeySetup.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <cstdlib>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr const char* testUser = "kestavon-test";
} // namespace

SwaySession& SwaySession::shared() {
    static SwaySession session;
    return session;
}

void SwaySession::openUp(const QString& path) {
    if (::geteuid() != 0) return;
    ::chmod(QFile::encodeName(path).constData(), 0755);
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        ::chmod(QFile::encodeName(entry).constData(), it.fileInfo().isDir() ? 0755 : 0644);
    }
}

SwaySession::SwaySession() {
    const QString sway = QStandardPaths::findExecutable(QStringLiteral("sway"));
    if (sway.isEmpty()) {
        skipReason = QStringLiteral("sway is not installed");
        return;
    }
    const passwd* user = nullptr;
    if (::geteuid() == 0) {
        // useradd lives in sbin, which a root PATH may lack.
        QString useradd = QStandardPaths::findExecutable(QStringLiteral("useradd"));
        if (useradd.isEmpty())
            useradd = QStandardPaths::findExecutable(QStringLiteral("useradd"),
                                                     {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
        if (!::getpwnam(testUser) && !useradd.isEmpty())
            QProcess::execute(useradd, {QStringLiteral("--system"), QStringLiteral("--no-create-home"),
                                        QStringLiteral("--shell"), QStringLiteral("/usr/sbin/nologin"),
                                        QString::fromLatin1(testUser)});
        user = ::getpwnam(testUser);
        if (!user) {
            skipReason = QStringLiteral("running as root and the user %1 to run sway as cannot be made")
                             .arg(QLatin1String(testUser));
            return;
        }
    }
    char folder[] = "/tmp/kestavon-sway-XXXXXX";
    if (!::mkdtemp(folder)) {
        skipReason = QStringLiteral("no private runtime folder");
        return;
    }
    runtime_ = QString::fromLocal8Bit(folder);
    keysFile = runtime_ + QStringLiteral("/keys");
    if (user) [[maybe_unused]]
        const int owned = ::chown(folder, user->pw_uid, user->pw_gid);

    const QString home = qEnvironmentVariable("HOME");
    const QString config = home + QStringLiteral("/sway.conf");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(("output HEADLESS-1 resolution 1024x768\ninclude " + SwayKeySetup::paths().snippet + "\n")
                       .toUtf8()) < 0) {
        skipReason = QStringLiteral("cannot write sway's configuration");
        return;
    }
    file.close();
    openUp(home);
    qputenv("XDG_RUNTIME_DIR", folder);
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("SWAYSOCK");
    const QByteArray swayPath = QFile::encodeName(sway), configPath = QFile::encodeName(config);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::setenv("WLR_BACKENDS", "headless", 1);
        ::setenv("WLR_RENDERER", "pixman", 1);
        ::setenv("WLR_LIBINPUT_NO_DEVICES", "1", 1);
        // What sway and the programs it starts print is a log, never part of the program's output.
        ::dup2(2, 1);
        if (user && (::setgid(user->pw_gid) != 0 || ::setuid(user->pw_uid) != 0)) ::_exit(126);
        // Should the tests die (a sanitizer's abort), sway goes with them, and so do the windows
        // on it, instead of holding the test runner's output open until its time-out.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::execl(swayPath.constData(), "sway", "-c", configPath.constData(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // sway names its sockets once it listens on both.
    QString socket;
    QString display;
    TestSupport::processEventsUntil(
        [&] {
            const QDir run(runtime_);
            const QStringList ipc = run.entryList({QStringLiteral("sway-ipc.*")}, QDir::System);
            const QStringList wayland = run.entryList({QStringLiteral("wayland-?")}, QDir::System);
            if (ipc.isEmpty() || wayland.isEmpty()) return false;
            socket = run.filePath(ipc.first());
            display = wayland.first();
            return true;
        },
        10000);
    if (socket.isEmpty()) {
        skipReason = QStringLiteral("headless sway did not start");
        return;
    }
    qputenv("SWAYSOCK", QFile::encodeName(socket));
    qputenv("WAYLAND_DISPLAY", display.toUtf8());
    qputenv("QT_QPA_PLATFORM", "wayland");
}

SwaySession::~SwaySession() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (!runtime_.isEmpty()) QDir(runtime_).removeRecursively();
}
