#include "Inventory/SkyLightAPI.h"
#include "Platform/Fake/FakePlatform.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(SkyLightLoading, OpensTheFrameworkLazilyAndKeepsItOpenWithOrWithoutTheOptionalSymbols) {
    for (const bool optionalsMissing : {false, true}) {
        SCOPED_TRACE(optionalsMissing ? "optional symbols missing" : "all symbols present");
        ScopedFakePlatform fake;
        if (optionalsMissing)
            fake->desktop.skyLightMissingSymbols = {QStringLiteral("CGSGetActiveSpace"),
                                                    QStringLiteral("CGSManagedDisplaySetCurrentSpace")};
        const auto api = SkyLightAPI::load();
        ASSERT_TRUE(api.has_value());
        ASSERT_EQ(fake->desktop.skyLightOpenRequests.size(), 1u);
        EXPECT_EQ(fake->desktop.skyLightOpenRequests[0].first,
                  QStringLiteral("/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight"));
        EXPECT_EQ(fake->desktop.skyLightOpenRequests[0].second, 1);
        EXPECT_EQ(fake->desktop.skyLightCloses, 0);
        EXPECT_EQ(api->hasGetActiveSpace(), !optionalsMissing);
        EXPECT_EQ(api->hasSetManagedDisplaySpace(), !optionalsMissing);
    }
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

TEST(SkyLightSpaceIDs, AsksWithSelectorMaskSevenAndUnsignedWindowNumbersButNotForNoWindows) {
    ScopedFakePlatform fake;
    const auto pid = fake->desktop.addApp(QStringLiteral("A"), std::nullopt);
    const auto window = fake->desktop.addWindow(pid, QRectF(0, 0, 10, 10), 0x100000001ull);
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api);
    EXPECT_EQ(api->spaceIDs({}), std::vector<std::uint64_t>{});
    EXPECT_EQ(fake->desktop.spacesForWindowsCalls, 0);
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

TEST(SkyLightManagedDisplays, NonDictionaryElementsAreLeftOutInOrder) {
    ScopedFakePlatform fake;
    const QVariantMap firstDisplay{{QStringLiteral("Display Identifier"), QStringLiteral("A")}};
    const QVariantMap secondDisplay{{QStringLiteral("Display Identifier"), QStringLiteral("B")}};
    fake->desktop.managedDisplaySpacesOverride =
        QVariantList{firstDisplay, QStringLiteral("junk"), 42, QVariantList{firstDisplay}, secondDisplay};
    const auto api = SkyLightAPI::load();
    ASSERT_TRUE(api);
    EXPECT_EQ(api->managedDisplaySpaces(), (QList<QVariantMap>{firstDisplay, secondDisplay}));
}
