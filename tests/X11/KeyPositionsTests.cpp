#include "Platform/KeyStrokeMap.h"
#include "Platform/Linux/KeyPositions.h"

#include <gtest/gtest.h>

TEST(KeyPositions, EveryBindableKeyHasAnXKeyCodeAndBack) {
    for (const auto& key : KeyStrokeMap::table()) {
        const auto x = KeyPositions::xKeyCode(key.code);
        ASSERT_TRUE(x.has_value()) << key.code;
        EXPECT_EQ(KeyPositions::keyCode(*x), key.code);
    }
    EXPECT_EQ(KeyPositions::keyCode(65), std::nullopt); // space bar
}
