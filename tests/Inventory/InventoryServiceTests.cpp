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
    const std::int32_t notes = desktop.addApp(QStringLiteral("Notes"), QStringLiteral("com.example.notes"));
    const std::int32_t terminal =
        desktop.addApp(QStringLiteral("Terminal"), QStringLiteral("com.example.terminal"));

    Desk() {
        desktop.displays = {
            {2, "UUID-SIDE", QRectF(1920, 0, 1280, 1024), false, "Side", {{21, 0}}, 21},
            {1, "UUID-MAIN", QRectF(0, 0, 1920, 1080), true, "Built-in", {{11, 0}, {12, 4}, {13, 0}}, 11}};
    }

    std::vector<WindowRecord> records(const WindowInventory& inventory) const {
        std::vector<WindowRecord> all;
        for (const auto& group : inventory.apps)
            all.insert(all.end(), group.windows.begin(), group.windows.end());
        return all;
    }
};

} // namespace

TEST(InventoryCollection, RecordsCarryApplicationDisplayAndSpaceOfOrdinaryWindowsOnly) {
    Desk desk;
    const auto a = desk.desktop.addWindow(desk.notes, QRectF(100, 100, 800, 600), 11);
    const auto b = desk.desktop.addWindow(desk.terminal, QRectF(2000, 100, 400, 300), 21);
    const auto c = desk.desktop.addWindow(desk.notes, QRectF(0, 0, 1920, 1080), 12);

    // Panels, invisible helpers and the like are no windows to jump to.
    desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windows.back().layer = 25;
    desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windows.back().alpha = 0.0;

    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_EQ(inventory.collectedAt, when); // the caller's time, not the clock
    EXPECT_TRUE(inventory.spaceInfoAvailable);
    ASSERT_EQ(inventory.displays.size(), 2u);
    EXPECT_EQ(inventory.displays[0].id, 1u);
    EXPECT_EQ(inventory.unassignedCount, 0);
    ASSERT_EQ(inventory.apps.size(), 2u);
    EXPECT_EQ(inventory.apps[0].bundleID, QStringLiteral("com.example.notes"));
    EXPECT_EQ(inventory.apps[0].spaceLabels, (std::vector<QString>{"Desktop 2", "Fullscreen"}));
    EXPECT_EQ(inventory.apps[1].appName, QStringLiteral("Terminal"));

    EXPECT_EQ(inventory.apps[0].windows[0],
              (WindowRecord{a, desk.notes, "Notes", "com.example.notes", QStringLiteral("Window %1").arg(a),
                            RectDTO{100, 100, 800, 600}, true, 1u, "Built-in", 11u, "Desktop 2"}));
    EXPECT_EQ(inventory.apps[0].windows[1].id, c);
    EXPECT_FALSE(inventory.apps[0].windows[1].isOnscreen);
    const WindowRecord& side = inventory.apps[1].windows[0];
    EXPECT_EQ(side.id, b);
    EXPECT_EQ(side.displayName, QStringLiteral("Side"));
    EXPECT_EQ(side.spaceLabel, QStringLiteral("Desktop 1"));

}

TEST(InventoryCollection, SpacesOfWindowsAndTheSpaceListAreEachOptional) {
    struct Case {
        const char* name;
        bool spaceListFails, windowSpacesFail, listedWithWindows;
        bool available;
        std::optional<std::uint64_t> space;
        std::optional<QString> label;
    };
    const Case cases[] = {
        {"both", false, false, false, true, 12, "Fullscreen"},
        {"no Space list: ids stay, labels go", true, false, false, false, 12, std::nullopt},
        {"no Spaces of windows", false, true, false, true, std::nullopt, std::nullopt},
        {"neither", true, true, false, false, std::nullopt, std::nullopt},
        {"Spaces told with the windows, none asked for", false, true, true, true, 12, "Fullscreen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Desk desk;
        desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 12);
        desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 0); // on no Space
        desk.desktop.spaceListFails = c.spaceListFails;
        desk.desktop.windowSpacesFail = c.windowSpacesFail;
        desk.desktop.spacesListedWithWindows = c.listedWithWindows;
        const WindowInventory inventory = InventoryService::collect(when);
        EXPECT_EQ(inventory.spaceInfoAvailable, c.available);
        const auto records = desk.records(inventory);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].spaceID, c.space);
        EXPECT_EQ(records[0].spaceLabel, c.label);
        EXPECT_EQ(records[1].spaceID, std::nullopt);
        EXPECT_TRUE(records[1].displayID.has_value());
    }
}

TEST(InventoryCollection, NamesAndIdentifiersFallBackFieldByField) {
    Desk desk;
    // A process that is no running application: the owner name, else its number.
    const std::int32_t ghost = 4242;
    desk.desktop.addWindow(ghost, QRectF(0, 0, 10, 10), 11);
    desk.desktop.addWindow(ghost, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windows.back().ownerName = std::nullopt;
    // Applications without a name or without an identifier.
    const auto nameless = desk.desktop.addApp(QStringLiteral("x"), QStringLiteral("com.example.nameless"));
    desk.desktop.apps.back().localizedName = std::nullopt;
    const auto plain = desk.desktop.addApp(QStringLiteral("Plain"), std::nullopt);
    desk.desktop.addWindow(nameless, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windows.back().ownerName = QStringLiteral("Owner");
    desk.desktop.addWindow(plain, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windows.back().ownerName = QStringLiteral("plain-owner");

    const WindowInventory inventory = InventoryService::collect(when);
    ASSERT_EQ(inventory.apps.size(), 4u);
    const std::pair<QString, std::optional<QString>> expected[] = {{"proc4242", std::nullopt},
                                                                   {"未知进程", std::nullopt},
                                                                   {"Owner", "com.example.nameless"},
                                                                   {"Plain", std::nullopt}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(inventory.apps[i].appName, expected[i].first);
        EXPECT_EQ(inventory.apps[i].bundleID, expected[i].second);
    }
    EXPECT_EQ(inventory.apps[1].pids, (std::vector<std::int32_t>{ghost}));
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

TEST(InventoryCollection, WithoutWindowListDisplaysAreStillListedAndWithoutAnyAnswerAllIsEmpty) {
    Desk desk;
    desk.desktop.addWindow(desk.notes, QRectF(0, 0, 10, 10), 11);
    desk.desktop.windowListFails = true;
    const WindowInventory inventory = InventoryService::collect(when);
    EXPECT_TRUE(inventory.apps.empty());
    EXPECT_EQ(inventory.displays.size(), 2u);
    EXPECT_TRUE(inventory.spaceInfoAvailable);

    desk.desktop.displayListFails = true;
    desk.desktop.spaceListFails = true;
    EXPECT_EQ(InventoryService::collect(when), (WindowInventory{when, false, {}, {}, 0}));
}
