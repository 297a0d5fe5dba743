#include "Platform/X11/KeyPositions.h"
#include "Platform/X11/X11EventTap.h"
#include "XSession.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

std::shared_ptr<EventTap> openTap() {
    return X11EventTap::open(nullptr, [](std::uint32_t, const TapEvent&) { return false; }).tap;
}

// Grabs the right Super key alone, as a window manager opening its menu with it does; true
// when the server agreed.
bool grabRightSuper(xcb_connection_t* c) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_grab_key_checked(c, 0, root, 0, KeyPositions::superRight, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const bool granted = error == nullptr;
    std::free(error);
    return granted;
}

} // namespace

TEST(X11TriggerKey, TheTapSaysWhenAnotherClientHoldsTheRightSuperKeyAloneAndKeepsNoHoldOfItsOwn) {
    KESTAVON_REQUIRE_X_SESSION();
    std::shared_ptr<EventTap> unheld = openTap();
    ASSERT_TRUE(unheld);
    EXPECT_FALSE(unheld->triggerKeyTaken());

    // The tap's trial grab is given back at once: another client still gets the key.
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> other(xcb_connect(nullptr, nullptr),
                                                                               xcb_disconnect);
    ASSERT_FALSE(xcb_connection_has_error(other.get()));
    ASSERT_TRUE(grabRightSuper(other.get()));
    unheld.reset(); // its grabs of the other keys would keep a second tap from opening

    const std::shared_ptr<EventTap> blocked = openTap();
    ASSERT_TRUE(blocked);
    EXPECT_TRUE(blocked->triggerKeyTaken());
}
