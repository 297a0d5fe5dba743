#include "Hotkey/KeyStrokeMap.h"
#include "Platform/X11/KeyPositions.h"
#include "XSession.h"

#include <gtest/gtest.h>

TEST(KeyPositions, EveryBindableKeyHasAnXKeyCodeAndBack) {
    for (const auto& key : KeyStrokeMap::table()) {
        const auto x = KeyPositions::xKeyCode(key.code);
        ASSERT_TRUE(x.has_value()) << key.code;
        EXPECT_EQ(KeyPositions::macKeyCode(*x), key.code);
    }
    // Q is evdev 16 → X 24; the Super keys map to the Command key codes.
    EXPECT_EQ(KeyPositions::macKeyCode(24), 12);
    EXPECT_EQ(KeyPositions::macKeyCode(KeyPositions::superRight), 54);
    EXPECT_EQ(KeyPositions::macKeyCode(KeyPositions::superLeft), 55);
    EXPECT_EQ(KeyPositions::macKeyCode(65), std::nullopt);  // space bar
}

TEST(XSession, StartsADisplayWithAWindowManager) {
    KESTAVON_REQUIRE_X_SESSION();
    EXPECT_FALSE(XSession::shared()->display().isEmpty());
    EXPECT_GT(XSession::shared()->windowManagerPid(), 0);
}
