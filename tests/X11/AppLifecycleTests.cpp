// The kestavon program itself on the test display: closing its window leaves the hotkeys on,
// a second start shows the window of the first, "kestavon --jump" runs a key's stroke in it,
// and "kestavon --quit" ends it.

// The statistics store's header uses Qt's signal keywords; this file includes no GIO header.
#undef QT_NO_KEYWORDS
#include "Stats/UsageStats.h"
#include "Stats/UsageStatsStore.h"
#include "Support/DataFolder.h"
#include "X11Fixture.h"
#include "support/TestSupport.h"

#include <sys/wait.h>

namespace {

// Whether another client holds the passive grab of `key` with `modifiers` on the root window.
bool grabbedByAnother(std::uint8_t key, std::uint16_t modifiers) {
    const auto connection = X11Connection::open();
    if (!connection) return false;
    xcb_connection_t* c = connection->xcb();
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_grab_key_checked(c, 0, connection->root(), modifiers, key, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const bool taken = error && error->error_code == XCB_ACCESS;
    std::free(error);
    if (!taken) xcb_ungrab_key(c, key, connection->root(), modifiers);
    xcb_flush(c);
    return taken;
}

} // namespace

TEST(AppLifecycle, ClosingTheWindowKeepsTheHotkeysASecondStartShowsItAndQuitEndsIt) {
    KESTAVON_REQUIRE_X_SESSION();
    // Folders of this test's own: its bindings and counters, and an instance of its own.
    const QString root = TestSupport::freshFolder();
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
        const QString folder = root + QLatin1Char('/') + QLatin1String(name);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, folder.toLocal8Bit());
    }
    // No message bus either: the test's Kestavon has no need of one, and Qt's D-Bus thread
    // leaves a read buffer behind at exit that LeakSanitizer would count against the
    // program's exit status.
    for (const char* bus : {"DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS"})
        qputenv(bus, "unix:path=/nonexistent/kestavon-test-bus");
    const QString entry = root + QStringLiteral("/kestavon-probe.desktop");
    // A launch counts once the program shows its window; it goes with the display at the end.
    TestSupport::writeAll(entry, "[Desktop Entry]\nType=Application\nName=Probe\n"
                                 "Exec=xterm -class KestavonProbe\nStartupWMClass=KestavonProbe\n");
    QDir().mkpath(DataFolder::path());
    TestSupport::writeAll(DataFolder::file(QStringLiteral("hotkey.log.on")), "");
    TestSupport::writeAll(DataFolder::file(QStringLiteral("keyBindings.json")),
                          R"([{"key":"1-q","entry":{"bundleId":"kestavon-probe.desktop","path":")" +
                              entry.toUtf8() + R"(","name":"Probe"}}])");
    const QString app = QStringLiteral(KESTAVON_APP);
    TestWindows windows;

    pid_t kestavon = spawnQuietly({app});
    const struct Ended {
        pid_t& pid;
        ~Ended() { endChild(pid); }
    } ended{kestavon};
    ASSERT_TRUE(windows.waitUntil([&] { return windows.windowOf(kestavon).has_value(); }, 20000));
    runTool(QStringLiteral("wmctrl"),
            {QStringLiteral("-i"), QStringLiteral("-c"), hexId(*windows.windowOf(kestavon))});
    ASSERT_TRUE(windows.waitUntil([&] { return !windows.windowOf(kestavon); }));
    // The hotkeys start once the window is painted, or closed before that: right Super + Q
    // is then Kestavon's, and nobody else can grab it. The log says when; a trial grab made
    // while Kestavon grabs would take the key from it, so it is made once, after.
    const auto logged = [] {
        QFile log(DataFolder::file(QStringLiteral("hotkey.log")));
        return log.open(QIODevice::ReadOnly) && log.readAll().contains("start 成功");
    };
    ASSERT_TRUE(TestSupport::processEventsUntil(logged, 20000)) << "the hotkeys never started";
    EXPECT_TRUE(grabbedByAnother(XKey::q, XCB_MOD_MASK_4)) << "right Super + Q is not Kestavon's";

    const auto injector = XTestInjector::open();
    injector->chord(XKey::superRight, XKey::q);
    const auto jumps = [] { return UsageStats::snapshot(UsageStatsStore::defaultFileURL()).totalSuccess; };
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return jumps() == 1; }, 20000))
        << "no stroke with the window closed";

    // What a desktop's own shortcut runs: the same stroke, counted the same way.
    int status = -1;
    runTool(app, {QStringLiteral("--jump"), QStringLiteral("1-q")}, &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return jumps() == 2; }, 20000)) << "--jump ran no stroke";
    runTool(app, {QStringLiteral("--jump"), QStringLiteral("2-a")}, &status);
    EXPECT_EQ(status, 3) << "nothing is bound to 2-a";

    runTool(app, {}, &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(windows.waitUntil([&] { return windows.windowOf(kestavon).has_value(); }))
        << "the running Kestavon did not show its window again";

    runTool(app, {QStringLiteral("--quit")}, &status);
    EXPECT_EQ(status, 0);
    ASSERT_TRUE(
        TestSupport::processEventsUntil([&] { return ::waitpid(kestavon, &status, WNOHANG) == kestavon; }));
    kestavon = 0;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    runTool(app, {QStringLiteral("--quit")}, &status);
    EXPECT_EQ(status, 1) << "nothing to quit";
}
