#include "Keyboard/KeyboardLayout.h"

#include "Platform/KeyStrokeMap.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyboardLayoutKeys, MatchTheKeyMapInOrderWithUpperCaseLegends) {
    QStringList ids;
    for (const KeyboardKey& key : KeyboardLayout::keys())
        ids.append(key.id());
    EXPECT_EQ(ids, KeyStrokeMap::layoutOrder());
    EXPECT_EQ(KeyboardLayout::key("1-q")->legend, "Q");
    EXPECT_EQ(KeyboardLayout::key("3-/")->legend, "/");
    EXPECT_EQ(KeyboardLayout::key("3-/")->column, 11.25);
    EXPECT_FALSE(KeyboardLayout::key("1-Q").has_value());
}

TEST(KeyboardLayoutGeometry, FitsTheAspectInsideTheMarginCentresAndPlacesSquareCaps) {
    const auto g = KeyboardLayout::geometry({900, 300}, 6);
    EXPECT_NEAR(g.area.width(), 872, 0.01);
    EXPECT_NEAR(g.area.height(), 232.53, 0.01);
    EXPECT_NEAR(g.area.left(), 14, 0.01);
    EXPECT_NEAR(g.area.top(), (300 - 232.533) / 2, 0.01);
    EXPECT_NEAR(g.unit, 58.13, 0.01);
    EXPECT_EQ(g.background, g.area.adjusted(-14, -14, 14, 14));

    const QRectF q = g.capRect(*KeyboardLayout::key("1-q"));
    EXPECT_NEAR(q.width(), 52.13, 0.01);
    EXPECT_EQ(q.width(), q.height());
    EXPECT_NEAR(q.left() - g.area.left(), 90.2, 0.01);
    EXPECT_NEAR(q.top() - g.area.top(), 61.13, 0.01);
}

TEST(KeyboardLayoutGeometry, TallOfferFitsByWidthWideOfferByHeightAndHostHeightLeavesNoRoom) {
    EXPECT_NEAR(KeyboardLayout::geometry({428, 1000}, 6).unit, 400.0 / 15, 1e-9);
    const auto wide = KeyboardLayout::geometry({2000, 228}, 6);
    EXPECT_NEAR(wide.unit, 200.0 / 4, 1e-9);
    EXPECT_NEAR(wide.area.center().x(), 1000, 1e-9);

    EXPECT_NEAR(KeyboardLayout::heightForWidth(1000), 287.2, 1e-9);
    const auto g = KeyboardLayout::geometry({1000, KeyboardLayout::heightForWidth(1000)}, 6);
    EXPECT_NEAR(g.background.top(), 0, 1e-9);
    EXPECT_NEAR(g.background.bottom(), 287.2, 1e-9);
}

} // namespace
