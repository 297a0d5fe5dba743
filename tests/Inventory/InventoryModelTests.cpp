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

TEST(Grouping, ByBundleElseByNameInOrderOfFirstWindowNamedByIt) {
    EXPECT_TRUE(AppGroup::group({}).empty());
    const auto groups = AppGroup::group({window(1, 512, "A", bundleA), window(2, 10, "A"),
                                         window(3, 311, "Renamed", bundleA), window(4, 512, "A", bundleA),
                                         window(5, 40, "A"), window(6, 6, bundleA), window(7, 7, "A", QString())});
    ASSERT_EQ(groups.size(), 4u);
    // One bundle from several processes: one group with sorted distinct pids, windows in order.
    EXPECT_EQ(groups[0].bundleID, bundleA);
    EXPECT_EQ(groups[0].appName, QStringLiteral("A"));
    EXPECT_EQ(groups[0].pids, (std::vector<std::int32_t>{311, 512}));
    EXPECT_EQ(groups[0].windowCount, 3);
    ASSERT_EQ(groups[0].windows.size(), 3u);
    EXPECT_EQ(groups[0].windows[1].id, 3u);
    // Processes without a bundle share by name; a name that is a bundle's id is still a name.
    EXPECT_EQ(groups[1].bundleID, std::nullopt);
    EXPECT_EQ(groups[1].pids, (std::vector<std::int32_t>{10, 40}));
    EXPECT_EQ(groups[2].appName, bundleA);
    EXPECT_EQ(groups[2].bundleID, std::nullopt);
    // An empty bundle identifier still counts as one.
    EXPECT_EQ(groups[3].bundleID, QString());
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

TEST(TargetMatching, BundleTargetMatchesByBundleOnlyAndNameTargetOnlyGroupsWithoutBundle) {
    EXPECT_EQ((AppTarget{"Notes", std::nullopt}.id()), QStringLiteral("name:Notes"));
    EXPECT_EQ((AppTarget{"Notes", bundleA}.id()), QStringLiteral("bundle:com.example.a"));
    const AppTarget byBundle{"A", bundleA};
    EXPECT_FALSE(byBundle.matches(groupOf("A", std::nullopt)));
    EXPECT_TRUE(byBundle.matches(groupOf("Renamed", bundleA)));
    EXPECT_FALSE(byBundle.matches(groupOf("A", QStringLiteral("com.example.A"))));

    const AppTarget byName{"A", std::nullopt};
    EXPECT_FALSE(byName.matches(groupOf("A", bundleA)));
    EXPECT_TRUE(byName.matches(groupOf("A", std::nullopt)));
    EXPECT_FALSE(byName.matches(groupOf("a", std::nullopt)));
}

TEST(Rect, ConversionKeepsOriginAndReportsSizeAsMagnitude) {
    EXPECT_EQ(RectDTO::dto(QRectF(-10.5, 20, -30, 40)), (RectDTO{-10.5, 20, 30, 40}));
    EXPECT_EQ(RectDTO::dto(QRectF(1, 2, 3, 4)).rect(), QRectF(1, 2, 3, 4));
}
