#include "XSession.h"

#include "support/TestSupport.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

pid_t spawn(const QStringList& argv, int keepFd = -1) {
    std::vector<QByteArray> storage;
    for (const QString& arg : argv) storage.push_back(arg.toLocal8Bit());
    std::vector<char*> args;
    for (auto& s : storage) args.push_back(s.data());
    args.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        // Quiet children: their chatter would bury the test output.
        const int devnull = ::open("/dev/null", O_RDWR);
        dup2(devnull, STDIN_FILENO);
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        for (int fd = 3; fd < 256; ++fd)
            if (fd != keepFd) ::close(fd);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

void terminate(pid_t& pid) {
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

} // namespace

bool XSession::start(QString* whyNot) {
    for (const char* tool : {"Xvfb", "openbox"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            *whyNot = QStringLiteral("%1 is not installed (scripts/bootstrap installs it)").arg(QLatin1String(tool));
            return false;
        }
    }

    // Xvfb picks a free display and writes its number to the pipe once it accepts clients.
    int fds[2];
    if (pipe(fds) != 0) {
        *whyNot = QStringLiteral("pipe failed");
        return false;
    }
    server_ = spawn({"Xvfb", "-displayfd", QString::number(fds[1]), "-screen", "0", "1280x800x24", "-nolisten",
                     "tcp", "-noreset"},
                    fds[1]);
    ::close(fds[1]);
    QByteArray number;
    QDeadlineTimer deadline(15000);
    for (;;) {
        struct pollfd p {fds[0], POLLIN, 0};
        if (poll(&p, 1, int(deadline.remainingTime())) <= 0) break;
        char buffer[16];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        number.append(buffer, n);
        if (number.contains('\n')) break;
    }
    ::close(fds[0]);
    number = number.trimmed();
    if (number.isEmpty()) {
        stop();
        *whyNot = QStringLiteral("Xvfb did not start");
        return false;
    }
    display_ = QStringLiteral(":") + QString::fromLatin1(number);
    previousDisplay_ = qEnvironmentVariable("DISPLAY");
    qputenv("DISPLAY", display_.toLocal8Bit());
    qunsetenv("WAYLAND_DISPLAY");

    // openbox with its stock configuration (four desktops, its own Super bindings).
    configFolder_ = TestSupport::freshFolder();
    QFile::copy(QStringLiteral("/etc/xdg/openbox/rc.xml"), configFolder_ + QStringLiteral("/rc.xml"));
    wm_ = spawn({"openbox", "--config-file", configFolder_ + QStringLiteral("/rc.xml"), "--sm-disable"});
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
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    const xcb_atom_t check = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(atom);

    // Event-driven: wake on each root property change until the manager has announced itself.
    QDeadlineTimer deadline(timeoutMs);
    bool ready = false;
    while (!ready && !deadline.hasExpired()) {
        auto* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
        ready = reply && xcb_get_property_value_length(reply) == 4;
        std::free(reply);
        if (ready) break;
        struct pollfd p {xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&p, 1, int(std::min<qint64>(deadline.remainingTime(), 500)));
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) std::free(e);
        if (waitpid(wm_, nullptr, WNOHANG) == wm_) break;
    }
    if (ready) ready = waitUntilManaging(c, root, deadline);
    xcb_disconnect(c);
    return ready;
}

bool XSession::waitUntilManaging(xcb_connection_t* c, xcb_window_t root, const QDeadlineTimer& deadline) {
    // openbox announces itself before it handles map requests; a window mapped in between
    // can stay unmanaged for good. A probe window, nudged until it is managed, closes that gap
    // before any test maps its own.
    const auto intern = [c](const char* name) {
        auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    };
    const xcb_atom_t clientList = intern("_NET_CLIENT_LIST");
    const xcb_atom_t extents = intern("_NET_REQUEST_FRAME_EXTENTS");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t probe = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 16, 16, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_EVENT_MASK, &events);
    xcb_map_window(c, probe);
    xcb_flush(c);

    const auto managed = [&] {
        auto* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, clientList, XCB_ATOM_WINDOW, 0, 4096), nullptr);
        bool found = false;
        if (reply) {
            const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
            const int count = xcb_get_property_value_length(reply) / 4;
            found = std::find(ids, ids + count, probe) != ids + count;
        }
        std::free(reply);
        return found;
    };
    bool done = false;
    while (!deadline.hasExpired()) {
        if ((done = managed())) break;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = probe;
        message.type = extents;
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c);
        // Woken by the client list changing; the poll's limit only paces the nudges.
        struct pollfd p {xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&p, 1, int(std::min<qint64>(deadline.remainingTime(), 100)));
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) std::free(e);
        if (waitpid(wm_, nullptr, WNOHANG) == wm_) break;
    }
    xcb_destroy_window(c, probe);
    xcb_flush(c);
    // Gone from the client list before the first test looks at it.
    while (done && !deadline.hasExpired() && managed()) {
        struct pollfd p {xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&p, 1, int(std::min<qint64>(deadline.remainingTime(), 100)));
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) std::free(e);
    }
    return done;
}

void XSession::stop() {
    terminate(wm_);
    terminate(server_);
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
