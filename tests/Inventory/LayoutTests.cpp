#include "Inventory/DisplayLayout.h"
#include "Inventory/SpaceLayout.h"

#include "QtPrinters.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

DisplayDescription display(std::uint32_t id, QRectF bounds, bool isMain = false) {
    return {id, QStringLiteral("UUID-%1").arg(id), QStringLiteral("D%1").arg(id), bounds, isMain};
}

std::optional<std::uint32_t> idOver(const DisplayLayout& layout, QRectF window) {
    const auto found = layout.display(window);
    return found ? std::optional(found->id) : std::nullopt;
}

/// The label of each Space, "-" where there is none.
QStringList labels(const SpaceLayout& layout, std::initializer_list<std::uint64_t> ids) {
    QStringList found;
    for (const std::uint64_t id : ids) found.append(layout.label(id).value_or(QStringLiteral("-")));
    return found;
}

} // namespace

TEST(DisplayLayout, LargestOverlapWinsEqualAreasGoToTheEarlierAndTouchingIsNoOverlap) {
    // The window covers all of display 1 (100 x 50) and all of display 2 (80 x 80).
    const DisplayLayout layout =
        DisplayLayout::from({display(1, QRectF(0, 0, 100, 50), true), display(2, QRectF(200, 0, 80, 80))});
    EXPECT_EQ(idOver(layout, QRectF(0, 0, 280, 80)), 2u);
    EXPECT_EQ(idOver(layout, QRectF(10, 0, 210, 50)), 1u);

    const auto left = display(1, QRectF(0, 0, 1000, 1000)), right = display(2, QRectF(1000, 0, 1000, 1000));
    EXPECT_EQ(idOver(DisplayLayout::from({left, right}), QRectF(900, 0, 200, 100)), 1u);
    EXPECT_EQ(idOver(DisplayLayout::from({right, left}), QRectF(900, 0, 200, 100)), 2u);

    const DisplayLayout one = DisplayLayout::from({display(1, QRectF(0, 0, 1000, 1000), true)});
    for (const QRectF window : {QRectF(5000, 5000, 100, 100), QRectF(10, 10, 0, 100), QRectF(1000, 10, 100, 100),
                                QRectF(10, -100, 100, 100)})
        EXPECT_FALSE(one.display(window)) << window.x() << ',' << window.y();
}

TEST(SpaceLayout, DesktopsAreNumberedAcrossDisplaysAndOtherKindsNamedByKindOrId) {
    const SpaceLayout layout = SpaceLayout::from(
        {{QStringLiteral("A"), 3, {{1, SpaceKind::desktop}, {2, SpaceKind::fullScreen}, {3, SpaceKind::desktop}}},
         {QStringLiteral("B"), 10, {{10, SpaceKind::desktop}, {77, SpaceKind::other}}}});
    EXPECT_EQ(labels(layout, {1, 2, 3, 10, 77, 99}),
              (QStringList{"Desktop 1", "Fullscreen", "Desktop 2", "Desktop 3", "Space #77", "-"}));
    EXPECT_EQ(layout.displayIdentifier(2), QStringLiteral("A"));
    EXPECT_EQ(layout.displayIdentifier(77), QStringLiteral("B"));
    EXPECT_EQ(layout.currentSpaceID(QStringLiteral("A")), 3u);
    EXPECT_EQ(layout.currentSpaceID(QStringLiteral("C")), std::nullopt);
}

TEST(SpaceLayout, ADisplayWithoutIdentifierGivesLabelsOnlyAndALaterLabelWins) {
    const SpaceLayout layout =
        SpaceLayout::from({{std::nullopt, 1, {{1, SpaceKind::desktop}, {2, SpaceKind::desktop}}},
                           {QStringLiteral("B"), std::nullopt, {{1, SpaceKind::fullScreen}}}});
    EXPECT_EQ(labels(layout, {1, 2}), (QStringList{"Fullscreen", "Desktop 2"}));
    EXPECT_EQ(layout.displayIdentifier(2), std::nullopt);
    EXPECT_EQ(layout.displayIdentifier(1), QStringLiteral("B"));
    EXPECT_TRUE(layout.currentSpaceByDisplay.empty());
}
