// A desktop of ten thousand windows through the whole inventory: the window list, the Space
// calls, the grouping and the JSON that the inventory tool prints.
#include "Inventory/InventoryJson.h"
#include "Inventory/InventoryService.h"
#include "Platform/Fake/FakePlatform.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

TEST(InventoryScale, TenThousandWindowsAreEachListedOnceAndTheJsonReadsBack) {
    constexpr int windowCount = 10000;
    constexpr int appCount = 250;
    ScopedFakePlatform fake;
    FakeDesktop& desktop = fake->desktop;
    desktop.displays.push_back({1,
                                QStringLiteral("UUID-MAIN"),
                                QRectF(0, 0, 1920, 1080),
                                true,
                                QStringLiteral("Built-in"),
                                {{11, 0}, {12, 0}, {13, 4}},
                                11});
    std::vector<std::int32_t> pids;
    for (int a = 0; a < appCount; ++a)
        pids.push_back(
            desktop.addApp(QStringLiteral("App %1").arg(a), QStringLiteral("com.example.app%1").arg(a)));
    // Titles a client may set: control characters, quotes, a lone surrogate, nothing, a lot.
    const QStringList oddTitles{QStringLiteral("tab\there \"quoted\" back\\slash \x01\x1f"),
                                QString(QChar(0xD800)) + QStringLiteral(" half a pair"), QString(),
                                QString(100000, QLatin1Char('x'))};
    std::set<std::uint32_t> made;
    for (int n = 0; n < windowCount; ++n) {
        const std::uint64_t space = 11 + std::uint64_t(n % 3);
        const auto id = desktop.addWindow(pids[std::size_t(n % appCount)],
                                          QRectF(n % 1800, n % 1000, 300, 200), space, n % 7 == 0);
        if (n < oddTitles.size()) desktop.window(id)->title = oddTitles[n];
        made.insert(id);
    }

    QElapsedTimer clock;
    clock.start();
    const WindowInventory inventory = InventoryService::collect(QDateTime::currentDateTimeUtc());
    const qint64 collectMs = clock.restart();
    const QByteArray json = InventoryJson::encode(inventory);
    const auto decoded = InventoryJson::decodeWindowInventory(json);
    std::printf("%d windows: collected in %lld ms, JSON of %lld KiB written and read in %lld ms\n",
                windowCount, static_cast<long long>(collectMs), static_cast<long long>(json.size() / 1024),
                static_cast<long long>(clock.elapsed()));

    ASSERT_EQ(inventory.apps.size(), std::size_t(appCount));
    std::set<std::uint32_t> listed;
    for (const AppGroup& group : inventory.apps) {
        EXPECT_EQ(group.windowCount, windowCount / appCount);
        for (const WindowRecord& window : group.windows) {
            EXPECT_TRUE(listed.insert(window.id).second) << "window " << window.id << " listed twice";
            EXPECT_EQ(window.spaceID, std::uint64_t(11 + (window.id - *made.begin()) % 3));
        }
    }
    EXPECT_EQ(listed, made);
    EXPECT_EQ(desktop.windowListRequests.size(), 1u);

    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_EQ(decoded.value->apps.size(), inventory.apps.size());
    std::size_t windowsRead = 0;
    for (const AppGroup& group : decoded.value->apps)
        windowsRead += group.windows.size();
    EXPECT_EQ(windowsRead, std::size_t(windowCount));
    // Text that JSON can carry comes back as it was.
    std::map<std::uint32_t, QString> titles;
    for (const AppGroup& group : decoded.value->apps)
        for (const WindowRecord& window : group.windows)
            titles[window.id] = window.title.value_or(QString());
    const std::uint32_t first = *made.begin();
    EXPECT_EQ(titles[first], oddTitles[0]);
    EXPECT_TRUE(titles[first + 1].endsWith(QStringLiteral(" half a pair")));
    EXPECT_EQ(titles[first + 3], oddTitles[3]);
    EXPECT_EQ(titles[first + 9], QStringLiteral("Window %1").arg(first + 9));
}
