#include "XSession.h"

#include "support/TestSupport.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

pid_t spawnQuietly(const QStringList& argv, const QStringList* environment, int keepFd) {
    const auto bytes = [](const QStringList& strings) {
        std::vector<QByteArray> out;
        for (const QString& s : strings) out.push_back(s.toLocal8Bit());
        return out;
    };
    const auto pointers = [](std::vector<QByteArray>& strings) {
        std::vector<char*> out;
        for (auto& s : strings) out.push_back(s.data());
        out.push_back(nullptr);
        return out;
    };
    std::vector<QByteArray> args = bytes(argv), variables = bytes(environment ? *environment : QStringList());
    const std::vector<char*> argp = pointers(args), envp = pointers(variables);

    const pid_t pid = fork();
    if (pid == 0) {
        // Quiet children: their chatter would bury the test output.
        const int devnull = ::open("/dev/null", O_RDWR);
        for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) dup2(devnull, fd);
        for (int fd = 3; fd < 256; ++fd)
            if (fd != keepFd) ::close(fd);
        if (environment)
            execvpe(argp[0], argp.data(), envp.data());
        else
            execvp(argp[0], argp.data());
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

pid_t XSession::startXvfb(QString* display, std::optional<int> number) {
    int fds[2];
    if (pipe(fds) != 0) return 0;
    QStringList argv{QStringLiteral("Xvfb")};
    if (number) argv << QStringLiteral(":%1").arg(*number);
    argv << QStringLiteral("-displayfd") << QString::number(fds[1]) << QStringLiteral("-screen")
         << QStringLiteral("0") << QStringLiteral("1280x800x24") << QStringLiteral("-nolisten")
         << QStringLiteral("tcp") << QStringLiteral("-noreset");
    pid_t pid = spawnQuietly(argv, nullptr, fds[1]);
    ::close(fds[1]);
    // Xvfb writes its number to the pipe once it accepts clients.
    QByteArray written;
    QDeadlineTimer deadline(15000);
    while (!written.contains('\n')) {
        struct pollfd p {fds[0], POLLIN, 0};
        if (poll(&p, 1, int(deadline.remainingTime())) <= 0) break;
        char buffer[16];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        written.append(buffer, n);
    }
    ::close(fds[0]);
    if (written.trimmed().isEmpty()) {
        endChild(pid);
        return 0;
    }
    *display = QStringLiteral(":") + QString::fromLatin1(written.trimmed());
    return pid;
}

bool XSession::start(QString* whyNot) {
    for (const char* tool : {"Xvfb", "openbox"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            *whyNot = QStringLiteral("%1 is not installed (scripts/bootstrap installs it)").arg(QLatin1String(tool));
            return false;
        }
    }
    server_ = startXvfb(&display_);
    if (!server_) {
        *whyNot = QStringLiteral("Xvfb did not start");
        return false;
    }
    previousDisplay_ = qEnvironmentVariable("DISPLAY");
    qputenv("DISPLAY", display_.toLocal8Bit());
    qunsetenv("WAYLAND_DISPLAY");

    // openbox with its stock configuration (four desktops, its own Super bindings).
    configFolder_ = TestSupport::freshFolder();
    QFile::copy(QStringLiteral("/etc/xdg/openbox/rc.xml"), configFolder_ + QStringLiteral("/rc.xml"));
    wm_ = spawnQuietly({QStringLiteral("openbox"), QStringLiteral("--config-file"),
                        configFolder_ + QStringLiteral("/rc.xml"), QStringLiteral("--sm-disable")});
    if (!waitForWindowManager(15000)) {
        stop();
        *whyNot = QStringLiteral("openbox did not take over the display");
        return false;
    }
    return true;
}

bool XSession::waitForWindowManager(int timeoutMs) {
    xcb_connection_t* c = xcb_connect(display_.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t root = screen->root;
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    QDeadlineTimer deadline(timeoutMs);
    // Event-driven: wakes on root property changes; the limit only paces the nudges below.
    const auto pause = [&] {
        struct pollfd p {xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&p, 1, int(std::min<qint64>(deadline.remainingTime(), 100)));
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) std::free(e);
        return !deadline.hasExpired() && waitpid(wm_, nullptr, WNOHANG) != wm_;
    };
    const auto rootWindows = [&](const char* property) {
        auto* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, internAtom(c, property), XCB_ATOM_WINDOW, 0, 4096), nullptr);
        std::vector<xcb_window_t> ids;
        if (reply) {
            const auto* data = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
            ids.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return ids;
    };
    bool ready = false;
    while (!(ready = !rootWindows("_NET_SUPPORTING_WM_CHECK").empty()) && pause()) {}

    // openbox announces itself before it handles map requests; a window mapped in between
    // can stay unmanaged for good. A probe window, nudged until it is managed, closes that gap
    // before any test maps its own.
    const xcb_window_t probe = xcb_generate_id(c);
    const auto managed = [&] {
        const auto clients = rootWindows("_NET_CLIENT_LIST");
        return std::find(clients.begin(), clients.end(), probe) != clients.end();
    };
    if (ready) {
        xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 16, 16, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        xcb_map_window(c, probe);
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = probe;
        message.type = internAtom(c, "_NET_REQUEST_FRAME_EXTENTS");
        while (!(ready = managed())) {
            xcb_send_event(c, 0, root,
                           XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                           reinterpret_cast<const char*>(&message));
            xcb_flush(c);
            if (!pause()) break;
        }
        xcb_destroy_window(c, probe);
        xcb_flush(c);
        // Gone from the client list before the first test looks at it.
        while (ready && managed() && pause()) {}
    }
    xcb_disconnect(c);
    return ready;
}

void XSession::stop() {
    endChild(wm_);
    endChild(server_);
    if (!display_.isEmpty()) {
        if (previousDisplay_.isEmpty())
            qunsetenv("DISPLAY");
        else
            qputenv("DISPLAY", previousDisplay_.toLocal8Bit());
        display_.clear();
    }
}

XSession* XSession::shared(QString* whyNot) {
    static QString reason;
    static XSession* session = [] {
        auto* s = new XSession;
        if (!s->start(&reason)) {
            delete s;
            return static_cast<XSession*>(nullptr);
        }
        std::atexit([] {
            if (session) session->stop();
        });
        return s;
    }();
    if (!session && whyNot) *whyNot = reason;
    return session;
}
