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

/// `map` with `key` set to `value`, or removed when `value` is invalid.
QVariantMap with(QVariantMap map, const QString& key, const QVariant& value) {
    if (value.isValid())
        map.insert(key, value);
    else
        map.remove(key);
    return map;
}

std::vector<RawWindow> enumerateOver(ScopedFakePlatform& fake, QVariantList list) {
    fake->desktop.windowListOverride = std::move(list);
    return WindowEnumerator::enumerate();
}

} // namespace

TEST(WindowEnumeration, CompleteEntryBecomesARawWindowFromOneRequestForAllButDesktopElements) {
    ScopedFakePlatform fake;
    const auto windows = enumerateOver(fake, {entry(7)});
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0], (RawWindow{7, 501, QRectF(10, 20, 300, 200), true, QStringLiteral("Notes"),
                                     QStringLiteral("Shopping")}));
    EXPECT_EQ(fake->desktop.windowListRequests, (std::vector<std::uint32_t>{16}));
}

TEST(WindowEnumeration, EachFailedTestDropsTheEntryAndValuesAtTheLimitsPass) {
    struct Case {
        QString key;
        QVariant value; // invalid: the key is missing
        bool kept;
    };
    const Case cases[] = {
        // Layer 0 only, as a number of any kind.
        {K::layer, 25, false},
        {K::layer, -1, false},
        {K::layer, QVariant(), false},
        {K::layer, QStringLiteral("0"), false},
        {K::layer, 0.0, true},
        {K::layer, qlonglong(0), true},
        // Transparent or alpha-less windows.
        {K::alpha, 0.0, false},
        {K::alpha, QVariant(), false},
        {K::alpha, QStringLiteral("1"), false},
        {K::alpha, 0.01, true},
        {K::alpha, 1, true},
        // Number, pid and bounds are required, in range and numeric.
        {K::number, QVariant(), false},
        {K::number, QStringLiteral("1"), false},
        {K::number, qlonglong(1) << 32, false},
        {K::number, -1, false},
        {K::number, qulonglong(0xFFFFFFFFu), true},
        {K::ownerPID, QVariant(), false},
        {K::ownerPID, qlonglong(1) << 31, false},
        {K::ownerPID, qlonglong(-2147483647 - 1), true},
        {K::bounds, QVariant(), false},
        {K::bounds, QStringLiteral("{0,0,1,1}"), false},
        {K::bounds, with(bounds(0, 0, 1, 1), K::boundsHeight, QVariant()), false},
        {K::bounds, with(bounds(0, 0, 1, 1), K::boundsX, QStringLiteral("0")), false},
    };
    ScopedFakePlatform fake;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.key.toStdString() << " = " << c.value.toString().toStdString() << " ("
                     << (c.value.isValid() ? c.value.typeName() : "missing") << ')');
        const auto windows = enumerateOver(fake, {with(entry(1), c.key, c.value)});
        ASSERT_EQ(windows.size(), c.kept ? 1u : 0u);
        if (c.kept && c.key == K::number) {
            EXPECT_EQ(windows[0].id, 0xFFFFFFFFu);
        } else if (c.kept && c.key == K::ownerPID) {
            EXPECT_EQ(windows[0].pid, std::numeric_limits<std::int32_t>::min());
        }
    }
}

TEST(WindowEnumeration, OptionalFieldsOfTheWrongKindTakeTheirDefaults) {
    ScopedFakePlatform fake;
    const auto windows =
        enumerateOver(fake, {with(with(with(entry(1), K::ownerName, {}), K::name, {}), K::isOnscreen, {}),
                             with(with(entry(2), K::ownerName, 12), K::name, QVariantMap{}),
                             with(entry(3), K::name, QString()), with(entry(4), K::isOnscreen, 1),
                             with(entry(5), K::isOnscreen, QStringLiteral("true"))});
    ASSERT_EQ(windows.size(), 5u);
    EXPECT_EQ(windows[0].ownerName, QStringLiteral("未知进程"));
    EXPECT_EQ(windows[0].title, std::nullopt);
    EXPECT_FALSE(windows[0].isOnscreen);
    EXPECT_EQ(windows[1].ownerName, QStringLiteral("未知进程"));
    EXPECT_EQ(windows[1].title, std::nullopt);
    EXPECT_EQ(windows[2].title, std::optional(QString()));
    EXPECT_TRUE(windows[3].isOnscreen);  // a number
    EXPECT_FALSE(windows[4].isOnscreen); // a string
}

TEST(WindowEnumeration, MalformedEntriesAreSkippedOneByOneInOrder) {
    ScopedFakePlatform fake;
    const auto windows = enumerateOver(fake, {entry(1), with(entry(2), K::layer, 25), entry(3),
                                              with(entry(4), K::alpha, {}), entry(5), entry(3)});
    std::vector<std::uint32_t> ids;
    for (const auto& window : windows)
        ids.push_back(window.id);
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{1, 3, 5, 3}));
}

TEST(WindowEnumeration, FailedOrMalformedListGivesNothing) {
    ScopedFakePlatform fake;
    fake->desktop.windows.push_back({});
    fake->desktop.windowListFails = true;
    EXPECT_TRUE(WindowEnumerator::enumerate().empty());
    fake->desktop.windowListFails = false;
    EXPECT_TRUE(enumerateOver(fake, {entry(1), QStringLiteral("not a dictionary"), entry(2)}).empty());
}
