// Whole strokes on the Fake desktop: from the key event to the result text on the main
// thread and the counters in "usageStats.json". The soak (tests/Soak) checks the common
// outcomes against a model; these are the ones it never produces.
#include "FakeDesktopScenario.h"

#include "Stats/UsageStats.h"
#include "Stats/UsageStatsStore.h"

std::int64_t FakeDesktopScenario::countedJumps() const {
    return UsageStats::snapshot(UsageStatsStore::defaultFileURL()).totalSuccess;
}

namespace {
constexpr std::int64_t keyQ = 12;
}

using StrokeTest = FakeDesktopScenario;

TEST_F(StrokeTest, DegradationsAreListedInTheirOrderAndTheJumpStillCounts) {
    const auto pid = fake->desktop.addApp("Mail", QStringLiteral("com.example.mail"), installedBundle("Mail"));
    fake->desktop.addWindow(pid, QRectF(50, 60, 700, 500), desktop2, /*minimized=*/true);
    fake->desktop.spaceSwitchIgnored = true;
    fake->desktop.minimizeWriteRefused = true;
    fake->desktop.activation = FakeDesktop::Activation::never;
    bind("1-q", {"com.example.mail", installedBundle("Mail"), "Mail"});

    stroke(keyQ);
    EXPECT_EQ(settle(1), QStringList{"Activated Mail (fallback: Space not switched (app activated only), "
                                     "App not brought to front, Minimized window not restored)"});
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
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
