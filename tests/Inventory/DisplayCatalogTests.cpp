#include "Inventory/DisplayCatalog.h"
#include "Platform/Fake/FakePlatform.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

FakeDesktop::Display fakeDisplay(std::uint32_t id, QRectF bounds, bool isMain, std::optional<QString> name) {
    return {id, QStringLiteral("UUID-%1").arg(id), bounds, isMain, std::move(name), {}, 0};
}

DisplayInfo info(std::uint32_t id, QRectF frame, bool isMain = false) {
    return DisplayInfo{id, QStringLiteral("D%1").arg(id), RectDTO::dto(frame), isMain};
}

std::optional<std::uint32_t> idOver(const DisplayCatalog& catalog, QRectF window) {
    const auto display = catalog.display(window);
    return display ? std::optional(display->id) : std::nullopt;
}

} // namespace

TEST(DisplayCatalogLoading, MainDisplayFirstOthersKeepTheirOrderAndUnnamedOnesGetTheirNumber) {
    ScopedFakePlatform fake;
    fake->desktop.displays = {fakeDisplay(3, QRectF(-800, 0, 800, 600), false, QStringLiteral("Left")),
                              fakeDisplay(1, QRectF(0, 0, 1920, 1080), true, QStringLiteral("Built-in")),
                              fakeDisplay(2, QRectF(1920, 0, 1280, 1024), false, std::nullopt)};
    const DisplayCatalog catalog = DisplayCatalog::load();
    EXPECT_EQ(catalog.displays, (std::vector<DisplayInfo>{
                                    {1, QStringLiteral("Built-in"), RectDTO{0, 0, 1920, 1080}, true},
                                    {3, QStringLiteral("Left"), RectDTO{-800, 0, 800, 600}, false},
                                    {2, QStringLiteral("Display 2"), RectDTO{1920, 0, 1280, 1024}, false}}));
}

TEST(DisplayCatalogLoading, FailedOrEmptyDisplayListGivesAnEmptyCatalog) {
    ScopedFakePlatform fake;
    EXPECT_TRUE(DisplayCatalog::load().displays.empty());
    fake->desktop.displays = {fakeDisplay(1, QRectF(0, 0, 100, 100), true, QStringLiteral("A"))};
    fake->desktop.displayListFails = true;
    EXPECT_TRUE(DisplayCatalog::load().displays.empty());
}

TEST(DisplayAssignment, LargestOverlapWinsAndEqualAreasGoToTheEarlierDisplay) {
    // The window covers all of display 1 (100 x 50) and all of display 2 (80 x 80).
    const DisplayCatalog catalog{{info(1, QRectF(0, 0, 100, 50), true), info(2, QRectF(200, 0, 80, 80))}};
    EXPECT_EQ(idOver(catalog, QRectF(0, 0, 280, 80)), 2u);
    EXPECT_EQ(idOver(catalog, QRectF(10, 0, 210, 50)), 1u); // 90 x 50 against 20 x 50

    const DisplayInfo left = info(1, QRectF(0, 0, 1000, 1000)), right = info(2, QRectF(1000, 0, 1000, 1000));
    EXPECT_EQ(idOver(DisplayCatalog{{left, right}}, QRectF(900, 0, 200, 100)), 1u);
    EXPECT_EQ(idOver(DisplayCatalog{{right, left}}, QRectF(900, 0, 200, 100)), 2u);
}

TEST(DisplayAssignment, NoPositiveOverlapMeansNoDisplay) {
    const DisplayCatalog catalog{{info(1, QRectF(0, 0, 1000, 1000), true)}};
    for (const QRectF window : {QRectF(5000, 5000, 100, 100), QRectF(10, 10, 0, 100), QRectF(10, 10, 100, 0),
                                QRectF(1000, 10, 100, 100) /* touches the right edge */,
                                QRectF(10, -100, 100, 100) /* touches the top edge */}) {
        SCOPED_TRACE(testing::Message()
                     << window.x() << ',' << window.y() << ' ' << window.width() << 'x' << window.height());
        EXPECT_FALSE(catalog.display(window));
    }
    EXPECT_FALSE(DisplayCatalog{}.display(QRectF(10, 10, 100, 100)));
}
