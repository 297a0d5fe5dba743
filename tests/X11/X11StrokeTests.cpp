// Whole strokes on the real X11 platform: right Super + a bound key typed through XTEST, the
// monitor's own tap deciding, the stroke run by the X11 workspace and window manager, and the
// result checked on the display, in the result text and in the usage counters.

// The monitor's header uses Qt's signal keywords; this file includes no GIO header.
#undef QT_NO_KEYWORDS

#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/X11/X11Platform.h"
#include "Stats/UsageStats.h"
#include "Stats/UsageStatsStore.h"
#include "WorkspaceFixture.h"
#include "XTestInjector.h"
#include "support/TestSupport.h"

#include <QFile>

namespace {

const QString idA = QStringLiteral("kestavon-stroke-a.desktop");
const QString idB = QStringLiteral("kestavon-stroke-b.desktop");
const QString classA = QStringLiteral("KestavonStrokeA");
const QString classB = QStringLiteral("KestavonStrokeB");

/// Successful jumps counted in all, or to one entry.
std::int64_t countedJumps(const QString& bundleId = {}) {
    const UsageStats stats = UsageStats::snapshot(UsageStatsStore::defaultFileURL());
    if (bundleId.isEmpty()) return stats.totalSuccess;
    const auto found = stats.perApp.find(bundleId);
    return found == stats.perApp.end() ? 0 : found->second.count;
}

/// The assembled X11 platform with a started hotkey monitor, a bindings store of its own and
/// keys typed through XTEST.
class Strokes : public WorkspaceFixture {
protected:
    void SetUp() override {
        WorkspaceFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // The one platform of the program, installed on first use and kept to the end.
        static const std::unique_ptr<X11Platform> platform = [] {
            QString whyNot;
            auto created = X11Platform::create(&whyNot);
            EXPECT_TRUE(created) << whyNot.toStdString();
            if (created) Platform::install(created.get());
            return created;
        }();
        ASSERT_TRUE(platform);
        ASSERT_TRUE(windows->showDesktop(0));
        injector = XTestInjector::open();
        ASSERT_TRUE(injector) << "the display has no XTEST extension";
        // Each test binds afresh: no key carries over from the one before.
        QFile::remove(KeyBindingStore::defaultFileURL());
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
        WorkspaceFixture::TearDown();
    }

    /// Writes an entry that starts xterm with a class of its own, and binds `keyID` to it.
    void bindEntry(const QString& keyID, const QString& id, const QString& name, const QString& wmClass) {
        const QString path = writeUser(id, entryText(name, QStringLiteral("xterm -class ") + wmClass,
                                                     {QStringLiteral("StartupWMClass=") + wmClass}));
        ASSERT_TRUE(store.bind(keyID, {id, path, name}));
    }

    /// Starts the entry's program directly, as if the user had, and waits for its window.
    xcb_window_t run(const QString& wmClass) {
        return waitForWindowOf(spawn({QStringLiteral("xterm"), QStringLiteral("-class"), wmClass}));
    }

    /// Right Super held while each key is typed, all as keyboard input.
    void stroke(std::initializer_list<std::uint8_t> keys) {
        injector->press(XKey::superRight);
        for (const std::uint8_t key : keys)
            injector->type(key);
        injector->release(XKey::superRight);
        injector->sync();
    }

    /// Waits until `count` result texts have reached the main thread.
    QStringList results(qsizetype count) {
        TestSupport::processEventsUntil([&] { return outcomes.size() >= count; }, 20000);
        return outcomes;
    }

    std::unique_ptr<XTestInjector> injector;
    KeyBindingStore store;
    std::unique_ptr<HotkeyMonitor> monitor;
    QStringList outcomes;
    std::int64_t jumpsBefore = 0;
};

} // namespace

TEST_F(Strokes, RunningAppOnAnotherDesktopAndMinimisedIsShownRestoredAndActive) {
    bindEntry(QStringLiteral("1-q"), idA, QStringLiteral("Stroke A"), classA);
    const xcb_window_t window = run(classA);
    ASSERT_NE(window, XCB_NONE);
    windows->watch(window);
    // Minimised while its desktop is shown: openbox here did not act on an iconify request
    // for a window already sent to a hidden desktop.
    ASSERT_TRUE(windows->minimise(window));
    ASSERT_TRUE(windows->moveToDesktop(window, 2));
    ASSERT_TRUE(windows->hasState(window, "_NET_WM_STATE_HIDDEN"));
    const std::int64_t jumpsOfABefore = countedJumps(idA);

    stroke({XKey::q});

    EXPECT_EQ(results(1), QStringList{QStringLiteral("Switched to Stroke A")});
    EXPECT_TRUE(windows->waitUntil([&] { return windows->currentDesktop() == 2u; }))
        << "desktop not made current";
    EXPECT_TRUE(windows->waitUntil([&] { return !windows->hasState(window, "_NET_WM_STATE_HIDDEN"); }))
        << "window still minimised";
    EXPECT_TRUE(windows->waitUntil([&] { return windows->activeWindow() == window; })) << "window not active";
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
    EXPECT_EQ(countedJumps(idA) - jumpsOfABefore, 1);
}

TEST_F(Strokes, BoundAppNotRunningIsLaunchedFromItsEntryAndOneWhoseFileIsGoneIsReportedMissing) {
    bindEntry(QStringLiteral("1-w"), idB, QStringLiteral("Stroke B"), classB);
    bindEntry(QStringLiteral("2-a"), idA, QStringLiteral("Stroke Gone"), classA);
    ASSERT_TRUE(QFile::remove(userFolder + QLatin1Char('/') + idA));

    stroke({XKey::w});
    stroke({XKey::a});

    EXPECT_EQ(results(2), (QStringList{QStringLiteral("Launched"),
                                       QStringLiteral("Couldn't launch Stroke Gone (path missing)")}));
    std::optional<RunningApplication> started;
    EXPECT_TRUE(windows->waitUntil(
        [&] {
            for (const RunningApplication& application : workspace->runningApplications())
                if (application.bundleIdentifier == idB) started = application;
            return started.has_value();
        },
        20000))
        << "no window of the launched entry";
    if (started) launched.insert(started->processIdentifier); // ended at tear-down
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}

TEST_F(Strokes, QuickStrokesRunInOrder) {
    bindEntry(QStringLiteral("1-q"), idA, QStringLiteral("Stroke A"), classA);
    bindEntry(QStringLiteral("2-s"), idB, QStringLiteral("Stroke B"), classB);
    const xcb_window_t a = run(classA);
    const xcb_window_t b = run(classB);
    ASSERT_NE(a, XCB_NONE);
    ASSERT_NE(b, XCB_NONE);
    // Neither is active to begin with: the last one mapped usually is.
    ASSERT_TRUE(windows->activate(a));
    const std::int64_t jumpsOfBBefore = countedJumps(idB);

    // All typed under one hold of right Super, before the first has run.
    stroke({XKey::s, XKey::q, XKey::s});

    EXPECT_EQ(results(3),
              (QStringList{QStringLiteral("Switched to Stroke B"), QStringLiteral("Switched to Stroke A"),
                           QStringLiteral("Switched to Stroke B")}));
    EXPECT_TRUE(windows->waitUntil([&] { return windows->activeWindow() == b; }))
        << "the last stroke's window is not the active one";
    EXPECT_EQ(countedJumps() - jumpsBefore, 3);
    EXPECT_EQ(countedJumps(idB) - jumpsOfBBefore, 2);
}
