#include "Switching/SwitchService.h"

#include "Platform/Fake/FakePlatform.h"
#include "Switching/TrustPrompt.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using enum Degradation;

const QString uuid = QStringLiteral("UUID-MAIN");
const QRectF frame(200, 150, 900, 700);

class SwitchServiceTest : public testing::Test {
protected:
    void SetUp() override {
        TrustPrompt::latch = false;
        desktop.displays = {
            {1, uuid, QRectF(0, 0, 1920, 1080), true, QStringLiteral("Built-in"), {{1, 0}, {2, 0}}, 1}};
    }
    // Runs the main-thread activation hop while this test's platform is still installed.
    void TearDown() override { TestSupport::drainMainThread(); }

    ScopedFakePlatform fake;
    FakeDesktop& desktop = fake->desktop;
    FakeTime& time = fake->fakeTime;
    const std::int32_t pid = desktop.addApp(QStringLiteral("Editor"), QStringLiteral("com.example.editor"),
                                            QStringLiteral("/Apps/Editor.app"));
    const AppTarget target{QStringLiteral("Editor"), QStringLiteral("com.example.editor")};
};

TEST_F(SwitchServiceTest, ApplicationWithoutWindowsIsNotTouched) {
    EXPECT_EQ(SwitchService::present(target), PresentOutcome::noWindow());
    EXPECT_EQ(SwitchService::present(AppTarget{QStringLiteral("Other"), std::nullopt}),
              PresentOutcome::noWindow());
    EXPECT_TRUE(desktop.activationRequests.empty());
    EXPECT_TRUE(desktop.openedPaths.empty());
    EXPECT_EQ(desktop.trustPrompts, 1);
}

TEST_F(SwitchServiceTest, FocusedWindowIsPreferredOverTheFrontOne) {
    desktop.addWindow(pid, QRectF(0, 0, 400, 300), 1);
    desktop.focusedWindowOf[pid] = desktop.addWindow(pid, frame, 2);
    EXPECT_EQ(SwitchService::present(target), PresentOutcome::presented());
    EXPECT_EQ(desktop.displays[0].currentSpace, 2u);
}

TEST_F(SwitchServiceTest, UnresolvableSpaceIsSkipped) {
    desktop.addWindow(pid, frame, 1);
    desktop.spaceListFails = true;
    EXPECT_EQ(SwitchService::present(target), PresentOutcome::degraded({spaceSwitchSkipped}));
    EXPECT_EQ(desktop.frontmostPid, pid);
}

TEST_F(SwitchServiceTest, VanishedProcessFailsActivationButWindowIsStillRestored) {
    const std::int32_t gone = 777;
    const auto id = desktop.addWindow(gone, frame, 1, true);
    EXPECT_EQ(SwitchService::present(AppTarget{QStringLiteral("proc777"), std::nullopt}),
              PresentOutcome::degraded({activationFailed}));
    EXPECT_FALSE(desktop.window(id)->minimized);
}

TEST_F(SwitchServiceTest, ActivationIsPolledForAtMostTwoWaits) {
    desktop.addWindow(pid, frame, 1);
    desktop.activation = FakeDesktop::Activation::delayed;
    desktop.activationDelay = 300ms;
    EXPECT_EQ(SwitchService::present(target), PresentOutcome::presented());
    EXPECT_EQ(time.sleepCount(), 15);

    desktop.frontmostPid.reset();
    desktop.activation = FakeDesktop::Activation::never;
    const int before = time.sleepCount();
    EXPECT_EQ(SwitchService::present(target), PresentOutcome::degraded({activationFailed}));
    EXPECT_EQ(time.sleepCount() - before, 2 * 35);

    // The fallback activation is made on the main thread, after this program activated itself.
    TestSupport::drainMainThread();
    EXPECT_EQ(desktop.selfActivations, 1);
    EXPECT_EQ(desktop.activationRequests.back(), pid);
}

} // namespace
