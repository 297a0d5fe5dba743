// Jumps and inventories on a real X display (a private Xvfb with openbox), each set against
// the command-line tool a user would otherwise reach for, run on the same windows.
//
// Prints its figures as "figure NAME VALUE" lines:
//   x11_stroke_latency_ms        median: right Super + key typed -> target is the active window
//   x11_wmctrl_latency_ms        median: `wmctrl -x -a CLASS` spawned -> target is the active window
//   x11_stroke_latency_ratio     the first over the second
//   x11_stroke_latency_other_desktop_ratio
//                                the same for jumps to a window on another desktop: median
//                                stroke -> target active on its now current desktop, over
//                                `wmctrl -x -a CLASS` (which changes desktop too)
//   x11_inventory_ratio_50/200   median InventoryService::collect over median `wmctrl -lpG`
//                                (spawn included), on 50 and 200 windows

#include "Hotkey/HotkeyMonitor.h"
#include "Inventory/InventoryService.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/X11/X11Platform.h"

#include "Figures.h"
#include "TestWindows.h"
#include "XSession.h"
#include "XTestInjector.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

/// Starts `argv` with its output on `outFd` (/dev/null when negative).
pid_t spawn(const std::vector<std::string>& argv, int outFd = -1) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int devnull = ::open("/dev/null", O_RDWR);
        dup2(devnull, STDIN_FILENO);
        dup2(outFd >= 0 ? outFd : devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        for (int fd = 3; fd < 256; ++fd) ::close(fd);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

/// Runs `argv` to its end, reading all it prints, as a script would.
std::size_t runAndRead(const std::vector<std::string>& argv) {
    int fds[2];
    if (pipe(fds) != 0) return 0;
    const pid_t pid = spawn(argv, fds[1]);
    ::close(fds[1]);
    std::size_t total = 0;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) total += std::size_t(n);
    ::close(fds[0]);
    waitpid(pid, nullptr, 0);
    return total;
}

/// Watches _NET_ACTIVE_WINDOW and _NET_CURRENT_DESKTOP on a connection of its own, woken by
/// the root's property events.
class ActiveWindowWatch {
public:
    ActiveWindowWatch() {
        c_ = xcb_connect(nullptr, nullptr);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        active_ = atom("_NET_ACTIVE_WINDOW");
        desktop_ = atom("_NET_CURRENT_DESKTOP");
        xcb_flush(c_);
    }
    ~ActiveWindowWatch() { xcb_disconnect(c_); }

    /// The root's active window and current desktop (0xFFFFFFFF when unset), asked together so
    /// that the watch adds one round trip, not two, to what it times.
    std::pair<std::uint32_t, std::uint32_t> activeAndDesktop() {
        const auto activeCookie = xcb_get_property(c_, 0, root_, active_, XCB_ATOM_ANY, 0, 1);
        const auto desktopCookie = xcb_get_property(c_, 0, root_, desktop_, XCB_ATOM_ANY, 0, 1);
        const auto value = [&](xcb_get_property_cookie_t cookie) {
            auto* reply = xcb_get_property_reply(c_, cookie, nullptr);
            std::uint32_t value = 0xFFFFFFFF;
            if (reply && xcb_get_property_value_length(reply) == 4)
                value = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
            std::free(reply);
            return value;
        };
        const std::uint32_t activeWindow = value(activeCookie);
        return {activeWindow, value(desktopCookie)};
    }

    /// Waits for `window` to be active (and `desktop`, when given, current); the time it was
    /// seen, or nothing after `limitMs` (a hang guard).
    std::optional<Clock::time_point> waitFor(xcb_window_t window, std::optional<std::uint32_t> desktop = {},
                                             int limitMs = 5000) {
        QDeadlineTimer deadline(limitMs);
        desktopChanged_.reset();
        for (;;) {
            bool changed = false;
            while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
                if ((e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                    const xcb_atom_t a = reinterpret_cast<xcb_property_notify_event_t*>(e)->atom;
                    changed = changed || a == active_ || a == desktop_;
                    if (a == desktop_ && !desktopChanged_) desktopChanged_ = Clock::now();
                }
                std::free(e);
            }
            if (changed || first_) {
                first_ = false;
                const auto [activeWindow, currentDesktop] = activeAndDesktop();
                if (activeWindow == window && (!desktop || currentDesktop == *desktop)) {
                    first_ = true;
                    return Clock::now();
                }
            }
            if (deadline.hasExpired()) {
                first_ = true;
                return std::nullopt;
            }
            struct pollfd p {xcb_get_file_descriptor(c_), POLLIN, 0};
            poll(&p, 1, int(deadline.remainingTime()));
        }
    }

    /// When the last wait first heard the current desktop change, if it did.
    std::optional<Clock::time_point> desktopChanged() const { return desktopChanged_; }

private:
    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, std::uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    xcb_connection_t* c_;
    xcb_window_t root_;
    xcb_atom_t active_;
    xcb_atom_t desktop_;
    bool first_ = true;
    std::optional<Clock::time_point> desktopChanged_;
};

struct App {
    std::string wmClass;
    QString id;
    QString name;
    std::uint8_t key;
    QString keyID;
    std::uint32_t desktop;
    pid_t pid = 0;
    xcb_window_t window = XCB_NONE;
};

std::optional<xcb_window_t> windowOfPid(TestWindows& windows, pid_t pid) {
    for (const xcb_window_t window : windows.clientList())
        if (windows.cardinal(window, "_NET_WM_PID") == std::uint32_t(pid)) return window;
    return std::nullopt;
}

int runBench() {
    QString whyNot;
    XSession session;
    if (!session.start(&whyNot)) {
        std::fprintf(stderr, "no X session: %s\n", qPrintable(whyNot));
        return 1;
    }
    auto platform = X11Platform::create(false, &whyNot);
    if (!platform) {
        std::fprintf(stderr, "no X11 platform: %s\n", qPrintable(whyNot));
        return 1;
    }
    Platform::install(platform.get());

    const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
    QDir().mkpath(applications);
    // A and B share the first desktop; C is alone on the third.
    std::vector<App> apps{{"KestavonBenchA", QStringLiteral("kestavon-bench-a.desktop"), QStringLiteral("Bench A"),
                           XKey::q, QStringLiteral("1-q"), 0},
                          {"KestavonBenchB", QStringLiteral("kestavon-bench-b.desktop"), QStringLiteral("Bench B"),
                           XKey::w, QStringLiteral("1-w"), 0},
                          {"KestavonBenchC", QStringLiteral("kestavon-bench-c.desktop"), QStringLiteral("Bench C"),
                           XKey::s, QStringLiteral("2-s"), 2}};
    KeyBindingStore store;
    TestWindows windows;
    for (App& app : apps) {
        const QString cls = QString::fromStdString(app.wmClass);
        const QString path = applications + QLatin1Char('/') + app.id;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=xterm -class %2\n"
                                  "StartupWMClass=%2\n")
                       .arg(app.name, cls)
                       .toUtf8());
        file.close();
        store.bind(app.keyID, {app.id, path, app.name});
        app.pid = spawn({"xterm", "-class", app.wmClass, "-T", app.wmClass});
        std::optional<xcb_window_t> window;
        windows.waitUntil([&] { return (window = windowOfPid(windows, app.pid)).has_value(); }, 20000);
        if (!window) {
            std::fprintf(stderr, "xterm of %s never showed a window\n", app.wmClass.c_str());
            return 1;
        }
        app.window = *window;
        if (app.desktop != 0) {
            runAndRead({"wmctrl", "-i", "-r", std::to_string(app.window), "-t", std::to_string(app.desktop)});
            windows.waitUntil([&] { return windows.cardinal(app.window, "_NET_WM_DESKTOP") == app.desktop; });
        }
    }
    // As if installed a while ago: a folder changed within the last moments is read again on
    // every look-up (a later change might keep its time stamp), which no user's setup sees.
    const struct timespec earlier[2] = {{time(nullptr) - 60, 0}, {time(nullptr) - 60, 0}};
    utimensat(AT_FDCWD, QFile::encodeName(applications).constData(), earlier, 0);
    const auto cleanup = [&] {
        for (const App& app : apps) {
            ::kill(app.pid, SIGTERM);
            waitpid(app.pid, nullptr, 0);
        }
    };

    HotkeyMonitor monitor;
    monitor.start(false);
    if (!monitor.isStarted()) {
        std::fprintf(stderr, "the keyboard tap did not start\n");
        cleanup();
        return 1;
    }
    auto injector = XTestInjector::open();
    ActiveWindowWatch watch;

    std::vector<double> strokeMs, wmctrlMs;
    bool failed = false;
    constexpr int rounds = 20;
    for (int round = 0; round < rounds && !failed; ++round) {
        // B then A, so every jump goes to the window that is not active.
        for (int i : {1, 0}) {
            const App& app = apps[std::size_t(i)];
            const auto start = Clock::now();
            injector->press(XKey::superRight);
            injector->type(app.key);
            injector->release(XKey::superRight);
            injector->sync();
            const auto seen = watch.waitFor(app.window);
            if (!seen) {
                std::fprintf(stderr, "stroke to %s: window never active\n", app.wmClass.c_str());
                failed = true;
                break;
            }
            strokeMs.push_back(ms(*seen - start));
            // The stroke's own tail (reporting, counting) stays out of the next measurement.
            monitor.queue().waitUntilIdle();
            QCoreApplication::processEvents();
        }
        for (int i : {1, 0}) {
            const App& app = apps[std::size_t(i)];
            const auto start = Clock::now();
            const pid_t pid = spawn({"wmctrl", "-x", "-a", app.wmClass});
            const auto seen = watch.waitFor(app.window);
            waitpid(pid, nullptr, 0);
            if (!seen) {
                std::fprintf(stderr, "wmctrl to %s: window never active\n", app.wmClass.c_str());
                failed = true;
                break;
            }
            wmctrlMs.push_back(ms(*seen - start));
        }
    }
    if (!failed) {
        const double stroke = median(strokeMs);
        const double wmctrl = median(wmctrlMs);
        std::fprintf(stderr, "%zu strokes, %zu wmctrl jumps\n", strokeMs.size(), wmctrlMs.size());
        figure("x11_stroke_latency_ms", stroke);
        figure("x11_wmctrl_latency_ms", wmctrl);
        figure("x11_stroke_latency_ratio", stroke / wmctrl);
    }

    // Jumps that change desktop: C (alone on its desktop) and back to A, each way by stroke,
    // then by wmctrl.
    std::vector<double> otherStrokeMs, otherWmctrlMs;
    // The window manager's own part of each: from its change of desktop to the window active.
    std::vector<double> managerAfterStrokeMs, managerAfterWmctrlMs;
    const auto jump = [&](const App& app, bool byStroke, std::vector<double>& into) {
        const auto start = Clock::now();
        pid_t pid = 0;
        if (byStroke) {
            injector->press(XKey::superRight);
            injector->type(app.key);
            injector->release(XKey::superRight);
            injector->sync();
        } else {
            pid = spawn({"wmctrl", "-x", "-a", app.wmClass});
        }
        const auto seen = watch.waitFor(app.window, app.desktop);
        if (pid) waitpid(pid, nullptr, 0);
        if (!seen) {
            std::fprintf(stderr, "%s to %s: window never active on its desktop\n",
                         byStroke ? "stroke" : "wmctrl", app.wmClass.c_str());
            failed = true;
            return;
        }
        into.push_back(ms(*seen - start));
        if (const auto changed = watch.desktopChanged())
            (byStroke ? managerAfterStrokeMs : managerAfterWmctrlMs).push_back(ms(*seen - *changed));
        if (byStroke) {
            monitor.queue().waitUntilIdle();
            QCoreApplication::processEvents();
        }
    };
    for (int round = 0; round < rounds && !failed; ++round) {
        for (const bool byStroke : {true, false})
            for (const std::size_t i : {std::size_t(2), std::size_t(0)})
                if (!failed) jump(apps[i], byStroke, byStroke ? otherStrokeMs : otherWmctrlMs);
    }
    if (!failed) {
        std::fprintf(stderr, "%zu strokes and %zu wmctrl jumps to another desktop: %.3f ms, %.3f ms\n",
                     otherStrokeMs.size(), otherWmctrlMs.size(), median(otherStrokeMs),
                     median(otherWmctrlMs));
        if (!managerAfterStrokeMs.empty() && !managerAfterWmctrlMs.empty())
            std::fprintf(stderr,
                         "of which the window manager's, from its desktop change to the window active: "
                         "%.3f ms, %.3f ms\n",
                         median(managerAfterStrokeMs), median(managerAfterWmctrlMs));
        figure("x11_stroke_latency_other_desktop_ratio", median(otherStrokeMs) / median(otherWmctrlMs));
    }

    monitor.queue().waitUntilIdle();

    // Inventories: many windows, as many clients would leave on a desktop, beside the xterms'.
    // The server tells the process of a window by the client that made it: these are all ours.
    int made = 0;
    for (const int count : {50, 200}) {
        const int more = count - made;
        std::vector<xcb_window_t> created;
        for (int i = made; i < count; ++i) {
            TestWindowProperties props;
            props.pid = std::int32_t(getpid());
            props.wmClass = QByteArray("bench\0Bench", 11) + QByteArray::number(i % 4) + '\0';
            props.title = "bench window " + QByteArray::number(i);
            props.size = QSize(200, 100);
            created.push_back(windows.map(props));
        }
        made = count;
        // All mapped at once, then awaited together: one round trip per look, not per window.
        const auto managed = [&] {
            const std::vector<xcb_window_t> list = windows.clientList();
            return std::all_of(created.begin(), created.end(), [&](xcb_window_t w) {
                return std::find(list.begin(), list.end(), w) != list.end();
            });
        };
        if (!windows.waitUntil(managed, 60000) || created.size() != std::size_t(more)) failed = true;
        std::vector<double> collectMs, toolMs;
        std::size_t listed = 0, printed = 0;
        for (int i = 0; i < 15; ++i) {
            auto start = Clock::now();
            const WindowInventory inventory = InventoryService::collect(QDateTime::currentDateTimeUtc());
            collectMs.push_back(ms(Clock::now() - start));
            listed += std::size_t(inventory.apps.size());
            start = Clock::now();
            printed += runAndRead({"wmctrl", "-lpG"});
            toolMs.push_back(ms(Clock::now() - start));
        }
        std::fprintf(stderr, "%d windows: collect %.3f ms, wmctrl -lpG %.3f ms (%zu apps, %zu bytes listed)\n", count,
                     median(collectMs), median(toolMs), listed / 15, printed / 15);
        figure(count == 50 ? "x11_inventory_ratio_50" : "x11_inventory_ratio_200", median(collectMs) / median(toolMs));
    }

    cleanup();
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    // A private home and data folder: the bench binds keys and counts jumps.
    QTemporaryDir root;
    if (!root.isValid()) return 2;
    qputenv("HOME", root.path().toUtf8());
    qputenv("XDG_DATA_HOME", (root.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root.path() + QStringLiteral("/config")).toUtf8());
    qputenv("KESTAVON_TEST_ROOT", root.path().toUtf8());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kestavon-bench-bus");
    QCoreApplication app(argc, argv);
    return runBench();
}
