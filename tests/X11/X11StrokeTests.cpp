// Whole strokes on the real X11 platform: right Super + a bound key typed through XTEST, the
// monitor's own tap deciding, the stroke run by the X11 workspace and window manager, and the
// result checked on the display, in the result text and in the usage counters.

// The monitor's header uses Qt's signal keywords; this file includes no GIO header.
#undef QT_NO_KEYWORDS

#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/X11/ChildReaper.h"
#include "Platform/X11/X11Platform.h"
#include "Stats/UsageStats.h"
#include "Stats/UsageStatsStore.h"
#include "WorkspaceFixture.h"
#include "XTestInjector.h"
#include "support/TestSupport.h"

#include <QFile>

#include <csignal>

namespace {

/// The one platform of the test program, installed on first use and kept to the end.
void installPlatform() {
    static std::unique_ptr<X11Platform> platform = [] {
        QString whyNot;
        auto created = X11Platform::create(&whyNot);
        EXPECT_TRUE(created) << whyNot.toStdString();
        if (created) Platform::install(created.get());
        return created;
    }();
}

std::int64_t countedJumps() { return UsageStats::snapshot(UsageStatsStore::defaultFileURL()).totalSuccess; }

std::int64_t countedJumps(const QString& bundleId) {
    const UsageStats stats = UsageStats::snapshot(UsageStatsStore::defaultFileURL());
    const auto found = stats.perApp.find(bundleId);
    return found == stats.perApp.end() ? 0 : found->second.count;
}

class Strokes : public WorkspaceFixture {
protected:
    void SetUp() override {
        WorkspaceFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        installPlatform();
        ASSERT_TRUE(Platform::isInstalled());
        showDesktop(0);
        injector = XTestInjector::open();
        ASSERT_TRUE(injector) << "the display has no XTEST extension";
        // Each test binds afresh: no key carries over from the one before.
        QFile::remove(KeyBindingStore::defaultFileURL());
        store = std::make_unique<KeyBindingStore>();
        monitor = std::make_unique<HotkeyMonitor>();
        QObject::connect(monitor.get(), &HotkeyMonitor::lastOutcomeChanged, [this] {
            if (monitor->lastOutcome()) outcomes.append(*monitor->lastOutcome());
        });
        monitor->start(false);
        ASSERT_FALSE(monitor->permissionIssue().has_value());
        ASSERT_TRUE(monitor->isStarted());
        jumpsBefore = countedJumps();
    }

    void TearDown() override {
        monitor.reset();
        for (const pid_t pid : launched) {
            ::kill(pid, SIGTERM);
            EXPECT_TRUE(ChildReaper::waitUntilReaped(pid, 10000)) << "launched program " << pid << " not reaped";
        }
        if (windows) {
            windows->waitUntil([&] {
                for (const pid_t pid : launched)
                    if (windowOf(pid)) return false;
                return true;
            });
        }
        WorkspaceFixture::TearDown();
    }

    /// Writes an entry that starts xterm with a class of its own, and returns its path.
    QString writeEntry(const QString& file, const QString& name, const QString& wmClass, const QString& title) {
        return folders->writeUser(file, entryText(name, QStringLiteral("xterm -class %1 -T %2").arg(wmClass, title),
                                                  {QStringLiteral("StartupWMClass=") + wmClass}));
    }

    /// Starts the entry's program directly, as if the user had, and waits for its window.
    xcb_window_t run(const QString& wmClass, const QString& title) {
        const pid_t pid = spawn({QStringLiteral("xterm"), QStringLiteral("-class"), wmClass, QStringLiteral("-T"), title});
        return waitForWindowOf(pid);
    }

    void showDesktop(int desktop) {
        runTool(QStringLiteral("wmctrl"), {QStringLiteral("-s"), QString::number(desktop)});
        ASSERT_TRUE(windows->waitUntil([&] { return currentDesktop() == std::uint32_t(desktop); }));
    }

    std::optional<std::uint32_t> currentDesktop() {
        return windows->cardinal(connection->root(), "_NET_CURRENT_DESKTOP");
    }

    /// Right Super held while `key` is typed, all as keyboard input.
    void stroke(std::uint8_t key) {
        injector->press(XKey::superRight);
        injector->type(key);
        injector->release(XKey::superRight);
        injector->sync();
    }

    /// Waits until `count` result texts have reached the main thread.
    QStringList results(qsizetype count) {
        TestSupport::processEventsUntil([&] { return outcomes.size() >= count; }, 20000);
        return outcomes;
    }

    /// The managed window of this class, if one is listed.
    std::optional<xcb_window_t> windowOfClass(const QString& wmClass) {
        for (const xcb_window_t window : windows->clientList()) {
            auto* reply = xcb_get_property_reply(
                windows->connection(),
                xcb_get_property(windows->connection(), 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256),
                nullptr);
            QByteArray bytes;
            if (reply)
                bytes = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                                   xcb_get_property_value_length(reply));
            std::free(reply);
            const QList<QByteArray> parts = bytes.split('\0');
            if (parts.size() >= 2 && parts[1] == wmClass.toUtf8()) return window;
        }
        return std::nullopt;
    }

    /// Waits for the launched program's window, and has the program ended at tear-down.
    xcb_window_t waitForLaunched(const QString& wmClass) {
        std::optional<xcb_window_t> window;
        windows->waitUntil([&] { return (window = windowOfClass(wmClass)).has_value(); }, 20000);
        EXPECT_TRUE(window) << "no window of class " << wmClass.toStdString();
        if (!window) return XCB_NONE;
        if (const auto pid = windows->cardinal(*window, "_NET_WM_PID")) launched.insert(pid_t(*pid));
        return *window;
    }

    std::unique_ptr<XTestInjector> injector;
    std::unique_ptr<KeyBindingStore> store;
    std::unique_ptr<HotkeyMonitor> monitor;
    QStringList outcomes;
    std::int64_t jumpsBefore = 0;
    std::set<pid_t> launched;
};

const QString idA = QStringLiteral("kestavon-stroke-a.desktop");
const QString idB = QStringLiteral("kestavon-stroke-b.desktop");
const QString classA = QStringLiteral("KestavonStrokeA");
const QString classB = QStringLiteral("KestavonStrokeB");

} // namespace

TEST_F(Strokes, RunningAppOnAnotherDesktopAndMinimisedIsShownRestoredAndActive) {
    const QString path = writeEntry(idA, QStringLiteral("Stroke A"), classA, QStringLiteral("stroke-a"));
    ASSERT_TRUE(store->bind(QStringLiteral("1-q"), {idA, path, QStringLiteral("Stroke A")}));
    const xcb_window_t window = run(classA, QStringLiteral("stroke-a"));
    ASSERT_NE(window, XCB_NONE);
    windows->watch(window);
    // Minimised while its desktop is shown: openbox here did not act on an iconify request
    // for a window already sent to a hidden desktop.
    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), QString::number(window)});
    ASSERT_TRUE(windows->waitUntil([&] { return windows->hasState(window, "_NET_WM_STATE_HIDDEN"); }));
    runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-r"), hexId(window), QStringLiteral("-t"),
                                       QStringLiteral("2")});
    ASSERT_TRUE(windows->waitUntil([&] { return windows->cardinal(window, "_NET_WM_DESKTOP") == 2u; }));
    ASSERT_TRUE(windows->hasState(window, "_NET_WM_STATE_HIDDEN"));
    ASSERT_EQ(currentDesktop(), 0u);
    const std::int64_t jumpsOfABefore = countedJumps(idA);

    stroke(XKey::q);

    EXPECT_EQ(results(1), QStringList{QStringLiteral("Switched to Stroke A")});
    EXPECT_TRUE(windows->waitUntil([&] { return currentDesktop() == 2u; })) << "desktop not made current";
    EXPECT_TRUE(windows->waitUntil([&] { return !windows->hasState(window, "_NET_WM_STATE_HIDDEN"); }))
        << "window still minimised";
    EXPECT_TRUE(waitUntilActive(window)) << "window not active";
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
    EXPECT_EQ(countedJumps(idA) - jumpsOfABefore, 1);
}

TEST_F(Strokes, BoundAppNotRunningIsLaunchedFromItsEntry) {
    const QString path = writeEntry(idB, QStringLiteral("Stroke B"), classB, QStringLiteral("stroke-b"));
    ASSERT_TRUE(store->bind(QStringLiteral("1-w"), {idB, path, QStringLiteral("Stroke B")}));
    ASSERT_FALSE(windowOfClass(classB));

    stroke(XKey::w);

    EXPECT_EQ(results(1), QStringList{QStringLiteral("Launched")});
    const xcb_window_t window = waitForLaunched(classB);
    EXPECT_NE(window, XCB_NONE);
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}

TEST_F(Strokes, EntryWhoseFileIsGoneAndNotRunningIsReportedMissing) {
    const QString path = writeEntry(QStringLiteral("kestavon-stroke-gone.desktop"), QStringLiteral("Stroke Gone"),
                                    QStringLiteral("KestavonStrokeGone"), QStringLiteral("stroke-gone"));
    ASSERT_TRUE(store->bind(QStringLiteral("2-a"),
                            {QStringLiteral("kestavon-stroke-gone.desktop"), path, QStringLiteral("Stroke Gone")}));
    ASSERT_TRUE(QFile::remove(path));

    stroke(XKey::a);

    EXPECT_EQ(results(1), QStringList{QStringLiteral("Couldn't launch Stroke Gone (path missing)")});
    EXPECT_FALSE(windowOfClass(QStringLiteral("KestavonStrokeGone")));
    EXPECT_EQ(countedJumps() - jumpsBefore, 0);
}

TEST_F(Strokes, QuickStrokesRunInOrder) {
    const QString pathA = writeEntry(idA, QStringLiteral("Stroke A"), classA, QStringLiteral("stroke-a"));
    const QString pathB = writeEntry(idB, QStringLiteral("Stroke B"), classB, QStringLiteral("stroke-b"));
    ASSERT_TRUE(store->bind(QStringLiteral("1-q"), {idA, pathA, QStringLiteral("Stroke A")}));
    ASSERT_TRUE(store->bind(QStringLiteral("2-s"), {idB, pathB, QStringLiteral("Stroke B")}));
    const xcb_window_t a = run(classA, QStringLiteral("stroke-a"));
    const xcb_window_t b = run(classB, QStringLiteral("stroke-b"));
    ASSERT_NE(a, XCB_NONE);
    ASSERT_NE(b, XCB_NONE);
    // Neither is active to begin with: the last one mapped usually is.
    runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-a"), hexId(a)});
    ASSERT_TRUE(waitUntilActive(a));
    const std::int64_t jumpsOfBBefore = countedJumps(idB);

    // Both strokes typed under one hold of right Super, before the first has run.
    injector->press(XKey::superRight);
    injector->type(XKey::s);
    injector->type(XKey::q);
    injector->type(XKey::s);
    injector->release(XKey::superRight);
    injector->sync();

    EXPECT_EQ(results(3), (QStringList{QStringLiteral("Switched to Stroke B"), QStringLiteral("Switched to Stroke A"),
                                       QStringLiteral("Switched to Stroke B")}));
    EXPECT_TRUE(waitUntilActive(b)) << "the last stroke's window is not the active one";
    EXPECT_EQ(countedJumps() - jumpsBefore, 3);
    EXPECT_EQ(countedJumps(idB) - jumpsOfBBefore, 2);
}
