// The window list against openbox: order, identity, geometry, visibility and odd clients.
#include "Platform/WindowListPort.h"
#include "Platform/X11/X11WindowList.h"
#include "X11Fixture.h"

#include <QRectF>
#include <QRegularExpression>

#include <set>

#include <unistd.h>

namespace {

class WindowList : public X11Fixture {
protected:
    std::vector<QVariantMap> listed(const std::vector<xcb_window_t>& ours,
                                    std::uint32_t options = WindowListOption::excludeDesktopElements) {
        const auto list = X11WindowList(*connection).copyWindowInfo(options, 0);
        EXPECT_TRUE(list.has_value());
        return list ? entriesOf(*list, ours) : std::vector<QVariantMap>{};
    }
    std::optional<QVariantMap> entry(xcb_window_t window) {
        const auto entries = listed({window}, 0);
        if (entries.empty()) return std::nullopt;
        return entries.front();
    }
    TestWindowProperties plain(const QByteArray& title) {
        TestWindowProperties props;
        props.pid = std::int32_t(getpid());
        props.wmClass = QByteArray("kestavon\0KestavonTest\0", 22);
        props.title = title;
        return props;
    }
    void raise(xcb_window_t window) {
        runTool(QStringLiteral("xdotool"), {QStringLiteral("windowraise"), QString::number(window)});
        ASSERT_TRUE(windows->waitUntil([&] { return windows->clientList(true).back() == window; }));
    }
};

std::vector<std::uint32_t> numbers(const std::vector<QVariantMap>& entries) {
    std::vector<std::uint32_t> result;
    for (const auto& e : entries)
        result.push_back(numberOf(e));
    return result;
}

QRectF boundsOf(const QVariantMap& entry) {
    const QVariantMap b = entry.value(WindowListKey::bounds).toMap();
    return {b.value(WindowListKey::boundsX).toDouble(), b.value(WindowListKey::boundsY).toDouble(),
            b.value(WindowListKey::boundsWidth).toDouble(), b.value(WindowListKey::boundsHeight).toDouble()};
}

} // namespace

TEST_F(WindowList, RunsFrontToBackAndFollowsARaise) {
    const xcb_window_t a = windows->create(plain("a"));
    const xcb_window_t b = windows->create(plain("b"));
    const xcb_window_t c = windows->create(plain("c"));

    raise(a);
    EXPECT_EQ(numbers(listed({a, b, c})).front(), a);
    raise(c);
    EXPECT_EQ(numbers(listed({a, b, c})), (std::vector<std::uint32_t>{c, a, b}));
}

TEST_F(WindowList, NamesAndPlacesAWindowAsXToolsDo) {
    const xcb_window_t window = windows->create(plain("tëst title"));

    const auto e = entry(window);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->value(WindowListKey::ownerPID).toInt(), getpid());
    EXPECT_EQ(e->value(WindowListKey::ownerName).toString(), QStringLiteral("KestavonTest"));
    EXPECT_EQ(e->value(WindowListKey::name).toString(), QStringLiteral("tëst title"));
    EXPECT_TRUE(e->value(WindowListKey::isOnscreen).toBool());

    // As xwininfo reads the client area from the server.
    const QString info = runTool(QStringLiteral("xwininfo"), {"-id", QString::number(window)});
    const auto value = [&](const char* label) {
        const QRegularExpression field(QLatin1String(label) + QStringLiteral(":\\s+(-?\\d+)"));
        return field.match(info).captured(1).toInt();
    };
    EXPECT_EQ(boundsOf(*e), QRectF(value("Absolute upper-left X"), value("Absolute upper-left Y"),
                                   value("Width"), value("Height")))
        << info.toStdString();
}

TEST_F(WindowList, OnscreenOnlyForShownWindowsOfTheCurrentDesktop) {
    const xcb_window_t shown = windows->create(plain("shown"));
    const xcb_window_t elsewhere = windows->create(plain("elsewhere"));
    const xcb_window_t minimised = windows->create(plain("minimised"));
    const xcb_window_t sticky = windows->create(plain("sticky"));

    runTool(QStringLiteral("wmctrl"), {"-i", "-r", QString::number(elsewhere), "-t", "2"});
    runTool(QStringLiteral("xdotool"), {"windowminimize", QString::number(minimised)});
    runTool(QStringLiteral("xdotool"), {"set_desktop_for_window", QString::number(sticky), "-1"});
    ASSERT_TRUE(windows->waitUntil([&] {
        return windows->cardinal(elsewhere, "_NET_WM_DESKTOP") == 2u &&
               windows->hasState(minimised, "_NET_WM_STATE_HIDDEN") &&
               windows->cardinal(sticky, "_NET_WM_DESKTOP") == 0xFFFFFFFFu;
    }));

    const auto onscreen = [&](xcb_window_t w) { return entry(w)->value(WindowListKey::isOnscreen).toBool(); };
    EXPECT_TRUE(onscreen(shown));
    EXPECT_FALSE(onscreen(elsewhere));
    EXPECT_FALSE(onscreen(minimised));
    EXPECT_TRUE(onscreen(sticky));
    // Windows that are not shown are still listed, unless only shown ones are asked for.
    EXPECT_EQ(listed({shown, elsewhere, minimised, sticky}).size(), 4u);
    const auto onlyShown =
        numbers(listed({shown, elsewhere, minimised, sticky}, WindowListOption::onScreenOnly));
    EXPECT_EQ(std::set<std::uint32_t>(onlyShown.begin(), onlyShown.end()),
              (std::set<std::uint32_t>{shown, sticky}));
}

TEST_F(WindowList, LayerAndAlphaComeFromTypeAndOpacity) {
    TestWindowProperties dock = plain("dock");
    dock.type = "_NET_WM_WINDOW_TYPE_DOCK";
    TestWindowProperties dialog = plain("dialog");
    dialog.type = "_NET_WM_WINDOW_TYPE_DIALOG";
    TestWindowProperties half = plain("half");
    half.opacity = 0x7FFFFFFF;
    TestWindowProperties clear = plain("clear");
    clear.opacity = 0;
    const xcb_window_t d = windows->create(dock);
    const xcb_window_t g = windows->create(dialog);
    const xcb_window_t h = windows->create(half);
    const xcb_window_t c = windows->create(clear);

    EXPECT_NE(entry(d)->value(WindowListKey::layer).toInt(), 0);
    EXPECT_EQ(entry(g)->value(WindowListKey::layer).toInt(), 0);
    EXPECT_NEAR(entry(h)->value(WindowListKey::alpha).toDouble(), 0.5, 0.001);
    EXPECT_EQ(entry(c)->value(WindowListKey::alpha).toDouble(), 0.0);
    EXPECT_EQ(entry(g)->value(WindowListKey::alpha).toDouble(), 1.0);
}

// Malformed names and properties are HostileWindows' part; these are the plain fallbacks.
TEST_F(WindowList, MissingPropertiesGiveEmptierEntries) {
    TestWindowProperties noPid = plain("no pid");
    noPid.pid.reset();
    TestWindowProperties instanceOnly = plain("instance only");
    instanceOnly.wmClass = QByteArray("onlyinstance\0\0", 14);
    TestWindowProperties legacy = plain("");
    legacy.title.reset();
    legacy.legacyTitle = QByteArray("caf\xe9");
    const xcb_window_t p = windows->create(noPid);
    const xcb_window_t i = windows->create(instanceOnly);
    const xcb_window_t l = windows->create(legacy);

    EXPECT_FALSE(entry(p)->contains(WindowListKey::ownerPID));
    EXPECT_EQ(entry(i)->value(WindowListKey::ownerName).toString(), QStringLiteral("onlyinstance"));
    EXPECT_EQ(entry(l)->value(WindowListKey::name).toString(), QStringLiteral("café"));
    EXPECT_EQ(listed({p, i, l}).size(), 3u);
}
