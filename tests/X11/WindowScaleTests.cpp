// Many managed windows at once on the real display: the window list reads them all in one
// pass and the inventory tool lists each of them.
#include "Platform/WindowListPort.h"
#include "Platform/X11/X11WindowList.h"
#include "X11Fixture.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <set>

namespace {

// openbox takes time per managed window that grows with their number; this many keep the
// test to a few seconds (a thousand take some twenty).
constexpr int windowCount = 500;

using WindowScale = X11Fixture;

} // namespace

TEST_F(WindowScale, FiveHundredWindowsAreListedOnceEach) {
    QElapsedTimer clock;
    clock.start();
    const auto made = windows->createMany(windowCount, [](int n) {
        TestWindowProperties props;
        props.pid = 200000 + n;
        props.wmClass = QByteArray("scale\0ScaleTest\0", 16);
        props.title = "scale " + QByteArray::number(n);
        props.size = QSize(120, 80);
        // Placed where asked: openbox does not search for a free place among every window.
        props.position = QPoint(n % 900, n % 600);
        return props;
    });
    const qint64 managedMs = clock.restart();

    const auto list = X11WindowList(*connection).copyWindowInfo(WindowListOption::excludeDesktopElements, 0);
    const qint64 listMs = clock.restart();
    ASSERT_TRUE(list);
    const auto entries = entriesOf(*list, made);
    ASSERT_EQ(entries.size(), std::size_t(windowCount));
    std::set<std::uint32_t> listed;
    for (const QVariantMap& e : entries) {
        const auto n = std::find(made.begin(), made.end(), numberOf(e)) - made.begin();
        EXPECT_TRUE(listed.insert(numberOf(e)).second);
        EXPECT_EQ(e.value(WindowListKey::ownerPID).toInt(), 200000 + n);
        EXPECT_EQ(e.value(WindowListKey::name).toString(), QStringLiteral("scale %1").arg(n));
    }

    clock.restart();
    int status = -1;
    const QString json = runTool(QStringLiteral(KESTAVON_INVENTORY_TOOL), {}, &status);
    const qint64 toolMs = clock.elapsed();
    ASSERT_EQ(status, 0);
    std::set<std::uint32_t> inInventory;
    for (const QJsonValue app :
         QJsonDocument::fromJson(json.toUtf8()).object().value(QStringLiteral("apps")).toArray())
        for (const QJsonValue window : app.toObject().value(QStringLiteral("windows")).toArray())
            inInventory.insert(std::uint32_t(window.toObject().value(QStringLiteral("id")).toInteger()));
    for (const xcb_window_t window : made)
        EXPECT_TRUE(inInventory.count(window)) << "window " << window << " not in the inventory";
    std::printf("%d windows: managed in %lld ms, listed in %lld ms, inventory tool ran in %lld ms\n",
                windowCount, static_cast<long long>(managedMs), static_cast<long long>(listMs),
                static_cast<long long>(toolMs));
}
