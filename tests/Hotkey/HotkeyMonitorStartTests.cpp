// Installing the tap, and the wait until it can be installed, in virtual time.
#include "FakeDesktopScenario.h"

#include "Platform/Fake/FakeEventTap.h"
#include "Platform/X11/X11Words.h"

using namespace std::chrono_literals;

namespace {
const QString notGranted = QStringLiteral(
    "Listening permission not granted: System Settings → Privacy & Security → Accessibility, enable Kestavon");
const QString creationFailed =
    QStringLiteral("Hotkey listener creation failed (Input Monitoring permission may also be required)");
const QString granted = QStringLiteral("Listening permission granted — hotkeys are ready");
} // namespace

using StartTest = FakeDesktopScenario;

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

TEST_F(StartTest, BothGrantedStartsQuietlyAndTheTapFeedsTheDecision) {
    const auto pid = fake->desktop.addApp("Notes", QStringLiteral("com.example.notes"), installedBundle("Notes"));
    fake->desktop.addWindow(pid, QRectF(0, 0, 300, 300), desktop1);
    bind("1-q", {"com.example.notes", installedBundle("Notes"), "Notes"});

    monitor.start(false);
    EXPECT_TRUE(monitor.isStarted());
    EXPECT_EQ(monitor.permissionIssue(), std::nullopt);
    EXPECT_FALSE(monitor.isCheckingPermission());

    // Events reach the decision on the tap's own thread.
    auto tap = fake->tapPort.lastTap();
    ASSERT_TRUE(tap);
    EXPECT_FALSE(tap->deliver(EventType::flagsChanged, {CommandKey::right, EventFlag::command}));
    EXPECT_TRUE(tap->isEnabled());
    EXPECT_TRUE(tap->deliver(EventType::keyDown, {12, EventFlag::command}));
    EXPECT_FALSE(tap->deliver(EventType::keyDown, {13, EventFlag::command}));  // unbound
    EXPECT_EQ(settle(1), QStringList{"Switched to Notes"});  // no permission message before it
}

TEST_F(StartTest, ASecondStartDoesNothing) {
    monitor.start(false);
    monitor.start(false);
    EXPECT_EQ(fake->desktop.tapsCreated, 1);
}

TEST_F(StartTest, RepeatedFailingStartsKeepOneTimer) {
    fake->desktop.trusted = false;
    monitor.start(false);
    monitor.start(false);
    monitor.start(true);
    EXPECT_EQ(fake->fakeTime.activeTimerCount(), 1);
    EXPECT_EQ(fake->desktop.trustPrompts, 1);  // the system prompt is asked for once per process
}

TEST_F(StartTest, EachTapFailureIsPublishedAsItsOwnCauseInThePlatformsWords) {
    fake->platformWords = x11Words();
    const std::pair<TapFailure, PermissionIssue> cases[] = {
        {TapFailure::notPermitted, PermissionIssue::inputMonitoring},
        {TapFailure::unsupportedSession, PermissionIssue::unsupportedSession},
        {TapFailure::noDisplay, PermissionIssue::noDisplay},
        {TapFailure::keysTaken, PermissionIssue::keysTaken},
    };
    for (const auto& [failure, issue] : cases) {
        fake->desktop.tapFailure = failure;
        monitor.start(false);
        EXPECT_EQ(monitor.permissionIssue(), issue);
        EXPECT_EQ(settle(outcomes.size() + 1).last(), troubleWords(issue, x11Words()).text);
    }
    // Once the keys are free again, the start says so without speaking of permissions.
    fake->desktop.tapFailure.reset();
    fake->fakeTime.advance(3s);
    EXPECT_TRUE(monitor.isStarted());
    EXPECT_EQ(settle(5).last(), "Hotkeys are ready");
}

TEST_F(StartTest, KeysOtherProgramsHoldArePublishedByLegendInLayoutOrder) {
    fake->desktop.keysTaken = {14, 999, 12};  // E, a key no one binds, Q
    monitor.start(false);
    EXPECT_TRUE(monitor.isStarted());
    EXPECT_EQ(monitor.keysTaken(), (QStringList{"Q", "E"}));
    EXPECT_EQ(monitor.permissionIssue(), std::nullopt);
}
