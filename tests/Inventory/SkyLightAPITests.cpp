#include "Inventory/SkyLightAPI.h"
#include "Platform/Fake/FakePlatform.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QVariantMap firstDisplay{{QStringLiteral("Display Identifier"), QStringLiteral("A")}};
const QVariantMap secondDisplay{{QStringLiteral("Display Identifier"), QStringLiteral("B")}};

} // namespace

TEST(SkyLightLoading, OpensTheFrameworkLazilyAndKeepsItOpen) {
    ScopedFakePlatform fake;
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api.has_value());
    ASSERT_EQ(fake->desktop.skyLightOpenRequests.size(), 1u);
    EXPECT_EQ(fake->desktop.skyLightOpenRequests[0].first,
              QStringLiteral("/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight"));
    EXPECT_EQ(fake->desktop.skyLightOpenRequests[0].second, 1);
    EXPECT_EQ(fake->desktop.skyLightCloses, 0);
    EXPECT_TRUE(api->hasGetActiveSpace());
    EXPECT_TRUE(api->hasSetManagedDisplaySpace());
}

TEST(SkyLightLoading, EachLoadOpensAfresh) {
    ScopedFakePlatform fake;
    ASSERT_TRUE(SkyLightAPI::load());
    ASSERT_TRUE(SkyLightAPI::load());
    EXPECT_EQ(fake->desktop.skyLightOpens, 2);
}

TEST(SkyLightLoading, MissingFrameworkGivesNothingAndClosesNothing) {
    ScopedFakePlatform fake;
    fake->desktop.skyLightPresent = false;
    EXPECT_FALSE(SkyLightAPI::load().has_value());
    EXPECT_EQ(fake->desktop.skyLightCloses, 0);
}

class SkyLightRequiredSymbol : public testing::TestWithParam<const char*> {};

TEST_P(SkyLightRequiredSymbol, MissingGivesNothingAndClosesTheHandle) {
    ScopedFakePlatform fake;
    fake->desktop.skyLightMissingSymbols.insert(QString::fromLatin1(GetParam()));
    EXPECT_FALSE(SkyLightAPI::load().has_value());
    EXPECT_EQ(fake->desktop.skyLightOpens, 1);
    EXPECT_EQ(fake->desktop.skyLightCloses, 1);
}

INSTANTIATE_TEST_SUITE_P(EachOfTheThree, SkyLightRequiredSymbol,
                         testing::Values("_CGSDefaultConnection", "CGSCopyManagedDisplaySpaces",
                                         "SLSCopySpacesForWindows"));

TEST(SkyLightLoading, BothOptionalSymbolsMissingStillLoads) {
    ScopedFakePlatform fake;
    fake->desktop.skyLightMissingSymbols = {QStringLiteral("CGSGetActiveSpace"),
                                            QStringLiteral("CGSManagedDisplaySetCurrentSpace")};
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api.has_value());
    EXPECT_FALSE(api->hasGetActiveSpace());
    EXPECT_FALSE(api->hasSetManagedDisplaySpace());
    EXPECT_EQ(fake->desktop.skyLightCloses, 0);
}

TEST(SkyLightSpaceIDs, EmptyInputMakesNoPlatformCall) {
    ScopedFakePlatform fake;
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api);
    const auto ids = api->spaceIDs({});
    ASSERT_TRUE(ids.has_value());
    EXPECT_TRUE(ids->empty());
    EXPECT_EQ(fake->desktop.spacesForWindowsCalls, 0);
}

TEST(SkyLightSpaceIDs, AsksWithSelectorMaskSevenAndUnsignedWindowNumbers) {
    ScopedFakePlatform fake;
    const auto pid = fake->desktop.addApp(QStringLiteral("A"), std::nullopt);
    const auto window = fake->desktop.addWindow(pid, QRectF(0, 0, 10, 10), 0x100000001ull);
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api);
    EXPECT_EQ(api->spaceIDs({window}), (std::vector<std::uint64_t>{0x100000001ull}));
    ASSERT_EQ(fake->desktop.spacesForWindowsRequests.size(), 1u);
    EXPECT_EQ(fake->desktop.spacesForWindowsRequests[0].first, 7u);
    const QVariantList& numbers = fake->desktop.spacesForWindowsRequests[0].second;
    ASSERT_EQ(numbers.size(), 1);
    EXPECT_EQ(numbers[0].typeId(), QMetaType::UInt);
    EXPECT_EQ(numbers[0].toUInt(), window);
}

TEST(SkyLightSpaceIDs, NonNumberElementsAreSkippedInOrder) {
    ScopedFakePlatform fake;
    fake->desktop.spacesForWindowOverride[9] = {
        5,   QStringLiteral("7"), QVariant::fromValue(qulonglong(1) << 40), QVariantMap{},
        9.0, QVariant(),          QVariant::fromValue(std::uint32_t(3))};
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api);
    EXPECT_EQ(api->spaceIDs({9}), (std::vector<std::uint64_t>{5, std::uint64_t(1) << 40, 9, 3}));
}

TEST(SkyLightSpaceIDs, NullAnswerGivesNothing) {
    ScopedFakePlatform fake;
    fake->desktop.spacesForWindowsReturnsNull = true;
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api);
    EXPECT_FALSE(api->spaceIDs({1}).has_value());
}

TEST(SkyLightManagedDisplays, NonDictionaryElementsAreLeftOutInOrder) {
    ScopedFakePlatform fake;
    fake->desktop.managedDisplaySpacesOverride =
        QVariantList{firstDisplay, QStringLiteral("junk"), 42, QVariantList{firstDisplay}, secondDisplay};
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api);
    EXPECT_EQ(api->managedDisplaySpaces(), (QList<QVariantMap>{firstDisplay, secondDisplay}));
}

TEST(SkyLightManagedDisplays, NullAnswerGivesNothingAndAnEmptyListStaysAList) {
    ScopedFakePlatform fake;
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api);
    fake->desktop.managedDisplaySpacesReturnsNull = true;
    EXPECT_FALSE(api->managedDisplaySpaces().has_value());
    fake->desktop.managedDisplaySpacesReturnsNull = false;
    fake->desktop.managedDisplaySpacesOverride = QVariantList{};
    const auto empty = api->managedDisplaySpaces();
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->isEmpty());
}

TEST(SkyLightManagedDisplays, ReportsTheDesktopsDisplays) {
    ScopedFakePlatform fake;
    fake->desktop.displays.push_back(
        {1, QStringLiteral("UUID-1"), QRectF(0, 0, 100, 100), true, std::nullopt, {{11, 0}}, 11});
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api);
    const auto displays = api->managedDisplaySpaces();
    ASSERT_TRUE(displays);
    ASSERT_EQ(displays->size(), 1);
    EXPECT_EQ(displays->front().value(QStringLiteral("Display Identifier")).toString(),
              QStringLiteral("UUID-1"));
}
