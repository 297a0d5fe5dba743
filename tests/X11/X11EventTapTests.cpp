#include "Support/HotkeyLog.h"
#include "Platform/X11/X11EventTap.h"
#include "Support/DataFolder.h"
#include "TestWindows.h"
#include "X11TapFixture.h"
#include "support/TestSupport.h"

#include <QDir>

namespace {

using Seen = RecordingTap::Seen;
constexpr std::uint64_t command = EventFlag::command;
constexpr std::uint64_t rightHeld = command | EventFlag::rightCommandKey;
constexpr std::uint64_t leftHeld = command | EventFlag::leftCommandKey;
constexpr std::int64_t macQ = 12;

// The shared log decides once, at first use, whether it is on: switch it on before any test.
class SharedLogOn : public testing::Environment {
    void SetUp() override {
        QDir().mkpath(DataFolder::path());
        TestSupport::writeAll(DataFolder::file(QStringLiteral("hotkey.log.on")), {});
    }
};
[[maybe_unused]] testing::Environment* const sharedLogOn = testing::AddGlobalTestEnvironment(new SharedLogOn);

QString sharedLog() {
    HotkeyLog::shared().flush();
    return QString::fromUtf8(TestSupport::readAll(HotkeyLog::shared().fileURL()));
}

Seen flags(std::int64_t key, std::uint64_t flags) {
    return {EventType::flagsChanged, key, flags};
}
Seen keyDown(std::int64_t key, std::uint64_t flags) {
    return {EventType::keyDown, key, flags};
}

} // namespace

// --- swallowing and passing -----------------------------------------------------------------

using X11TapSwallowing = X11TapFixture;

TEST_F(X11TapSwallowing, ASwallowedPressNeverReachesTheFocusedClientButItsReleaseDoes) {
    auto tap = startTap(RecordingTap::swallowKey(macQ));
    ASSERT_TRUE(tap->created());
    chord(XKey::superRight, XKey::q);
    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->presses(XKey::q), 0);
    // The grab is released, not kept: the key's release goes on to the client, as on macOS.
    EXPECT_TRUE(std::any_of(recorder->keys().begin(), recorder->keys().end(),
                            [](const KeyRecorder::Key& k) { return !k.press && k.code == XKey::q; }));
    ASSERT_TRUE(tap->waitForEvents(3));
    EXPECT_EQ(tap->seen(), (std::vector<Seen>{flags(54, rightHeld), keyDown(macQ, command), flags(54, 0)}));
}

TEST_F(X11TapSwallowing, CapsLockOrNumLockOnChangesNothing) {
    auto tap = startTap(RecordingTap::swallowKey(macQ));
    for (const std::uint8_t lock : {XKey::capsLock, XKey::numLock}) {
        injector->type(lock); // on
        chord(XKey::superRight, XKey::q);
        injector->type(lock); // off again
    }
    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->presses(XKey::q), 0);
    ASSERT_TRUE(tap->waitForEvents(6));
    EXPECT_EQ(tap->seen()[1], keyDown(macQ, command | EventFlag::capsLock));
    EXPECT_EQ(tap->seen()[4], keyDown(macQ, command));
}

TEST_F(X11TapSwallowing, ADisabledTapPassesEverythingUntilEnabledAgain) {
    auto tap = startTap(RecordingTap::swallowKey(macQ));
    tap->tap()->setEnabled(false);
    injector->press(XKey::superRight); // unseen: the key map must tell the tap later
    injector->type(XKey::q);
    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->presses(XKey::q), 1);
    EXPECT_TRUE(tap->seen().empty());

    tap->tap()->setEnabled(true);
    injector->type(XKey::q);
    injector->release(XKey::superRight);
    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->presses(XKey::q), 1);
    ASSERT_TRUE(tap->waitForEvents(3));
    EXPECT_EQ(tap->seen(), (std::vector<Seen>{flags(54, rightHeld), keyDown(macQ, command), flags(54, 0)}));
}

TEST_F(X11TapSwallowing, AStoppedTapReleasesItsGrabs) {
    auto tap = startTap(RecordingTap::swallowKey(macQ));
    ASSERT_TRUE(tap->stop()) << "run() did not return after stop()";
    chord(XKey::superRight, XKey::q);
    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->presses(XKey::q), 1);
}

// --- the Super keys -------------------------------------------------------------------------

using X11TapSuperKeys = X11TapFixture;

TEST_F(X11TapSuperKeys, AreReportedAsCommandKeyChanges) {
    auto tap = startTap();
    injector->press(XKey::superRight);
    injector->press(XKey::superLeft);
    injector->release(XKey::superRight);
    injector->release(XKey::superLeft);
    ASSERT_TRUE(tap->waitForEvents(4));
    // The Command bit stays while either key is held; the key bits tell which.
    EXPECT_EQ(tap->seen(), (std::vector<Seen>{flags(54, rightHeld), flags(55, rightHeld | leftHeld),
                                              flags(54, leftHeld), flags(55, 0)}));
}

TEST_F(X11TapSuperKeys, ASuperKeyHeldBeforeTheTapStartedIsReadFromTheKeyMap) {
    injector->press(XKey::superRight);
    injector->sync();
    auto tap = startTap(RecordingTap::swallowKey(macQ));
    injector->type(XKey::q);
    injector->release(XKey::superRight);
    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->presses(XKey::q), 0);
    ASSERT_TRUE(tap->waitForEvents(3));
    EXPECT_EQ(tap->seen(), (std::vector<Seen>{flags(54, rightHeld), keyDown(macQ, command), flags(54, 0)}));
}

// --- creation -------------------------------------------------------------------------------

using X11TapCreation = X11TapFixture;

TEST_F(X11TapCreation, AKeyAnotherClientHoldsIsLoggedAndTheOthersStillWork) {
    // openbox binds Super+D (show the desktop) before we start.
    auto tap = startTap(RecordingTap::swallowKey(macQ));
    ASSERT_TRUE(tap->created());
    EXPECT_TRUE(sharedLog().contains(QStringLiteral("抓键被拒：Super+2-d（X 键码 40，")));
    chord(XKey::superRight, XKey::q);
    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->presses(XKey::q), 0);

    // Super+D still works for openbox: it shows the desktop, and hides it again.
    TestWindows watch;
    for (const std::uint32_t showing : {1u, 0u}) {
        chord(XKey::superRight, XKey::d);
        EXPECT_TRUE(
            watch.waitUntil([&] { return watch.cardinal(watch.root(), "_NET_SHOWING_DESKTOP") == showing; }));
    }
}

TEST_F(X11TapCreation, NothingWhenEveryKeyIsHeldByAnotherClient) {
    auto first = startTap();
    ASSERT_TRUE(first->created());
    auto second = startTap();
    EXPECT_FALSE(second->created());
    EXPECT_TRUE(sharedLog().contains(QStringLiteral("tap 未安装：Super + 键帽的抓键全部被拒")));
}

TEST_F(X11TapCreation, NothingInAWaylandSession) {
    for (const auto& [name, value] :
         {std::pair{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_SESSION_TYPE", "wayland"}}) {
        qputenv(name, value);
        auto tap = startTap();
        qunsetenv(name);
        EXPECT_FALSE(tap->created()) << name;
    }
    EXPECT_TRUE(sharedLog().contains(QStringLiteral("热键需要 X11 会话")));
}

TEST_F(X11TapCreation, NothingWhenTheDisplayCannotBeOpened) {
    EXPECT_EQ(X11EventTap::open(":4093", [](std::uint32_t, const TapEvent&) { return false; }), nullptr);
}
