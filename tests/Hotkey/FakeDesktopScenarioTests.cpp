// The monitor on a Fake desktop, as the application runs it: installing the tap and the wait
// until it can be installed, in virtual time; and whole strokes, from the key event to the result
// text on the main thread and the counters in "usageStats.json", for the outcomes no other
// test reaches.
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/Fake/FakePlatform.h"
#include "Platform/TapEvent.h"
#include "Stats/UsageStats.h"
#include "Stats/UsageStatsStore.h"
#include "Switching/TrustPrompt.h"
#include "support/TestSupport.h"

#include <QStringList>

#include <gtest/gtest.h>

/// A Fake desktop with one display of two desktops and a full-screen Space, a bindings file
/// of its own and a monitor reading it: strokes go in as key events, and come out as result
/// texts on the main thread.
class FakeDesktopScenario : public ::testing::Test {
protected:
    static constexpr std::uint64_t desktop1 = 11, desktop2 = 12, fullscreen = 13;

    FakeDesktopScenario() {
        // The trust prompt is asked for once per process; each scenario is a fresh launch.
        TrustPrompt::latch = false;
        FakeDesktop& d = fake->desktop;
        d.displays.push_back({1, QStringLiteral("UUID-MAIN"), QRectF(0, 0, 1440, 900), true,
                              QStringLiteral("Built-in Display"),
                              {{desktop1, 0}, {desktop2, 0}, {fullscreen, 4}}, desktop1});
        QObject::connect(&monitor, &HotkeyMonitor::lastOutcomeChanged, [this] {
            if (monitor.lastOutcome()) outcomes.append(*monitor.lastOutcome());
        });
    }

    /// A path that exists, standing for an installed application bundle.
    QString installedBundle(const QString& name) {
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".desktop");
        TestSupport::writeAll(path, "[Desktop Entry]\n");
        return path;
    }

    /// Right Command + the key with this virtual key code; true when swallowed.
    bool stroke(std::int64_t keyCode) {
        monitor.decide(EventType::flagsChanged, {CommandKey::right, EventFlag::command});
        const bool swallowed =
            monitor.decide(EventType::keyDown, {keyCode, EventFlag::command}) == HotkeyMonitor::Decision::swallow;
        monitor.decide(EventType::flagsChanged, {CommandKey::right, 0});
        return swallowed;
    }

    /// Waits for the queue, then for the texts it reported to reach the main thread.
    QStringList settle(qsizetype expectedTexts) {
        monitor.queue().waitUntilIdle();
        TestSupport::processEventsUntil([&] { return outcomes.size() >= expectedTexts; });
        TestSupport::drainMainThread();
        return outcomes;
    }

    /// Jumps counted in "usageStats.json".
    static std::int64_t countedJumps() {
        return UsageStats::snapshot(UsageStatsStore::defaultFileURL()).totalSuccess;
    }

    ScopedFakePlatform fake;
    QString folder = TestSupport::freshFolder();
    KeyBindingStore store{folder + QStringLiteral("/keyBindings.json")};
    HotkeyMonitor monitor{folder + QStringLiteral("/keyBindings.json")};
    QStringList outcomes;
    std::int64_t jumpsBefore = countedJumps();
};

using namespace std::chrono_literals;
using StartTest = FakeDesktopScenario;
using StrokeTest = FakeDesktopScenario;

namespace {
const QString notGranted = QStringLiteral(
    "Listening permission not granted: System Settings → Privacy & Security → Accessibility, enable Kestavon");
const QString creationFailed =
    QStringLiteral("Hotkey listener creation failed (Input Monitoring permission may also be required)");
const QString granted = QStringLiteral("Listening permission granted — hotkeys are ready");
} // namespace

TEST_F(StartTest, UntrustedAtLaunchPromptsOnceWaitsAndStartsWithinOneTimerPeriod) {
    fake->desktop.trusted = false;
    monitor.start(false);
    EXPECT_EQ(monitor.permissionIssue(), PermissionIssue::accessibility);
    EXPECT_EQ(fake->desktop.trustPrompts, 1);
    EXPECT_EQ(settle(1), QStringList{notGranted});

    fake->fakeTime.advance(9s);  // still untrusted: the timer only polls
    EXPECT_FALSE(monitor.isStarted());
    EXPECT_EQ(fake->desktop.tapAttempts, 0);

    fake->desktop.trusted = true;
    fake->fakeTime.advance(3s);
    EXPECT_TRUE(monitor.isStarted());
    EXPECT_EQ(monitor.permissionIssue(), std::nullopt);
    EXPECT_FALSE(monitor.isCheckingPermission());
    EXPECT_EQ(settle(2), (QStringList{notGranted, granted}));
    EXPECT_EQ(fake->desktop.trustPrompts, 1);
}

TEST_F(StartTest, TapRefusedWhileTrustedRetriesSilentlyUntilItWorks) {
    fake->desktop.tapFailure = TapFailure::notPermitted;
    monitor.start(false);
    EXPECT_EQ(monitor.permissionIssue(), PermissionIssue::inputMonitoring);
    EXPECT_EQ(settle(1), QStringList{creationFailed});

    fake->fakeTime.advance(9s);
    EXPECT_EQ(fake->desktop.tapAttempts, 4);  // the start and three silent retries
    EXPECT_EQ(settle(1), QStringList{creationFailed});

    fake->desktop.tapFailure.reset();
    fake->fakeTime.advance(3s);
    EXPECT_TRUE(monitor.isStarted());
    EXPECT_EQ(settle(2), (QStringList{creationFailed, granted}));
}

TEST_F(StartTest, RepeatedStartsKeepOneTimerAndMakeOneTap) {
    fake->desktop.trusted = false;
    monitor.start(false);
    monitor.start(false);
    monitor.start(true);
    EXPECT_EQ(fake->fakeTime.activeTimerCount(), 1);
    EXPECT_EQ(fake->desktop.trustPrompts, 1); // the system prompt is asked for once per process

    fake->desktop.trusted = true;
    monitor.start(false);
    monitor.start(false);
    EXPECT_EQ(fake->desktop.tapsCreated, 1);
}

namespace {
constexpr std::int64_t keyQ = 12;
}

TEST_F(StrokeTest, DegradationsAreListedInTheirOrderAndTheJumpStillCounts) {
    const auto pid = fake->desktop.addApp("Mail", QStringLiteral("com.example.mail"), installedBundle("Mail"));
    fake->desktop.addWindow(pid, QRectF(50, 60, 700, 500), desktop2, /*minimized=*/true);
    fake->desktop.spaceSwitchIgnored = true;
    fake->desktop.minimizeWriteRefused = true;
    fake->desktop.activation = FakeDesktop::Activation::never;
    store.bind("1-q", {"com.example.mail", installedBundle("Mail"), "Mail"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Activated Mail (fallback: Space not switched (app activated only), "
                                     "App not brought to front, Minimized window not restored)"});
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}

TEST_F(StrokeTest, RunningWithoutAnyWindowFallsBackToLaunchingTheRunningInstance) {
    const QString path = installedBundle("Agent");
    const auto pid = fake->desktop.addApp("Agent", QStringLiteral("com.example.agent"), path);
    store.bind("1-q", {"com.example.agent", path, "Agent"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Launched"});
    EXPECT_EQ(fake->desktop.apps.size(), 1u);  // the running instance, not a second one
    EXPECT_EQ(fake->desktop.frontmostPid, pid);
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}

TEST_F(StrokeTest, RunningWithoutAWindowAndItsBundleGoneCannotLaunch) {
    fake->desktop.addApp("Agent", QStringLiteral("com.example.agent"), folder + "/Gone.desktop");
    store.bind("1-q", {"com.example.agent", folder + "/Gone.desktop", "Agent"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Couldn't launch (path missing)"});
    EXPECT_EQ(countedJumps() - jumpsBefore, 0);
}
