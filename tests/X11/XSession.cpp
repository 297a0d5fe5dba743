#include "XSession.h"

#include "TestWindows.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

pid_t spawnQuietly(const QStringList& argv, const QStringList& environment, int keepFd, int outFd) {
    // Not launched by GIO: a launch environment of ours would tell of an entry that is not theirs.
    QStringList variables;
    for (char** variable = environ; *variable; ++variable)
        if (!QByteArray(*variable).startsWith("GIO_LAUNCHED_DESKTOP_FILE"))
            variables << QString::fromLocal8Bit(*variable);
    std::vector<QByteArray> args, envs;
    for (const QString& s : argv)
        args.push_back(s.toLocal8Bit());
    for (const QString& s : variables + environment)
        envs.push_back(s.toLocal8Bit());
    std::vector<char*> argp, envp;
    for (auto& s : args)
        argp.push_back(s.data());
    for (auto& s : envs)
        envp.push_back(s.data());
    argp.push_back(nullptr);
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        // Quiet children: their chatter would bury the test output.
        const int devnull = ::open("/dev/null", O_RDWR);
        for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
            dup2(fd == STDOUT_FILENO && outFd >= 0 ? outFd : devnull, fd);
        for (int fd = 3; fd < 256; ++fd)
            if (fd != keepFd) ::close(fd);
        execvpe(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    return pid;
}

void endChild(pid_t& pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200 && waitpid(pid, &status, WNOHANG) == 0; ++i) {
        struct pollfd none {};
        poll(&none, 0, 10);
    }
    if (waitpid(pid, &status, WNOHANG) == 0) {
        ::kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    pid = 0;
}

bool XSession::start(QString* whyNot) {
    for (const char* tool : {"Xvfb", "openbox"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            *whyNot = QStringLiteral("%1 is not installed (scripts/bootstrap installs it)")
                          .arg(QLatin1String(tool));
            return false;
        }
    }
    // Xvfb writes its display number to the pipe once it accepts clients.
    int fds[2];
    if (pipe(fds) != 0) return false;
    server_ = spawnQuietly({"Xvfb", "-displayfd", QString::number(fds[1]), "-screen", "0", "1280x800x24",
                            "-nolisten", "tcp", "-noreset"},
                           {}, fds[1]);
    ::close(fds[1]);
    QByteArray display(":");
    struct pollfd readable {
        fds[0], POLLIN, 0
    };
    for (char c = 0; poll(&readable, 1, 15000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n';)
        display += c;
    ::close(fds[0]);
    if (display.size() < 2) {
        *whyNot = QStringLiteral("Xvfb did not start");
        return false;
    }
    qputenv("DISPLAY", display);
    qunsetenv("WAYLAND_DISPLAY");

    // openbox with its stock configuration (four desktops, its own Super bindings).
    const QString config = TestSupport::freshFolder() + QStringLiteral("/rc.xml");
    QFile::copy(QStringLiteral("/etc/xdg/openbox/rc.xml"), config);
    wm_ = spawnQuietly(
        {QStringLiteral("openbox"), QStringLiteral("--config-file"), config, QStringLiteral("--sm-disable")});
    if (!waitForWindowManager()) {
        stop();
        *whyNot = QStringLiteral("openbox did not take over the display");
        return false;
    }
    return true;
}

bool XSession::waitForWindowManager() {
    TestWindows windows;
    const auto running = [&] { return waitpid(wm_, nullptr, WNOHANG) != wm_; };
    windows.waitUntil(
        [&] { return !running() || windows.cardinal(windows.root(), "_NET_SUPPORTING_WM_CHECK"); }, 15000);
    // openbox announces itself before it handles map requests; a window mapped in between can
    // stay unmanaged for good. A probe window, nudged until it is managed, closes that gap
    // before any test maps its own (and is gone from the client list when `windows` goes).
    const xcb_window_t probe = windows.map({});
    const auto managed = [&] {
        const auto clients = windows.clientList();
        return std::find(clients.begin(), clients.end(), probe) != clients.end();
    };
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = probe;
    message.type = windows.atom("_NET_REQUEST_FRAME_EXTENTS");
    for (QDeadlineTimer deadline(15000); !managed();) {
        if (deadline.hasExpired() || !running()) return false;
        xcb_send_event(windows.connection(), 0, windows.root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(windows.connection());
        windows.waitUntil(managed, 100); // the limit paces the nudges
    }
    return true;
}

void XSession::stop() {
    endChild(wm_);
    endChild(server_);
}

XSession* XSession::shared(QString* whyNot) {
    static QString reason;
    static const std::unique_ptr<XSession> session = [] {
        auto started = std::make_unique<XSession>();
        return started->start(&reason) ? std::move(started) : nullptr;
    }();
    if (!session && whyNot) *whyNot = reason;
    return session.get();
}
