// Whole strokes on the Fake desktop: from the key event to the result text on the main
// thread and the counters in "usageStats.json".
#include "FakeDesktopScenario.h"

#include "Stats/UsageStats.h"
#include "Stats/UsageStatsStore.h"

std::int64_t FakeDesktopScenario::countedJumps() const {
    return UsageStats::snapshot(UsageStatsStore::defaultFileURL()).totalSuccess;
}

namespace {
constexpr std::int64_t keyQ = 12, keyW = 13;
}

using StrokeTest = FakeDesktopScenario;

TEST_F(StrokeTest, NotRunningWithItsBundlePresentIsLaunchedAndCounted) {
    const QString path = installedBundle("Notes");
    fake->desktop.installed.insert(path, {QStringLiteral("com.example.notes"), QStringLiteral("Notes")});
    bind("1-q", {"com.example.notes", path, "Notes"});

    EXPECT_TRUE(stroke(keyQ));
    EXPECT_EQ(settle(1), QStringList{"Launched"});
    EXPECT_EQ(fake->desktop.openedPaths, std::vector<QString>{path});
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}

TEST_F(StrokeTest, LaunchFailureShowsTheSystemsReasonAndCountsNothing) {
    const QString path = installedBundle("Broken");
    fake->desktop.launch = FakeDesktop::Launch::fail;
    fake->desktop.launchFailure = QStringLiteral("The file is not an application.");
    bind("1-q", {"com.example.broken", path, "Broken"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Launch failed: The file is not an application."});
    EXPECT_EQ(countedJumps() - jumpsBefore, 0);
}

TEST_F(StrokeTest, ALaunchThatNeverAnswersTimesOutInVirtualTime) {
    const QString path = installedBundle("Slow");
    fake->desktop.launch = FakeDesktop::Launch::never;
    bind("1-q", {"com.example.slow", path, "Slow"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Launch failed: Launch timed out (no response in 30s)"});
    EXPECT_GE(fake->fakeTime.slept(), std::chrono::seconds(30));
    // The answer that comes after the deadline lands safely and changes nothing.
    ASSERT_EQ(fake->desktop.pendingLaunches.size(), 1u);
    fake->desktop.pendingLaunches.front()(std::nullopt, QStringLiteral("late"));
    EXPECT_EQ(countedJumps() - jumpsBefore, 0);
}

TEST_F(StrokeTest, MissingBundleNotRunningIsReportedWithTheName) {
    bind("1-q", {"com.example.gone", folder + "/Gone.desktop", "Gone"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Couldn't launch Gone (path missing)"});
    EXPECT_TRUE(fake->desktop.openedPaths.empty());
    EXPECT_EQ(countedJumps() - jumpsBefore, 0);
}

TEST_F(StrokeTest, RunningAppWithAWindowOnTheCurrentDesktopIsSwitchedTo) {
    const QString path = installedBundle("Terminal");
    const auto pid = fake->desktop.addApp("Terminal", QStringLiteral("com.example.terminal"), path);
    fake->desktop.addWindow(pid, QRectF(100, 100, 800, 600), desktop1);
    bind("1-q", {"com.example.terminal", path, "Terminal"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Switched to Terminal"});
    EXPECT_EQ(fake->desktop.frontmostPid, pid);
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}

TEST_F(StrokeTest, WindowOnAnotherDesktopAndMinimisedIsBroughtBackCompletely) {
    const auto pid = fake->desktop.addApp("Mail", QStringLiteral("com.example.mail"), installedBundle("Mail"));
    const auto window = fake->desktop.addWindow(pid, QRectF(50, 60, 700, 500), desktop2, /*minimized=*/true);
    bind("1-q", {"com.example.mail", installedBundle("Mail"), "Mail"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Switched to Mail"});
    EXPECT_EQ(fake->desktop.displays[0].currentSpace, desktop2);
    EXPECT_FALSE(fake->desktop.window(window)->minimized);
    EXPECT_EQ(fake->desktop.frontmostPid, pid);
}

TEST_F(StrokeTest, DegradationsAreListedInTheirOrderAndTheJumpStillCounts) {
    const auto pid = fake->desktop.addApp("Mail", QStringLiteral("com.example.mail"), installedBundle("Mail"));
    fake->desktop.addWindow(pid, QRectF(50, 60, 700, 500), desktop2, /*minimized=*/true);
    fake->desktop.gesturesIgnored = true;
    fake->desktop.minimizeWriteRefused = true;
    fake->desktop.activation = FakeDesktop::Activation::never;
    bind("1-q", {"com.example.mail", installedBundle("Mail"), "Mail"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Activated Mail (fallback: Space not switched (app activated only), "
                                     "App not brought to front, Minimized window not restored)"});
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}

TEST_F(StrokeTest, SpaceAndRestoreFailingWithActivationWorkingNamesJustThoseTwo) {
    const auto pid = fake->desktop.addApp("Mail", QStringLiteral("com.example.mail"), installedBundle("Mail"));
    fake->desktop.addWindow(pid, QRectF(50, 60, 700, 500), desktop2, /*minimized=*/true);
    fake->desktop.gesturesIgnored = true;
    fake->desktop.minimizeWriteRefused = true;
    bind("1-q", {"com.example.mail", installedBundle("Mail"), "Mail"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Activated Mail (fallback: Space not switched (app activated only), "
                                     "Minimized window not restored)"});
}

TEST_F(StrokeTest, RunningWithoutAnyWindowFallsBackToLaunchingTheRunningInstance) {
    const QString path = installedBundle("Agent");
    const auto pid = fake->desktop.addApp("Agent", QStringLiteral("com.example.agent"), path);
    bind("1-q", {"com.example.agent", path, "Agent"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Launched"});
    EXPECT_EQ(fake->desktop.apps.size(), 1u);  // the running instance, not a second one
    EXPECT_EQ(fake->desktop.frontmostPid, pid);
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}

TEST_F(StrokeTest, RunningWithoutAWindowAndItsBundleGoneCannotLaunch) {
    fake->desktop.addApp("Agent", QStringLiteral("com.example.agent"), folder + "/Gone.desktop");
    bind("1-q", {"com.example.agent", folder + "/Gone.desktop", "Agent"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Couldn't launch (path missing)"});
    EXPECT_EQ(countedJumps() - jumpsBefore, 0);
}

TEST_F(StrokeTest, TwoQuickStrokesExecuteInTheOrderPressed) {
    const auto a = fake->desktop.addApp("Alpha", QStringLiteral("com.example.alpha"), installedBundle("Alpha"));
    const auto b = fake->desktop.addApp("Beta", QStringLiteral("com.example.beta"), installedBundle("Beta"));
    fake->desktop.addWindow(a, QRectF(0, 0, 400, 300), desktop1);
    fake->desktop.addWindow(b, QRectF(500, 0, 400, 300), desktop1);
    bind("1-q", {"com.example.alpha", installedBundle("Alpha"), "Alpha"});
    bind("1-w", {"com.example.beta", installedBundle("Beta"), "Beta"});

    EXPECT_TRUE(stroke(keyQ));
    EXPECT_TRUE(stroke(keyW));
    EXPECT_EQ(settle(2), (QStringList{"Switched to Alpha", "Switched to Beta"}));
    EXPECT_EQ(fake->desktop.frontmostPid, b);
    EXPECT_EQ(countedJumps() - jumpsBefore, 2);
}
