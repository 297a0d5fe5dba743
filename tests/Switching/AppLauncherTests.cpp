#include "Switching/AppLauncher.h"

#include "Platform/Fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Outcome = AppLauncher::Outcome;

class AppLauncherTest : public testing::Test {
protected:
    void SetUp() override { QDir().mkpath(entry.path); }

    ScopedFakePlatform fake;
    FakeDesktop& desktop = fake->desktop;
    const AppEntry entry{QStringLiteral("com.example.notes"),
                         TestSupport::freshFolder() + QStringLiteral("/Notes.app"), QStringLiteral("Notes")};
};

TEST_F(AppLauncherTest, ApplicationWithoutAnInstanceFails) {
    desktop.launch = FakeDesktop::Launch::noInstance;
    EXPECT_EQ(AppLauncher::launch(entry),
              Outcome::failed(QStringLiteral("System returned no running instance")));
}

TEST_F(AppLauncherTest, SilentSystemTimesOutAfterThirtySecondsAndALateAnswerIsHarmless) {
    desktop.launch = FakeDesktop::Launch::never;
    EXPECT_EQ(AppLauncher::launch(entry),
              Outcome::failed(QStringLiteral("Launch timed out (no response in 30s)")));
    EXPECT_EQ(fake->fakeTime.slept(), 30s);
    ASSERT_EQ(desktop.pendingLaunches.size(), 1u);
    auto late = std::move(desktop.pendingLaunches.front());
    desktop.pendingLaunches.clear();

    // The answer comes long after launch() returned; its result cell must still be alive.
    late(RunningApplication{900, entry.name, entry.bundleId, entry.path}, std::nullopt);
    late(std::nullopt, QStringLiteral("late error"));

    desktop.launch = FakeDesktop::Launch::succeed;
    EXPECT_EQ(AppLauncher::launch(entry), Outcome::started());
}

} // namespace
