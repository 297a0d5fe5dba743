#include "Inventory/DisplayCatalog.h"
#include "Platform/Fake/FakePlatform.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

FakeDesktop::Display fakeDisplay(std::uint32_t id, QRectF bounds, bool isMain, std::optional<QString> name) {
    FakeDesktop::Display display;
    display.id = id;
    display.uuid = QStringLiteral("UUID-%1").arg(id);
    display.bounds = bounds;
    display.isMain = isMain;
    display.screenName = std::move(name);
    return display;
}

DisplayInfo info(std::uint32_t id, QRectF frame, bool isMain = false) {
    return DisplayInfo{id, QStringLiteral("D%1").arg(id), RectDTO::dto(frame), isMain};
}

std::vector<std::uint32_t> idsOf(const DisplayCatalog& catalog) {
    std::vector<std::uint32_t> ids;
    for (const auto& display : catalog.displays)
        ids.push_back(display.id);
    return ids;
}

} // namespace

TEST(DisplayCatalogLoading, MainDisplayFirstOthersKeepTheirOrder) {
    ScopedFakePlatform fake;
    fake->desktop.displays = {fakeDisplay(3, QRectF(-800, 0, 800, 600), false, QStringLiteral("Left")),
                              fakeDisplay(1, QRectF(0, 0, 1920, 1080), true, QStringLiteral("Built-in")),
                              fakeDisplay(2, QRectF(1920, 0, 1280, 1024), false, QStringLiteral("Right"))};
    const DisplayCatalog catalog = DisplayCatalog::load();
    EXPECT_EQ(idsOf(catalog), (std::vector<std::uint32_t>{1, 3, 2}));
    EXPECT_EQ(catalog.displays[0],
              (DisplayInfo{1, QStringLiteral("Built-in"), RectDTO{0, 0, 1920, 1080}, true}));
    EXPECT_EQ(catalog.displays[1],
              (DisplayInfo{3, QStringLiteral("Left"), RectDTO{-800, 0, 800, 600}, false}));
}

TEST(DisplayCatalogLoading, DisplayWithoutScreenObjectIsNamedByItsNumber) {
    ScopedFakePlatform fake;
    fake->desktop.displays = {fakeDisplay(5, QRectF(0, 0, 100, 100), true, std::nullopt)};
    const DisplayCatalog catalog = DisplayCatalog::load();
    ASSERT_EQ(catalog.displays.size(), 1u);
    EXPECT_EQ(catalog.displays[0].name, QStringLiteral("Display 5"));
}

TEST(DisplayCatalogLoading, FailedOrEmptyDisplayListGivesAnEmptyCatalog) {
    ScopedFakePlatform fake;
    EXPECT_TRUE(DisplayCatalog::load().displays.empty());
    fake->desktop.displays = {fakeDisplay(1, QRectF(0, 0, 100, 100), true, QStringLiteral("A"))};
    fake->desktop.displayListFails = true;
    EXPECT_TRUE(DisplayCatalog::load().displays.empty());
}

TEST(DisplayAssignment, LargestOverlapWins) {
    // The window covers all of display 1 (100 x 50) and all of display 2 (80 x 80).
    DisplayCatalog catalog{{info(1, QRectF(0, 0, 100, 50), true), info(2, QRectF(200, 0, 80, 80))}};
    EXPECT_EQ(catalog.display(QRectF(0, 0, 280, 80))->id, 2u);
    // Mostly on the main display: 90 x 50 against 20 x 50.
    EXPECT_EQ(catalog.display(QRectF(10, 0, 210, 50))->id, 1u);
}

TEST(DisplayAssignment, EqualAreasGoToTheEarlierDisplay) {
    DisplayCatalog catalog{{info(1, QRectF(0, 0, 1000, 1000), true), info(2, QRectF(1000, 0, 1000, 1000))}};
    EXPECT_EQ(catalog.display(QRectF(900, 0, 200, 100))->id, 1u);
    DisplayCatalog reversed{{info(2, QRectF(1000, 0, 1000, 1000), true), info(1, QRectF(0, 0, 1000, 1000))}};
    EXPECT_EQ(reversed.display(QRectF(900, 0, 200, 100))->id, 2u);
}

TEST(DisplayAssignment, NoPositiveOverlapMeansNoDisplay) {
    DisplayCatalog catalog{{info(1, QRectF(0, 0, 1000, 1000), true)}};
    EXPECT_FALSE(catalog.display(QRectF(5000, 5000, 100, 100)));
    EXPECT_FALSE(catalog.display(QRectF(10, 10, 0, 100)));
    EXPECT_FALSE(catalog.display(QRectF(10, 10, 100, 0)));
    EXPECT_FALSE(catalog.display(QRectF(1000, 10, 100, 100))); // touches the right edge
    EXPECT_FALSE(catalog.display(QRectF(10, -100, 100, 100))); // touches the top edge
    EXPECT_FALSE(DisplayCatalog{}.display(QRectF(10, 10, 100, 100)));
}

TEST(DisplayAssignment, ReturnsTheWholeDisplayValue) {
    DisplayCatalog catalog{{info(1, QRectF(0, 0, 1000, 1000), true), info(7, QRectF(1000, 0, 500, 500))}};
    EXPECT_EQ(catalog.display(QRectF(1100, 100, 10, 10)), catalog.displays[1]);
}
