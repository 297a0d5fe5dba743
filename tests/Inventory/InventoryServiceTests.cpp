#include "Inventory/InventoryService.h"
#include "Platform/Fake/FakePlatform.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QDateTime when(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);

/// Two displays, listed by the window server side display first: the side display (Desktop 1)
/// and the main one (Desktop 2, Fullscreen, Desktop 3).
struct Desk {
    ScopedFakePlatform fake;
    FakeDesktop& desktop = fake->desktop;
    std::int32_t notes = 0;
    std::int32_t terminal = 0;

    Desk() {
        FakeDesktop::Display main;
        main.id = 1;
        main.uuid = QStringLiteral("UUID-MAIN");
        main.bounds = QRectF(0, 0, 1920, 1080);
        main.isMain = true;
        main.screenName = QStringLiteral("Built-in");
        main.spaces = {{11, 0}, {12, 4}, {13, 0}};
        main.currentSpace = 11;
        FakeDesktop::Display side;
        side.id = 2;
        side.uuid = QStringLiteral("UUID-SIDE");
        side.bounds = QRectF(1920, 0, 1280, 1024);
        side.screenName = QStringLiteral("Side");
        side.spaces = {{21, 0}};
        side.currentSpace = 21;
        desktop.displays = {side, main};
        notes = desktop.addApp(QStringLiteral("Notes"), QStringLiteral("com.example.notes"));
        terminal = desktop.addApp(QStringLiteral("Terminal"), QStringLiteral("com.example.terminal"));
    }

    std::vector<WindowRecord> records(const WindowInventory& inventory) const {
        std::vector<WindowRecord> all;
        for (const auto& group : inventory.apps)
            all.insert(all.end(), group.windows.begin(), group.windows.end());
        return all;
    }
};

} // namespace

TEST(InventoryCollection, RecordsCarryApplicationDisplayAndSpace) {
    Desk desk;
    const auto a = desk.desktop.addWindow(desk.notes, QRectF(100, 100, 800, 600), 11);
    const auto b = desk.desktop.addWindow(desk.terminal, QRectF(2000, 100, 400, 300), 21);
    const auto c = desk.desktop.addWindow(desk.notes, QRectF(0, 0, 1920, 1080), 12);

    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_EQ(inventory.collectedAt, when);
    EXPECT_TRUE(inventory.spaceInfoAvailable);
    ASSERT_EQ(inventory.displays.size(), 2u);
    EXPECT_EQ(inventory.displays[0].id, 1u);
    EXPECT_EQ(inventory.unassignedCount, 0);
    ASSERT_EQ(inventory.apps.size(), 2u);
    EXPECT_EQ(inventory.apps[0].bundleID, QStringLiteral("com.example.notes"));
    EXPECT_EQ(inventory.apps[0].spaceLabels, (std::vector<QString>{"Desktop 2", "Fullscreen"}));
    EXPECT_EQ(inventory.apps[1].appName, QStringLiteral("Terminal"));

    WindowRecord expected;
    expected.id = a;
    expected.pid = desk.notes;
    expected.appName = QStringLiteral("Notes");
    expected.bundleID = QStringLiteral("com.example.notes");
    expected.title = QStringLiteral("Window %1").arg(a);
    expected.frame = RectDTO{100, 100, 800, 600};
    expected.isOnscreen = true;
    expected.displayID = 1;
    expected.displayName = QStringLiteral("Built-in");
    expected.spaceID = 11;
    expected.spaceLabel = QStringLiteral("Desktop 2");
    EXPECT_EQ(inventory.apps[0].windows[0], expected);
    EXPECT_EQ(inventory.apps[0].windows[1].id, c);
    EXPECT_FALSE(inventory.apps[0].windows[1].isOnscreen);
    const WindowRecord& side = inventory.apps[1].windows[0];
    EXPECT_EQ(side.id, b);
    EXPECT_EQ(side.displayName, QStringLiteral("Side"));
    EXPECT_EQ(side.spaceLabel, QStringLiteral("Desktop 1"));
}

TEST(InventoryCollection, OnePrivateSpaceCallPerWindowWithOneNumber) {
    Desk desk;
    const auto a = desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    const auto b = desk.desktop.addWindow(desk.terminal, QRectF(0, 0, 10, 10), 13);
    InventoryService::collect(when);
    ASSERT_EQ(desk.desktop.spacesForWindowsRequests.size(), 2u);
    EXPECT_EQ(desk.desktop.spacesForWindowsRequests[0].second, QVariantList{QVariant::fromValue(a)});
    EXPECT_EQ(desk.desktop.spacesForWindowsRequests[1].second, QVariantList{QVariant::fromValue(b)});
    EXPECT_EQ(desk.desktop.windowListRequests.size(), 1u);
    EXPECT_EQ(desk.desktop.skyLightOpens, 1);
}

TEST(InventoryCollection, WithoutTheFrameworkThereIsNoSpaceInformation) {
    Desk desk;
    desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.addWindow(desk.terminal, QRectF(2000, 0, 10, 10), 21);
    desk.desktop.skyLightPresent = false;
    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_FALSE(inventory.spaceInfoAvailable);
    const auto records = desk.records(inventory);
    ASSERT_EQ(records.size(), 2u);
    for (const auto& record : records) {
        EXPECT_EQ(record.spaceID, std::nullopt);
        EXPECT_EQ(record.spaceLabel, std::nullopt);
        EXPECT_TRUE(record.displayID.has_value());
    }
    EXPECT_EQ(desk.desktop.spacesForWindowsCalls, 0);
}

TEST(InventoryCollection, MissingRequiredSymbolIsLikeNoFramework) {
    Desk desk;
    desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.skyLightMissingSymbols.insert(QStringLiteral("CGSCopyManagedDisplaySpaces"));
    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_FALSE(inventory.spaceInfoAvailable);
    EXPECT_EQ(desk.records(inventory).at(0).spaceID, std::nullopt);
    EXPECT_EQ(desk.desktop.spacesForWindowsCalls, 0);
}

TEST(InventoryCollection, WithoutTheSpaceListSpaceIdsStayButLabelsGo) {
    Desk desk;
    desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.addWindow(desk.terminal, QRectF(0, 0, 10, 10), 12);
    desk.desktop.managedDisplaySpacesReturnsNull = true;
    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_FALSE(inventory.spaceInfoAvailable);
    const auto records = desk.records(inventory);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].spaceID, 11u);
    EXPECT_EQ(records[1].spaceID, 12u);
    EXPECT_EQ(records[0].spaceLabel, std::nullopt);
    EXPECT_EQ(records[1].spaceLabel, std::nullopt);
    EXPECT_TRUE(inventory.apps[0].spaceLabels.empty());
}

TEST(InventoryCollection, EmptyOrNullSpaceAnswerLeavesTheWindowWithoutSpace) {
    Desk desk;
    const auto a = desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 13);
    desk.desktop.spacesForWindowOverride[a] = {};
    auto records = desk.records(InventoryService::collect(when));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].spaceID, std::nullopt);
    EXPECT_EQ(records[0].spaceLabel, std::nullopt);
    EXPECT_EQ(records[1].spaceID, 13u);
    EXPECT_EQ(records[1].spaceLabel, QStringLiteral("Desktop 3"));

    desk.desktop.spacesForWindowsReturnsNull = true;
    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_TRUE(inventory.spaceInfoAvailable);
    for (const auto& record : desk.records(inventory))
        EXPECT_EQ(record.spaceID, std::nullopt);
}

TEST(InventoryCollection, FirstListedSpaceCountsAndUnknownSpaceHasNoLabel) {
    Desk desk;
    const auto a = desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    const auto b = desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.spacesForWindowOverride[a] = {QStringLiteral("junk"), 13, 11};
    desk.desktop.spacesForWindowOverride[b] = {QVariant::fromValue(std::uint64_t(999))};
    const auto records = desk.records(InventoryService::collect(when));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].spaceID, 13u);
    EXPECT_EQ(records[0].spaceLabel, QStringLiteral("Desktop 3"));
    EXPECT_EQ(records[1].spaceID, 999u);
    EXPECT_EQ(records[1].spaceLabel, std::nullopt);
}

TEST(InventoryCollection, ProcessWithoutRunningApplicationUsesTheOwnerName) {
    Desk desk;
    const std::int32_t ghost = 4242;
    desk.desktop.addWindow(ghost, QRectF(0, 0, 10, 10), 11);
    desk.desktop.addWindow(ghost, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windows.back().ownerName = std::nullopt;
    const WindowInventory inventory = InventoryService::collect(when);
    ASSERT_EQ(inventory.apps.size(), 2u);
    EXPECT_EQ(inventory.apps[0].appName, QStringLiteral("proc4242"));
    EXPECT_EQ(inventory.apps[0].bundleID, std::nullopt);
    EXPECT_EQ(inventory.apps[1].appName, QStringLiteral("未知进程"));
    EXPECT_EQ(inventory.apps[1].bundleID, std::nullopt);
    EXPECT_EQ(inventory.apps[1].pids, (std::vector<std::int32_t>{ghost}));
}

TEST(InventoryCollection, ApplicationWithoutNameOrIdentifierFallsBackPerField) {
    Desk desk;
    const auto nameless = desk.desktop.addApp(QStringLiteral("x"), QStringLiteral("com.example.nameless"));
    desk.desktop.apps.back().localizedName = std::nullopt;
    const auto plain = desk.desktop.addApp(QStringLiteral("Plain"), std::nullopt);
    desk.desktop.addWindow(nameless, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windows.back().ownerName = QStringLiteral("Owner");
    desk.desktop.addWindow(plain, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windows.back().ownerName = QStringLiteral("plain-owner");
    const WindowInventory inventory = InventoryService::collect(when);
    ASSERT_EQ(inventory.apps.size(), 2u);
    EXPECT_EQ(inventory.apps[0].appName, QStringLiteral("Owner"));
    EXPECT_EQ(inventory.apps[0].bundleID, QStringLiteral("com.example.nameless"));
    EXPECT_EQ(inventory.apps[1].appName, QStringLiteral("Plain"));
    EXPECT_EQ(inventory.apps[1].bundleID, std::nullopt);
}

TEST(InventoryCollection, WindowsOffEveryDisplayAreCountedOneByOne) {
    Desk desk;
    desk.desktop.addWindow(desk.notes, QRectF(-5000, -5000, 100, 100), 11);
    desk.desktop.addWindow(desk.terminal, QRectF(10000, 0, 100, 100), 11);
    desk.desktop.addWindow(desk.notes, QRectF(100, 100, 0, 100), 11);
    desk.desktop.addWindow(desk.terminal, QRectF(100, 100, 100, 100), 11);
    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_EQ(inventory.apps.size(), 2u);
    EXPECT_EQ(inventory.unassignedCount, 3);
    const auto records = desk.records(inventory);
    for (const auto& record : records)
        EXPECT_EQ(record.displayID.has_value(), record.displayName.has_value());
}

TEST(InventoryCollection, WithoutWindowListDisplaysAreStillListed) {
    Desk desk;
    desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windowListFails = true;
    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_TRUE(inventory.apps.empty());
    EXPECT_EQ(inventory.displays.size(), 2u);
    EXPECT_TRUE(inventory.spaceInfoAvailable);
}

TEST(InventoryCollection, NoPlatformAnswersGiveAnEmptyInventory) {
    ScopedFakePlatform fake;
    fake->desktop.displayListFails = true;
    fake->desktop.windowListFails = true;
    fake->desktop.skyLightPresent = false;
    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_EQ(inventory, (WindowInventory{when, false, {}, {}, 0}));
}

TEST(InventoryCollection, CollectedAtIsTheCallersTimeNotTheClock) {
    Desk desk;
    const QDateTime past(QDate(1999, 12, 31), QTime(23, 59, 59), Qt::UTC);
    EXPECT_EQ(InventoryService::collect(past).collectedAt, past);
    EXPECT_EQ(InventoryService::collect(when).collectedAt, when);
}

TEST(InventoryCollection, EmptySpaceListStillCountsAsAvailable) {
    Desk desk;
    desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.managedDisplaySpacesOverride = QVariantList{};
    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_TRUE(inventory.spaceInfoAvailable);
    EXPECT_EQ(desk.records(inventory).at(0).spaceID, 11u);
    EXPECT_EQ(desk.records(inventory).at(0).spaceLabel, std::nullopt);
}
