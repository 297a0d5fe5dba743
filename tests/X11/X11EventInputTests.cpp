#include "TestWindows.h"
#include "X11TapFixture.h"

#include <cmath>
#include <limits>

namespace {

// A dock swipe as the Space switching posts it: the same event with phase 1, then phase 4.
SyntheticEvent swipe(double direction, std::int64_t phase) {
    return {{{55, 30}, {110, 23}, {123, 1}, {132, phase}}, {{124, direction}, {129, direction * 9999.0}}};
}

} // namespace

using X11EventInputTest = X11TapFixture;

TEST_F(X11EventInputTest, ADockSwipeStepsTheCurrentDesktopOneWayOrTheOther) {
    TestWindows watch;
    const auto reaches = [&](std::uint32_t desktop) {
        return watch.waitUntil(
            [&] { return watch.cardinal(watch.root(), "_NET_CURRENT_DESKTOP") == desktop; });
    };
    xcb_ewmh_request_change_current_desktop(queries->ewmh(), queries->screenNumber(), 1, XCB_CURRENT_TIME);
    xcb_flush(queries->xcb());
    ASSERT_TRUE(reaches(1));

    for (const auto& [direction, expected] : {std::pair{1.0, 2u}, {-1.0, 1u}, {-1.0, 0u}}) {
        EXPECT_TRUE(input->postEvent(swipe(direction, 1)));
        EXPECT_TRUE(input->postEvent(swipe(direction, 4)));
        EXPECT_TRUE(reaches(expected)) << "swipe " << direction << " should reach desktop " << expected;
    }
}

TEST_F(X11EventInputTest, OtherEventsAreAcceptedAndIgnored) {
    EXPECT_TRUE(input->postEvent({}));
    EXPECT_TRUE(input->postEvent({{{110, 8}, {132, 4}}, {{124, 1.0}}}));
    EXPECT_TRUE(input->postEvent(swipe(std::numeric_limits<double>::quiet_NaN(), 4)));
}

TEST_F(X11EventInputTest, TheWarpedPointerIsWhereTheLocationSaysItIsOrAtTheScreensEdge) {
    input->warpPointer(QPointF(40.6, 7.4));
    EXPECT_EQ(input->pointerLocation(), QPointF(41, 7));
    input->warpPointer(QPointF(1e12, -1e12));
    EXPECT_EQ(input->pointerLocation(), QPointF(queries->screen()->width_in_pixels - 1, 0));
    input->warpPointer(QPointF(std::nan(""), 5)); // ignored
    EXPECT_EQ(input->pointerLocation(), QPointF(queries->screen()->width_in_pixels - 1, 0));
}
