#include "FakeMacSystem.h"

#include "Platform/MacOS/DisplayCatalog.h"
#include "Platform/MacOS/MacWindowServer.h"
#include "Platform/MacOS/SkyLightAPI.h"
#include "Platform/MacOS/SpaceCatalog.h"
#include "Platform/MacOS/WindowListKey.h"

#include <gtest/gtest.h>

namespace K = WindowListKey;
using Ids = std::vector<std::uint64_t>;

TEST(SkyLightLoading, RequiredSymbolsDecideAndOnlyAFailedLookUpClosesTheHandle) {
    struct Case {
        QStringList missing;
        bool present, loads;
    };
    for (const Case& c :
         {Case{{}, true, true}, Case{{"CGSGetActiveSpace", "CGSManagedDisplaySetCurrentSpace"}, true, true},
          Case{{"_CGSDefaultConnection"}, true, false}, Case{{"CGSCopyManagedDisplaySpaces"}, true, false},
          Case{{"SLSCopySpacesForWindows"}, true, false}, Case{{}, false, false}}) {
        SCOPED_TRACE(c.missing.join(',').toStdString() + (c.present ? "" : "no framework"));
        FakeMacSystem system;
        system.missingSymbols = c.missing;
        system.frameworkPresent = c.present;
        EXPECT_EQ(SkyLightAPI::load(system).has_value(), c.loads);
        EXPECT_EQ(system.opens, (std::vector<std::pair<QString, int>>{
                                    {"/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight", 1}}));
        EXPECT_EQ(system.closes, c.present && !c.loads ? 1 : 0);
    }
}

TEST(SkyLightCalls, ElementsOfOtherKindsAreLeftOutInOrderAndNoWindowsAskNothing) {
    FakeMacSystem system;
    const QVariantMap a{{"Display Identifier", "A"}}, b{{"Display Identifier", "B"}};
    system.managedDisplaysOverride = QVariantList{a, "junk", 42, QVariantList{a}, b};
    system.spacesOfWindow[9] = {5,   "7",       QVariant::fromValue(qulonglong(1) << 40), QVariantMap{},
                                9.0, QVariant()};
    const auto api = SkyLightAPI::load(system);
    ASSERT_TRUE(api);
    EXPECT_EQ(api->managedDisplaySpaces(), (QList<QVariantMap>{a, b}));
    EXPECT_EQ(api->spaceIDs({}), Ids{});
    EXPECT_TRUE(system.spacesRequests.empty());
    EXPECT_EQ(api->spaceIDs({9}), (Ids{5, std::uint64_t(1) << 40, 9}));
    ASSERT_EQ(system.spacesRequests.size(), 1u);
    EXPECT_EQ(system.spacesRequests[0].first, 7u);
    EXPECT_EQ(system.spacesRequests[0].second.value(0).typeId(), QMetaType::UInt);
}

TEST(SpaceListParsing, EachDisplayDictionaryBecomesItsSpacesWithMalformedPartsSkipped) {
    const auto space = [](QVariant id, QVariant type = {}) {
        QVariantMap map{{"id64", id}};
        if (type.isValid()) map.insert("type", type);
        return QVariant(map);
    };
    const QVariant current = QVariantMap{{"id64", 3}};
    struct Case {
        QVariantMap display;
        DisplaySpaces expected;
    };
    constexpr SpaceKind desktop = SpaceKind::desktop, fullScreen = SpaceKind::fullScreen,
                        other = SpaceKind::other;
    // clang-format off
    const Case cases[] = {
        {{{"Display Identifier", "one"}, {"Current Space", current},
          {"Spaces", QVariantList{space(1), space(2, 4), space(3, 0), space(77, 2)}}},
         {"one", 3, {{1, desktop}, {2, fullScreen}, {3, desktop}, {77, other}}}},
        // The type counts only as a number; an id only as a number that fits 64 bits.
        {{{"Spaces", QVariantList{space(5, "4"), space(6, 4.0), space("8"), space(QVariant()), space(-1),
                                  space(1e30, 4), space(QVariant::fromValue(~0ull), 1e30)}}},
         {std::nullopt, std::nullopt, {{5, desktop}, {6, fullScreen}, {~0ull, other}}}},
        // Without a string identifier there is no current Space, only Spaces.
        {{{"Display Identifier", 1}, {"Current Space", current}, {"Spaces", QVariantList{space(4)}}},
         {std::nullopt, std::nullopt, {{4, desktop}}}},
        {{{"Display Identifier", "two"}, {"Current Space", 3}, {"Spaces", QVariantList{space(4), "junk"}}},
         {"two", {}, {}}},
        {{{"Display Identifier", "two"}, {"Current Space", QVariantMap{{"id64", "3"}}}, {"Spaces", "x"}},
         {"two", {}, {}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const auto parsed = SpaceCatalog::parse({c.display});
        ASSERT_EQ(parsed.size(), 1u);
        EXPECT_EQ(parsed[0], c.expected) << parsed[0].displayIdentifier.value_or("-").toStdString();
    }
}

TEST(DisplayLoading, ScreensNameDisplaysByNumberInTheServersOrder) {
    FakeMacSystem system;
    EXPECT_TRUE(DisplayCatalog::load(system).empty());
    system.displays = {{3, "U3", QRectF(-800, 0, 800, 600), false, {}, 0},
                       {1, "U1", QRectF(0, 0, 1920, 1080), true, {}, 0},
                       {2, std::nullopt, QRectF(1920, 0, 1280, 1024), false, {}, 0}};
    // clang-format off
    system.screenList = {{{{"NSScreenNumber", 1u}}, "Built-in"}, {{{"NSScreenNumber", "3"}}, "Left"},
                         {{{"NSScreenNumber", 3.0}}, "Left"}, {{{"NSScreenNumber", 3}}, "Second"}};
    // clang-format on
    EXPECT_EQ(DisplayCatalog::load(system),
              (std::vector<DisplayDescription>{{3, "U3", "Left", QRectF(-800, 0, 800, 600), false},
                                               {1, "U1", "Built-in", QRectF(0, 0, 1920, 1080), true},
                                               {2, "", "Display 2", QRectF(1920, 0, 1280, 1024), false}}));
    system.displayListFails = true;
    EXPECT_TRUE(DisplayCatalog::load(system).empty());
}

TEST(WindowListReading, EntriesThatCannotBeDescribedAreDroppedOthersKeepEveryFieldAsListed) {
    using Change = void (*)(WindowInfo&);
    struct Case {
        QString key;
        QVariant value; // invalid: the key is missing
        Change change;  // the window expected, from the complete entry's; nullptr: dropped
    };
    // clang-format off
    const Case cases[] = {
        {K::layer, QVariant(), nullptr},
        {K::layer, "0", nullptr},
        {K::layer, 25, [](WindowInfo& w) { w.layer = 25; }},
        {K::alpha, QVariant(), nullptr},
        {K::alpha, 0, [](WindowInfo& w) { w.opacity = 0; }},
        {K::number, qlonglong(1) << 32, nullptr},
        {K::number, -1, nullptr},
        {K::ownerPID, QVariant(), nullptr},
        {K::ownerPID, qlonglong(1) << 31, nullptr},
        {K::bounds, QVariantMap{{"X", 0}, {"Y", 0}, {"Width", 1}}, nullptr},
        {K::bounds, "{0,0,1,1}", nullptr},
        {K::ownerName, 12, [](WindowInfo& w) { w.ownerName.reset(); }},
        {K::name, QVariant(), [](WindowInfo& w) { w.title.reset(); }},
        {K::name, "", [](WindowInfo& w) { w.title = ""; }},
        {K::isOnscreen, QVariant(), [](WindowInfo& w) { w.isOnscreen = false; }},
        {K::isOnscreen, "true", [](WindowInfo& w) { w.isOnscreen = false; }},
        {K::isOnscreen, 1, [](WindowInfo&) {}},
    };
    const QVariantMap entry{{K::number, 7u}, {K::ownerPID, 501}, {K::ownerName, "Notes"}, {K::name, "Shopping"},
                            {K::bounds, QVariantMap{{"X", 10}, {"Y", 20}, {"Width", 300}, {"Height", 200.5}}},
                            {K::layer, 0}, {K::alpha, 1.0}, {K::isOnscreen, true}};
    // clang-format on
    FakeMacSystem system;
    MacWindowServer server(system);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toStdString() + " = " + c.value.toString().toStdString());
        QVariantMap changed = entry;
        c.value.isValid() ? void(changed.insert(c.key, c.value)) : void(changed.remove(c.key));
        system.windowList = QVariantList{changed};
        const auto windows = server.windows();
        ASSERT_TRUE(windows);
        WindowInfo expected{7, 501, 0, 1.0, QRectF(10, 20, 300, 200.5), "Notes", "Shopping", true, false};
        if (c.change) c.change(expected);
        EXPECT_TRUE((windows->empty() ? std::nullopt : std::optional(windows->front())) ==
                    (c.change ? std::optional(expected) : std::nullopt));
    }
    EXPECT_EQ(system.windowListOptions.front(), 16u);

    system.windowList = QVariantList{entry, "not a dictionary"};
    EXPECT_FALSE(server.windows());
    system.windowList.reset();
    EXPECT_FALSE(server.windows());
}

TEST(WindowServerSpaces, OneCallPerWindowFirstIdAndNothingWithoutTheFramework) {
    FakeMacSystem system;
    system.displays = {{1, "U1", QRectF(0, 0, 100, 100), true, {{1, 0}, {2, 4}}, 2}};
    system.spacesOfWindow = {{7, {3, 4}}, {8, {"x"}}};
    MacWindowServer server(system);
    EXPECT_EQ(server.spaces(),
              (std::vector<DisplaySpaces>{{"U1", 2, {{1, SpaceKind::desktop}, {2, SpaceKind::fullScreen}}}}));
    EXPECT_EQ(server.spacesOfWindows({7, 8, 9}), (std::unordered_map<std::uint32_t, std::uint64_t>{{7, 3}}));
    EXPECT_EQ(system.spacesRequests.size(), 3u);

    system.managedDisplaysOverride = std::optional<QVariantList>();
    EXPECT_FALSE(server.spaces());
    system.frameworkPresent = false;
    EXPECT_FALSE(server.spaces());
    EXPECT_FALSE(server.spacesOfWindows({7}));
}
