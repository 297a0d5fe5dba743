#include "Switching/SpaceGesture.h"

#include "Platform/Fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

const QString left = QStringLiteral("UUID-LEFT");
const QString right = QStringLiteral("UUID-RIGHT");
const QPointF start(5, 5);

FakeDesktop::Display display(std::uint32_t id, const QString& uuid, QRectF bounds,
                             std::vector<FakeDesktop::Space> spaces) {
    const auto current = spaces.front().id;
    return {id, uuid, bounds, id == 1, QStringLiteral("Display"), std::move(spaces), current};
}

// Two displays side by side: desktops 1-3 on the left one, desktop 11 and a full-screen
// Space 12 on the right one.
class SpaceGestureTest : public testing::Test {
protected:
    void SetUp() override {
        desktop.displays = {display(1, left, QRectF(0, 0, 1920, 1080), {{1, 0}, {2, 0}, {3, 0}}),
                            display(2, right, QRectF(1920, 0, 1280, 1024), {{11, 0}, {12, 4}})};
        desktop.pointer = start;
    }

    ScopedFakePlatform fake;
    FakeDesktop& desktop = fake->desktop;
    FakeTime& time = fake->fakeTime;
};

TEST_F(SpaceGestureTest, AlreadyCurrentLeavesThePointerAlone) {
    EXPECT_TRUE(SpaceGesture::switchTo(1, left));
    EXPECT_TRUE(desktop.warps.empty());
    EXPECT_TRUE(desktop.postedEvents.empty());
}

TEST_F(SpaceGestureTest, SwipesOneDesktopPerPassEitherWayAndRestoresThePointer) {
    EXPECT_TRUE(SpaceGesture::switchTo(3, left));
    EXPECT_EQ(desktop.displays[0].currentSpace, 3u);
    EXPECT_EQ(desktop.swipes, 2);
    EXPECT_EQ(desktop.warps, (std::vector<QPointF>{QPointF(960, 540), start}));
    EXPECT_EQ(desktop.pointer, start);
    // The Space changed at once each time, so only the settle time was slept.
    EXPECT_EQ(time.slept(), 150ms);

    // Recorded as field, value, field, value...: integer fields first, then the doubles.
    const QVariantList began{55, 30, 110, 23, 123, 1, 132, 1, 124, 1.0, 129, 9999.0};
    QVariantList ended = began;
    ended[7] = 4;
    ASSERT_EQ(desktop.postedEvents.size(), 4u);
    EXPECT_EQ(desktop.postedEvents[0], began);
    EXPECT_EQ(desktop.postedEvents[1], ended);

    // Back one desktop: the same pass with the direction negated.
    EXPECT_TRUE(SpaceGesture::switchTo(2, left));
    ASSERT_EQ(desktop.postedEvents.size(), 6u);
    EXPECT_EQ(desktop.postedEvents[4].mid(8), (QVariantList{124, -1.0, 129, -9999.0}));
}

TEST_F(SpaceGestureTest, PointerGoesToTheTargetDisplayWhereAFullScreenSpaceCannotBeSwipedTo) {
    EXPECT_FALSE(SpaceGesture::switchTo(12, right));
    EXPECT_EQ(desktop.swipes, 0);
    EXPECT_EQ(desktop.warps, (std::vector<QPointF>{QPointF(2560, 512), start}));

    desktop.displays[1].spaces.insert(desktop.displays[1].spaces.begin() + 1, {13, 0});
    EXPECT_TRUE(SpaceGesture::switchTo(13, right));
    EXPECT_EQ(desktop.warps.at(2), QPointF(2560, 512));
    EXPECT_EQ(desktop.displays[0].currentSpace, 1u);
}

TEST_F(SpaceGestureTest, IgnoredGestureGivesUpAfterSixteenPassesOfOneSecond) {
    desktop.gesturesIgnored = true;
    EXPECT_FALSE(SpaceGesture::switchTo(3, left));
    EXPECT_EQ(desktop.swipes, 16);
    EXPECT_EQ(time.sleepCount(), 1 + 16 * 20);
    EXPECT_EQ(time.slept(), 150ms + 16 * 1000ms);
    EXPECT_EQ(desktop.pointer, start);
}

TEST_F(SpaceGestureTest, UnknownDisplayOrMissingSpaceInformationFailsWithPointerBackInPlace) {
    EXPECT_FALSE(SpaceGesture::switchTo(2, QStringLiteral("UUID-GONE")));
    desktop.skyLightPresent = false;
    EXPECT_FALSE(SpaceGesture::switchTo(3, left));
    EXPECT_TRUE(desktop.warps.empty());

    desktop.skyLightPresent = true;
    desktop.managedDisplaySpacesReturnsNull = true;
    EXPECT_FALSE(SpaceGesture::switchTo(3, left));
    EXPECT_EQ(desktop.swipes, 0);
    EXPECT_EQ(desktop.pointer, start);
}

} // namespace
