#include "FakeMacSystem.h"
#include "VirtualTime.h"

#include "Platform/MacOS/MacSpaceSwitcher.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Field = SyntheticEvent::Field;

const QString left = "UUID-LEFT", right = "UUID-RIGHT";
const QPointF start(5, 5);

// Two displays side by side: desktops 1-3 on the left one, desktop 11 and a full-screen
// Space 12 on the right one.
class SpaceSwitch : public testing::Test {
protected:
    void SetUp() override {
        system.displays = {{1, left, QRectF(0, 0, 1920, 1080), true, {{1, 0}, {2, 0}, {3, 0}}, 1},
                           {2, right, QRectF(1920, 0, 1280, 1024), false, {{11, 0}, {12, 4}}, 11}};
    }

    FakeMacSystem system;
    VirtualTime time;
    MacSpaceSwitcher switcher{system, time};
};

TEST_F(SpaceSwitch, SwipesOneDesktopPerPassEitherWayAndRestoresThePointer) {
    EXPECT_TRUE(switcher.makeCurrent(3, left));
    EXPECT_EQ(system.displays[0].current, 3u);
    EXPECT_EQ(system.warps, (std::vector<QPointF>{QPointF(960, 540), start}));
    // The Space changed at once each time, so only the settle time was slept.
    EXPECT_EQ(time.slept, 150ms);
    const std::vector<Field> began{{55, std::int64_t(30)}, {110, std::int64_t(23)},
                                   {123, std::int64_t(1)}, {124, 1.0},
                                   {129, 9999.0},          {132, std::int64_t(1)}};
    std::vector<Field> ended = began;
    ended[5].value = std::int64_t(4);
    ASSERT_EQ(system.posted.size(), 4u);
    EXPECT_EQ(system.posted[0].fields, began);
    EXPECT_EQ(system.posted[1].fields, ended);

    EXPECT_TRUE(switcher.makeCurrent(2, left));
    ASSERT_EQ(system.posted.size(), 6u);
    EXPECT_EQ(system.posted[4].fields[3], (Field{124, -1.0}));
    EXPECT_EQ(system.posted[4].fields[4], (Field{129, -9999.0}));
}

TEST_F(SpaceSwitch, FullScreenSpaceCannotBeSwipedToButThePointerWentToItsDisplay) {
    EXPECT_FALSE(switcher.makeCurrent(12, right));
    EXPECT_TRUE(system.posted.empty());
    EXPECT_EQ(system.warps, (std::vector<QPointF>{QPointF(2560, 512), start}));
}

TEST_F(SpaceSwitch, IgnoredGestureGivesUpAfterSixteenPassesOfOneSecond) {
    system.gesturesIgnored = true;
    EXPECT_FALSE(switcher.makeCurrent(3, left));
    EXPECT_EQ(system.posted.size(), 2u * 16);
    EXPECT_EQ(time.sleeps, 1 + 16 * 20);
    EXPECT_EQ(time.slept, 150ms + 16 * 1000ms);
    EXPECT_EQ(system.pointer, start);
}

TEST_F(SpaceSwitch, AlreadyCurrentUnknownDisplayOrNoSpaceInformationLeavesThePointerInPlace) {
    EXPECT_TRUE(switcher.makeCurrent(1, left));
    EXPECT_FALSE(switcher.makeCurrent(2, "UUID-GONE"));
    system.frameworkPresent = false;
    EXPECT_FALSE(switcher.makeCurrent(3, left));
    EXPECT_TRUE(system.warps.empty());

    system.frameworkPresent = true;
    system.managedDisplaysOverride = std::optional<QVariantList>();
    EXPECT_FALSE(switcher.makeCurrent(3, left));
    EXPECT_TRUE(system.posted.empty());
    EXPECT_EQ(system.pointer, start);
}

} // namespace
