#include "Platform/X11/X11EventTap.h"
#include "Platform/X11/X11Platform.h"
#include "TestWindows.h"
#include "X11TapFixture.h"

#include <set>

namespace {

using Seen = RecordingTap::Seen;
constexpr std::uint64_t command = EventFlag::command;
constexpr std::uint64_t rightHeld = command | EventFlag::rightCommandKey;
constexpr std::uint64_t leftHeld = command | EventFlag::leftCommandKey;
constexpr std::int64_t keyQ = 12;
constexpr std::int64_t keyD = 2;
constexpr std::int64_t keyE = 14;

Seen flags(std::int64_t key, std::uint64_t flags) {
    return {EventType::flagsChanged, key, flags};
}
Seen keyDown(std::int64_t key, std::uint64_t flags) {
    return {EventType::keyDown, key, flags};
}

} // namespace

// --- swallowing and passing -----------------------------------------------------------------

using X11TapSwallowing = X11TapFixture;

TEST_F(X11TapSwallowing, ASwallowedPressNeverReachesTheFocusedClientButItsReleaseDoesWhateverLockIsOn) {
    auto tap = startTap(RecordingTap::swallowKey(keyQ));
    ASSERT_TRUE(tap->created());
    const std::pair<std::uint8_t, std::uint64_t> locks[] = {
        {0, command}, {XKey::capsLock, command | EventFlag::capsLock}, {XKey::numLock, command}};
    std::vector<Seen> expected;
    for (const auto& [lock, flagsWithLock] : locks) {
        if (lock) injector->type(lock); // on
        chord(XKey::superRight, XKey::q);
        if (lock) injector->type(lock); // off again
        expected.insert(expected.end(), {flags(54, rightHeld), keyDown(keyQ, flagsWithLock), flags(54, 0)});
    }
    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->presses(XKey::q), 0);
    // The grab is released, not kept: the key's release goes on to the client.
    EXPECT_EQ(std::count_if(recorder->keys().begin(), recorder->keys().end(),
                            [](const KeyRecorder::Key& k) { return !k.press && k.code == XKey::q; }),
              3);
    ASSERT_TRUE(tap->waitForEvents(expected.size()));
    EXPECT_EQ(tap->seen(), expected);
}

TEST_F(X11TapSwallowing, ADisabledTapPassesEverythingUntilEnabledAgain) {
    auto tap = startTap(RecordingTap::swallowKey(keyQ));
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
    EXPECT_EQ(tap->seen(), (std::vector<Seen>{flags(54, rightHeld), keyDown(keyQ, command), flags(54, 0)}));
}

TEST_F(X11TapSwallowing, AStoppedTapReleasesItsGrabs) {
    auto tap = startTap(RecordingTap::swallowKey(keyQ));
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
    auto tap = startTap(RecordingTap::swallowKey(keyQ));
    injector->type(XKey::q);
    injector->release(XKey::superRight);
    ASSERT_TRUE(settle());
    EXPECT_EQ(recorder->presses(XKey::q), 0);
    ASSERT_TRUE(tap->waitForEvents(3));
    EXPECT_EQ(tap->seen(), (std::vector<Seen>{flags(54, rightHeld), keyDown(keyQ, command), flags(54, 0)}));
}

// --- creation -------------------------------------------------------------------------------

using X11TapCreation = X11TapFixture;

TEST_F(X11TapCreation, AKeyAnotherClientHoldsIsSaidAndTheOthersStillWork) {
    // openbox binds Super+D (show the desktop) and Super+E before we start.
    auto tap = startTap(RecordingTap::swallowKey(keyQ));
    ASSERT_TRUE(tap->created());
    const auto taken = tap->tap()->keysTaken();
    EXPECT_EQ(std::set(taken.begin(), taken.end()), (std::set{keyD, keyE}));
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

TEST_F(X11TapCreation, NoTapSaysWhy) {
    const auto callback = [](std::uint32_t, const TapEvent&) { return false; };
    EXPECT_EQ(X11EventTap::open(":4093", callback).failure, TapFailure::noDisplay);

    auto first = startTap();
    ASSERT_TRUE(first->created());
    auto second = startTap();
    EXPECT_FALSE(second->created());
    EXPECT_EQ(second->failure(), TapFailure::keysTaken);
    first.reset();

    // Under a Wayland compositor the display may serve X clients, but not the keyboard.
    for (const auto& [name, value] :
         {std::pair{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_SESSION_TYPE", "wayland"}}) {
        qputenv(name, value);
        QString whyNot;
        const auto platform = X11Platform::create(&whyNot);
        qunsetenv(name);
        ASSERT_TRUE(platform) << whyNot.toStdString();
        const TapOpening opening = platform->keyboardTap().createKeyboardTap(callback);
        EXPECT_EQ(opening.tap, nullptr) << name;
        EXPECT_EQ(opening.failure, TapFailure::unsupportedSession) << name;
    }
}
