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

class WindowScale : public X11Fixture {
protected:
    void TearDown() override {
        xcb_connection_t* c = windows->connection();
        for (const xcb_window_t window : made)
            xcb_destroy_window(c, window);
        xcb_flush(c);
        windows->waitUntil([&] { return managedCount() == 0; }, 60000);
        X11Fixture::TearDown();
    }

    /// Creates the windows in one burst: requests first, one flush.
    void createAll() {
        xcb_connection_t* c = windows->connection();
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const xcb_atom_t pid = windows->atom("_NET_WM_PID");
        const xcb_atom_t name = windows->atom("_NET_WM_NAME");
        const xcb_atom_t utf8 = windows->atom("UTF8_STRING");
        const QByteArray wmClass("scale\0ScaleTest\0", 16);
        // WM_NORMAL_HINTS with a position the user gave: the manager keeps it rather than
        // searching for a free place among every window it has.
        std::uint32_t hints[18] = {};
        hints[0] = 1 | 2; // USPosition | USSize
        for (int n = 0; n < windowCount; ++n) {
            const xcb_window_t window = xcb_generate_id(c);
            const std::uint32_t background = 0xffffff;
            xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, std::int16_t(n % 900),
                              std::int16_t(n % 600), 120, 80, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                              XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, &background);
            hints[1] = std::uint32_t(n % 900);
            hints[2] = std::uint32_t(n % 600);
            hints[3] = 120;
            hints[4] = 80;
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS,
                                XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
            const std::uint32_t owner = 200000 + std::uint32_t(n);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, pid, XCB_ATOM_CARDINAL, 32, 1, &owner);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                                std::uint32_t(wmClass.size()), wmClass.constData());
            const QByteArray title = "scale " + QByteArray::number(n);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, name, utf8, 8, std::uint32_t(title.size()),
                                title.constData());
            xcb_map_window(c, window);
            made.push_back(window);
            ours.insert(window);
        }
        xcb_flush(c);
    }

    int managedCount() {
        int count = 0;
        for (const xcb_window_t window : windows->clientList())
            count += int(ours.count(window));
        return count;
    }

    std::vector<xcb_window_t> made;
    std::set<xcb_window_t> ours;
};

} // namespace

TEST_F(WindowScale, FiveHundredWindowsAreListedOnceEach) {
    QElapsedTimer clock;
    clock.start();
    createAll();
    ASSERT_TRUE(windows->waitUntil([&] { return managedCount() == windowCount; }, 60000))
        << managedCount() << " of " << windowCount << " managed";
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
