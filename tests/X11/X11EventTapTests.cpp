// Opening the X11 tap: what it cannot grab, and why there is no tap at all.
#include "Platform/X11/X11Platform.h"
#include "X11Fixture.h"

#include <set>

using X11TapCreation = X11Fixture;

// The other keys still work: every stroke test runs beside these grabs.
TEST_F(X11TapCreation, AKeyAnotherClientHoldsIsSaid) {
    // openbox binds Super+D (show the desktop) and Super+E before we start.
    RecordingTap tap;
    ASSERT_TRUE(tap.tap());
    const auto taken = tap.tap()->keysTaken();
    EXPECT_EQ(std::set(taken.begin(), taken.end()), (std::set<std::int64_t>{2, 14}));
}

// Runs before this program changes the keyboard mapping: after such a change, a tap made right
// after another was now and then seen to get keys the first one held (not yet understood).
TEST_F(X11TapCreation, NoTapSaysWhy) {
    const auto callback = [](std::uint32_t, const TapEvent&) { return false; };
    EXPECT_EQ(X11EventTap::open(":4093", callback).failure, TapFailure::noDisplay);

    auto first = std::make_unique<RecordingTap>();
    ASSERT_TRUE(first->tap());
    EXPECT_EQ(RecordingTap().failure(), TapFailure::keysTaken);
    first.reset();
    EXPECT_TRUE(RecordingTap().tap()) << "a stopped tap kept its grabs";

    // Under a Wayland compositor the display may serve X clients, but not the keyboard.
    QString whyNot;
    const auto platform = X11Platform::create(true, &whyNot);
    ASSERT_TRUE(platform) << whyNot.toStdString();
    const TapOpening opening = platform->keyboardTap().createKeyboardTap(callback);
    EXPECT_EQ(opening.tap, nullptr);
    EXPECT_EQ(opening.failure, TapFailure::unsupportedSession);
}

TEST_F(X11TapCreation, RightSuperHeldAloneByAnotherClientIsSaidAtTheStartAndAfterAMappingChange) {
    // Another client holds right Super in any state, as a manager opening its menu with it.
    xcb_connection_t* other = windows->connection();
    const auto hold = [&](bool held) {
        std::free(xcb_request_check(
            other, held
                       ? xcb_grab_key_checked(other, 1, windows->root(), XCB_MOD_MASK_ANY, XKey::superRight,
                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)
                       : xcb_ungrab_key_checked(other, XKey::superRight, windows->root(), XCB_MOD_MASK_ANY)));
    };
    hold(true);
    {
        const RecordingTap held;
        EXPECT_TRUE(held.tap() && held.tap()->triggerKeyTaken());
    }
    hold(false);

    RecordingTap tap;
    ASSERT_TRUE(tap.tap());
    EXPECT_FALSE(tap.tap()->triggerKeyTaken());

    // Taken while the tap runs: asked again at a keyboard mapping change, which the tap has
    // followed by the time it hears the next press (of the left Super key: the right one is
    // the other client's now).
    hold(true);
    int status = -1;
    runTool("setxkbmap", {"-option", ""}, &status);
    ASSERT_EQ(status, 0) << "setxkbmap did not run (scripts/bootstrap installs it)";
    const int heard = tap.heard();
    injector->type(XKey::superLeft);
    ASSERT_TRUE(tap.waitForEvents(heard + 1));
    EXPECT_TRUE(tap.tap()->triggerKeyTaken());
    hold(false);
}
