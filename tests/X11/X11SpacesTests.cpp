// Displays and desktops-as-Spaces against Xvfb's RandR and openbox's four desktops.
#include "Inventory/SpaceCatalog.h"
#include "Platform/X11/X11Displays.h"
#include "Platform/X11/X11WindowServer.h"
#include "X11Fixture.h"

#include <QUuid>

namespace {

class Spaces : public X11Fixture {
protected:
    std::shared_ptr<SkyLightLibrary> library() {
        return server().open(QStringLiteral("/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight"),
                             1);
    }
    X11WindowServer& server() {
        if (!server_) server_ = std::make_unique<X11WindowServer>(*connection);
        return *server_;
    }
    /// The Space of one window, asked of a fresh library as the inventory does.
    std::optional<std::uint64_t> spaceOf(xcb_window_t window) {
        const auto spaces =
            library()->copySpacesForWindows(1, 7, {QVariant::fromValue(std::uint32_t(window))});
        if (!spaces || spaces->isEmpty()) return std::nullopt;
        return spaces->front().value<std::uint64_t>();
    }
    void switchDesktop(int desktop) {
        runTool(QStringLiteral("wmctrl"), {QStringLiteral("-s"), QString::number(desktop)});
        ASSERT_TRUE(windows->waitUntil([&] {
            return windows->cardinal(connection->root(), "_NET_CURRENT_DESKTOP") == std::uint32_t(desktop);
        }));
    }
    void TearDown() override {
        if (connection) switchDesktop(0);
        X11Fixture::TearDown();
    }

private:
    std::unique_ptr<X11WindowServer> server_;
};

using Displays = Spaces;

TestWindowProperties simple() {
    TestWindowProperties props;
    props.pid = 4242;
    props.title = "space test";
    return props;
}

/// Restores the screen's single monitor however the test ends.
struct ExtraMonitors {
    ~ExtraMonitors() {
        runTool(QStringLiteral("xrandr"), {QStringLiteral("--delmonitor"), QStringLiteral("left")});
        runTool(QStringLiteral("xrandr"), {QStringLiteral("--delmonitor"), QStringLiteral("right")});
    }
};

} // namespace

TEST_F(Spaces, OneDisplayHoldsEveryDesktopAndTheCurrentOne) {
    switchDesktop(2);
    const auto list = library()->copyManagedDisplaySpaces(1);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1);
    // As the switching code reads it.
    const SpaceCatalog catalog = SpaceCatalog::parse({list->front().toMap()});
    const QString uuid = *server().displayUUIDString(server().activeDisplayList()->front());
    EXPECT_EQ(catalog.desktopIDs(uuid), (std::vector<std::uint64_t>{1, 2, 3, 4}));
    EXPECT_EQ(catalog.currentSpaceID(uuid), 3u);
}

TEST_F(Spaces, AWindowIsInTheSpaceOfItsDesktop) {
    const xcb_window_t here = windows->create(simple());
    // A library asked before: it also answers for windows newer than its first answer.
    const auto earlier = library();
    EXPECT_EQ(earlier->copySpacesForWindows(1, 7, {QVariant::fromValue(std::uint32_t(here))})->size(), 1);
    const xcb_window_t moved = windows->create(simple());
    const xcb_window_t sticky = windows->create(simple());
    runTool(QStringLiteral("wmctrl"), {"-i", "-r", QString::number(moved), "-t", "3"});
    runTool(QStringLiteral("xdotool"), {"set_desktop_for_window", QString::number(sticky), "-1"});
    ASSERT_TRUE(windows->waitUntil([&] {
        return windows->cardinal(moved, "_NET_WM_DESKTOP") == 3u &&
               windows->cardinal(sticky, "_NET_WM_DESKTOP") == 0xFFFFFFFFu;
    }));

    EXPECT_EQ(spaceOf(here), 1u);
    EXPECT_EQ(spaceOf(moved), 4u);
    EXPECT_EQ(earlier->copySpacesForWindows(1, 7, {QVariant::fromValue(std::uint32_t(moved))}),
              QVariantList{QVariant::fromValue(std::uint64_t(4))});
    // On every desktop: in the current one, wherever that is.
    EXPECT_EQ(spaceOf(sticky), 1u);
    switchDesktop(1);
    EXPECT_EQ(spaceOf(sticky), 2u);
    // No such window: no Space for it, and the others still answered.
    const auto spaces = library()->copySpacesForWindows(
        1, 7, {QVariant::fromValue(std::uint32_t(1)), QVariant::fromValue(std::uint32_t(moved))});
    ASSERT_TRUE(spaces);
    EXPECT_EQ(*spaces, QVariantList{QVariant::fromValue(std::uint64_t(4))});
}

TEST_F(Displays, TheScreenIsTheMainDisplay) {
    const auto ids = server().activeDisplayList();
    ASSERT_TRUE(ids);
    ASSERT_EQ(ids->size(), 1u);
    const std::uint32_t id = ids->front();
    EXPECT_NE(id, 0u);
    EXPECT_EQ(server().displayBounds(id), QRectF(0, 0, 1280, 800));
    EXPECT_TRUE(server().displayIsMain(id));
    const auto uuid = server().displayUUIDString(id);
    ASSERT_TRUE(uuid);
    EXPECT_FALSE(QUuid::fromString(*uuid).isNull());
    EXPECT_EQ(*uuid, uuid->toUpper());
    // Stable: a second backend on another connection names the display the same way.
    const auto other = X11Connection::open();
    X11Displays again(*other);
    EXPECT_EQ(again.activeDisplayList(), ids);
    EXPECT_EQ(again.displayUUIDString(id), uuid);
    const auto screens = server().screens();
    ASSERT_EQ(screens.size(), 1);
    EXPECT_EQ(
        screens.front().deviceDescription.value(QStringLiteral("NSScreenNumber")).value<std::uint32_t>(), id);
}

TEST_F(Displays, ThePrimaryMonitorIsMainAndEachMonitorKeepsItsIdentity) {
    ExtraMonitors restore;
    runTool(QStringLiteral("xrandr"), {"--setmonitor", "left", "640/169x800/212+0+0", "none"});
    runTool(QStringLiteral("xrandr"), {"--setmonitor", "*right", "640/169x800/212+640+0", "none"});

    const auto ids = server().activeDisplayList();
    ASSERT_TRUE(ids);
    ASSERT_EQ(ids->size(), 3u);
    std::map<QString, std::uint32_t> byName;
    for (const Screen& s : server().screens())
        byName[s.localizedName] =
            s.deviceDescription.value(QStringLiteral("NSScreenNumber")).value<std::uint32_t>();
    ASSERT_TRUE(byName.contains(QStringLiteral("left")) && byName.contains(QStringLiteral("right")));
    const std::uint32_t left = byName[QStringLiteral("left")], right = byName[QStringLiteral("right")];
    EXPECT_EQ(server().displayBounds(left), QRectF(0, 0, 640, 800));
    EXPECT_EQ(server().displayBounds(right), QRectF(640, 0, 640, 800));
    EXPECT_TRUE(server().displayIsMain(right));
    EXPECT_FALSE(server().displayIsMain(left));
    EXPECT_NE(server().displayUUIDString(left), server().displayUUIDString(right));

    // The Space list hangs the desktops on the main display.
    const auto list = library()->copyManagedDisplaySpaces(1);
    EXPECT_EQ(list->front().toMap().value(QStringLiteral("Display Identifier")).toString(),
              server().displayUUIDString(right));

    // Removing a monitor leaves the others' ids and UUIDs as they were.
    const auto leftUUID = server().displayUUIDString(left);
    runTool(QStringLiteral("xrandr"), {QStringLiteral("--delmonitor"), QStringLiteral("right")});
    const auto remaining = server().activeDisplayList();
    EXPECT_EQ(remaining->size(), 2u);
    EXPECT_NE(std::find(remaining->begin(), remaining->end(), left), remaining->end());
    EXPECT_EQ(server().displayUUIDString(left), leftUUID);
    EXPECT_EQ(std::count_if(remaining->begin(), remaining->end(),
                            [&](std::uint32_t id) { return server().displayIsMain(id); }),
              1);
}
