#include "Inventory/AppGroup.h"
#include "Inventory/AppTarget.h"
#include "Inventory/RectDTO.h"
#include "Inventory/WindowInventory.h"

#include <gtest/gtest.h>

namespace {

WindowRecord window(std::uint32_t id, std::int32_t pid, const QString& appName,
                    std::optional<QString> bundleID = std::nullopt) {
    WindowRecord record;
    record.id = id;
    record.pid = pid;
    record.appName = appName;
    record.bundleID = std::move(bundleID);
    return record;
}

AppGroup groupOf(const QString& appName, std::optional<QString> bundleID) {
    return AppGroup::group({window(1, 1, appName, std::move(bundleID))}).front();
}

const QString bundleA = QStringLiteral("com.example.a");

} // namespace

TEST(Grouping, EmptyListGivesNoGroups) {
    EXPECT_TRUE(AppGroup::group({}).empty());
}

TEST(Grouping, OneBundleFromSeveralProcessesIsOneGroupWithSortedDistinctPids) {
    const auto groups = AppGroup::group(
        {window(1, 512, "A", bundleA), window(2, 311, "A", bundleA), window(3, 512, "A", bundleA)});
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].pids, (std::vector<std::int32_t>{311, 512}));
    EXPECT_EQ(groups[0].windowCount, 3);
    ASSERT_EQ(groups[0].windows.size(), 3u);
    EXPECT_EQ(groups[0].windows[1].id, 2u);
}

TEST(Grouping, GroupsComeInOrderOfFirstWindowAndTakeNameFromIt) {
    const auto groups = AppGroup::group({window(1, 10, "A"), window(2, 20, "A", bundleA),
                                         window(3, 30, "Renamed", bundleA), window(4, 10, "A")});
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].bundleID, std::nullopt);
    EXPECT_EQ(groups[0].windowCount, 2);
    EXPECT_EQ(groups[1].bundleID, bundleA);
    EXPECT_EQ(groups[1].appName, QStringLiteral("A"));
}

TEST(Grouping, BundleKeyNeverMergesWithNameKeyOfTheSameText) {
    const auto groups = AppGroup::group({window(1, 1, bundleA), window(2, 2, "Other", bundleA)});
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].appName, bundleA);
    EXPECT_EQ(groups[0].bundleID, std::nullopt);
    EXPECT_EQ(groups[1].bundleID, bundleA);
}

TEST(Grouping, EmptyBundleIdentifierStillCountsAsPresent) {
    const auto groups = AppGroup::group({window(1, 1, "A"), window(2, 2, "A", QString())});
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[1].bundleID, QString());
}

TEST(Grouping, ProcessesWithoutBundleShareAGroupByName) {
    const auto groups = AppGroup::group({window(1, 7, "tool"), window(2, 9, "tool")});
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].pids, (std::vector<std::int32_t>{7, 9}));
}

TEST(Grouping, DisplayNamesAndSpaceLabelsAreDistinctInFirstAppearanceOrder) {
    std::vector<WindowRecord> windows;
    const std::optional<QString> displays[] = {"Left", std::nullopt, "Left", "Right"};
    const std::optional<QString> spaces[] = {std::nullopt, "Desktop 2", "Desktop 1", "Desktop 2"};
    for (int i = 0; i < 4; ++i) {
        windows.push_back(window(static_cast<std::uint32_t>(i), 1, "A", bundleA));
        windows.back().displayName = displays[i];
        windows.back().spaceLabel = spaces[i];
    }
    const auto groups = AppGroup::group(windows);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].displayNames, (std::vector<QString>{"Left", "Right"}));
    EXPECT_EQ(groups[0].spaceLabels, (std::vector<QString>{"Desktop 2", "Desktop 1"}));
}

TEST(TargetMatching, IdNamesTheBundleWhenPresentElseTheName) {
    EXPECT_EQ((AppTarget{"Notes", std::nullopt}.id()), QStringLiteral("name:Notes"));
    EXPECT_EQ((AppTarget{"Notes", bundleA}.id()), QStringLiteral("bundle:com.example.a"));
}

TEST(TargetMatching, BundleTargetMatchesByBundleOnly) {
    const AppTarget target{"A", bundleA};
    EXPECT_FALSE(target.matches(groupOf("A", std::nullopt)));
    EXPECT_TRUE(target.matches(groupOf("Renamed", bundleA)));
    EXPECT_FALSE(target.matches(groupOf("A", QStringLiteral("com.example.A"))));
}

TEST(TargetMatching, NameTargetMatchesOnlyGroupsWithoutBundle) {
    const AppTarget target{"A", std::nullopt};
    EXPECT_FALSE(target.matches(groupOf("A", bundleA)));
    EXPECT_TRUE(target.matches(groupOf("A", std::nullopt)));
    EXPECT_FALSE(target.matches(groupOf("a", std::nullopt)));
}

TEST(TargetMatching, FindGroupReturnsFirstMatchInListOrder) {
    WindowInventory inventory;
    inventory.apps = AppGroup::group(
        {window(1, 1, "B", QStringLiteral("com.example.b")), window(2, 2, "A"), window(3, 3, "A", bundleA)});
    const auto found = AppTarget{"A", bundleA}.findGroup(inventory);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->windows.front().id, 3u);
    EXPECT_EQ((AppTarget{"C", std::nullopt}.findGroup(inventory)), std::nullopt);
}

TEST(Inventory, UnassignedCountCountsWindowsNotGroups) {
    std::vector<WindowRecord> windows = {window(1, 1, "A"), window(2, 1, "A"), window(3, 1, "A"),
                                         window(4, 2, "B")};
    windows[3].displayID = 1;
    windows[3].displayName = "Main";
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(1000, Qt::UTC);
    const WindowInventory inventory = WindowInventory::assemble(at, true, {}, windows);
    EXPECT_EQ(inventory.apps.size(), 2u);
    EXPECT_EQ(inventory.unassignedCount, 3);
    EXPECT_EQ(inventory.collectedAt, at);
    EXPECT_TRUE(inventory.spaceInfoAvailable);
}

TEST(Rect, ConversionKeepsOriginAndReportsSizeAsMagnitude) {
    const RectDTO rect = RectDTO::dto(QRectF(-10.5, 20, -30, 40));
    EXPECT_EQ(rect, (RectDTO{-10.5, 20, 30, 40}));
    EXPECT_EQ(RectDTO::dto(QRectF(1, 2, 3, 4)).rect(), QRectF(1, 2, 3, 4));
}
