#include "Inventory/WindowEnumerator.h"
#include "Platform/Fake/FakePlatform.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace K = WindowListKey;

namespace {

QVariantMap bounds(double x, double y, double width, double height) {
    return {{K::boundsX, x}, {K::boundsY, y}, {K::boundsWidth, width}, {K::boundsHeight, height}};
}

/// An entry that passes every test.
QVariantMap entry(std::uint32_t number) {
    return {{K::number, QVariant::fromValue(number)},
            {K::ownerPID, 501},
            {K::ownerName, QStringLiteral("Notes")},
            {K::name, QStringLiteral("Shopping")},
            {K::bounds, bounds(10, 20, 300, 200)},
            {K::layer, 0},
            {K::alpha, 1.0},
            {K::isOnscreen, true}};
}

QVariantMap with(QVariantMap map, const QString& key, const QVariant& value) {
    map.insert(key, value);
    return map;
}

QVariantMap without(QVariantMap map, const QString& key) {
    map.remove(key);
    return map;
}

std::vector<RawWindow> enumerateOver(ScopedFakePlatform& fake, QVariantList list) {
    fake->desktop.windowListOverride = std::move(list);
    return WindowEnumerator::enumerate();
}

std::vector<std::uint32_t> idsOf(const std::vector<RawWindow>& windows) {
    std::vector<std::uint32_t> ids;
    for (const auto& window : windows)
        ids.push_back(window.id);
    return ids;
}

} // namespace

TEST(WindowEnumeration, CompleteEntryBecomesARawWindow) {
    ScopedFakePlatform fake;
    const auto windows = enumerateOver(fake, {entry(7)});
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0], (RawWindow{7, 501, QRectF(10, 20, 300, 200), true, QStringLiteral("Notes"),
                                     QStringLiteral("Shopping")}));
}

TEST(WindowEnumeration, AsksOnceForAllWindowsExceptDesktopElements) {
    ScopedFakePlatform fake;
    enumerateOver(fake, {entry(7)});
    EXPECT_EQ(fake->desktop.windowListRequests, (std::vector<std::uint32_t>{16}));
}

TEST(WindowEnumeration, OnlyLayerZeroIsKept) {
    ScopedFakePlatform fake;
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::layer, 25)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::layer, -1)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {without(entry(1), K::layer)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::layer, QStringLiteral("0"))}).empty());
    EXPECT_EQ(enumerateOver(fake, {with(entry(1), K::layer, 0.0)}).size(), 1u);
    EXPECT_EQ(enumerateOver(fake, {with(entry(1), K::layer, qlonglong(0))}).size(), 1u);
}

TEST(WindowEnumeration, TransparentOrAlphaLessWindowsAreDropped) {
    ScopedFakePlatform fake;
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::alpha, 0.0)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {without(entry(1), K::alpha)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::alpha, QStringLiteral("1"))}).empty());
    EXPECT_EQ(enumerateOver(fake, {with(entry(1), K::alpha, 0.01)}).size(), 1u);
    EXPECT_EQ(enumerateOver(fake, {with(entry(1), K::alpha, 1)}).size(), 1u);
}

TEST(WindowEnumeration, NumberPidAndBoundsAreRequired) {
    ScopedFakePlatform fake;
    EXPECT_TRUE(enumerateOver(fake, {without(entry(1), K::number)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::number, QStringLiteral("1"))}).empty());
    EXPECT_TRUE(enumerateOver(fake, {without(entry(1), K::ownerPID)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {without(entry(1), K::bounds)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::bounds, QStringLiteral("{0,0,1,1}"))}).empty());
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::bounds, without(bounds(0, 0, 1, 1), K::boundsHeight))})
                    .empty());
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::bounds,
                                          with(bounds(0, 0, 1, 1), K::boundsX, QStringLiteral("0")))})
                    .empty());
}

TEST(WindowEnumeration, NumbersOutOfRangeDropTheEntry) {
    ScopedFakePlatform fake;
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::number, qlonglong(1) << 32)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::number, -1)}).empty());
    EXPECT_TRUE(enumerateOver(fake, {with(entry(1), K::ownerPID, qlonglong(1) << 31)}).empty());
    const auto widest = enumerateOver(fake, {with(with(entry(1), K::number, qulonglong(0xFFFFFFFFu)),
                                                  K::ownerPID, qlonglong(-2147483647 - 1))});
    ASSERT_EQ(widest.size(), 1u);
    EXPECT_EQ(widest[0].id, 0xFFFFFFFFu);
    EXPECT_EQ(widest[0].pid, std::numeric_limits<std::int32_t>::min());
}

TEST(WindowEnumeration, MissingOwnerNameTitleAndOnscreenFlagTakeTheirDefaults) {
    ScopedFakePlatform fake;
    const auto windows =
        enumerateOver(fake, {without(without(without(entry(1), K::ownerName), K::name), K::isOnscreen),
                             with(with(entry(2), K::ownerName, 12), K::name, QVariantMap{}),
                             with(entry(3), K::name, QString())});
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(windows[0].ownerName, QStringLiteral("未知进程"));
    EXPECT_EQ(windows[0].title, std::nullopt);
    EXPECT_FALSE(windows[0].isOnscreen);
    EXPECT_EQ(windows[1].ownerName, QStringLiteral("未知进程"));
    EXPECT_EQ(windows[1].title, std::nullopt);
    EXPECT_EQ(windows[2].title, QString());
    EXPECT_TRUE(windows[2].title.has_value());
}

TEST(WindowEnumeration, OnscreenFlagReadsBooleansAndNumbers) {
    ScopedFakePlatform fake;
    const auto windows =
        enumerateOver(fake, {with(entry(1), K::isOnscreen, 1), with(entry(2), K::isOnscreen, false),
                             with(entry(3), K::isOnscreen, QStringLiteral("true"))});
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_TRUE(windows[0].isOnscreen);
    EXPECT_FALSE(windows[1].isOnscreen);
    EXPECT_FALSE(windows[2].isOnscreen);
}

TEST(WindowEnumeration, MalformedEntriesAreSkippedOneByOneInOrder) {
    ScopedFakePlatform fake;
    const auto windows = enumerateOver(fake, {entry(1), with(entry(2), K::layer, 25), entry(3),
                                              without(entry(4), K::alpha), entry(5), entry(3)});
    EXPECT_EQ(idsOf(windows), (std::vector<std::uint32_t>{1, 3, 5, 3}));
}

TEST(WindowEnumeration, FailedOrMalformedListGivesNothing) {
    ScopedFakePlatform fake;
    fake->desktop.windows.push_back({});
    fake->desktop.windowListFails = true;
    EXPECT_TRUE(WindowEnumerator::enumerate().empty());
    fake->desktop.windowListFails = false;
    EXPECT_TRUE(enumerateOver(fake, {entry(1), QStringLiteral("not a dictionary"), entry(2)}).empty());
}

TEST(WindowEnumeration, WindowsOffScreenAreListedLikeOthers) {
    ScopedFakePlatform fake;
    FakeDesktop& desktop = fake->desktop;
    FakeDesktop::Display display;
    display.id = 1;
    display.bounds = QRectF(0, 0, 1000, 1000);
    display.isMain = true;
    display.spaces = {{11, 0}, {12, 0}};
    display.currentSpace = 11;
    desktop.displays.push_back(display);
    const auto pid = desktop.addApp(QStringLiteral("Notes"), QStringLiteral("com.example.notes"));
    const auto here = desktop.addWindow(pid, QRectF(0, 0, 100, 100), 11);
    const auto elsewhere = desktop.addWindow(pid, QRectF(0, 0, 100, 100), 12);
    const auto minimised = desktop.addWindow(pid, QRectF(0, 0, 100, 100), 11, true);
    desktop.addWindow(pid, QRectF(0, 0, 100, 100), 11);
    desktop.windows.back().layer = 3;

    const auto windows = WindowEnumerator::enumerate();
    EXPECT_EQ(idsOf(windows), (std::vector<std::uint32_t>{here, elsewhere, minimised}));
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_TRUE(windows[0].isOnscreen);
    EXPECT_FALSE(windows[1].isOnscreen);
    EXPECT_FALSE(windows[2].isOnscreen);
}
