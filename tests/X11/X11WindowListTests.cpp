// The window list against openbox: order, identity, geometry, visibility and odd clients.
#include "Platform/WindowListPort.h"
#include "Platform/X11/X11WindowList.h"
#include "X11Fixture.h"

#include <QProcess>
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
        ASSERT_TRUE(windows->waitUntil([&] { return windows->stackingList().back() == window; }));
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

int xwininfoValue(const QString& report, const QString& label) {
    const auto match = QRegularExpression(label + QStringLiteral(":\\s+(-?\\d+)")).match(report);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

TEST_F(WindowList, RunsFrontToBackAndFollowsARaise) {
    const xcb_window_t a = windows->create(plain("a"));
    const xcb_window_t b = windows->create(plain("b"));
    const xcb_window_t c = windows->create(plain("c"));

    raise(a);
    EXPECT_EQ(numbers(listed({a, b, c})).front(), a);
    raise(c);
    const auto order = numbers(listed({a, b, c}));
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], c);
    EXPECT_EQ(order[1], a);
    EXPECT_EQ(order[2], b);
}

TEST_F(WindowList, NamesAnXtermAsXToolsDo) {
    QProcess xterm;
    xterm.start(QStringLiteral("xterm"),
                {QStringLiteral("-class"), QStringLiteral("KestavonTestA"), QStringLiteral("-T"),
                 QStringLiteral("tëst title"), QStringLiteral("-geometry"), QStringLiteral("60x10+70+90")});
    ASSERT_TRUE(xterm.waitForStarted(10000));
    const std::int32_t pid = std::int32_t(xterm.processId());
    std::optional<xcb_window_t> window;
    ASSERT_TRUE(windows->waitUntil(
        [&] {
            for (const xcb_window_t w : windows->clientList())
                if (windows->cardinal(w, "_NET_WM_PID") == std::uint32_t(pid) && windows->isViewable(w))
                    window = w;
            return window.has_value();
        },
        15000));

    const auto e = entry(*window);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->value(WindowListKey::ownerPID).toInt(), pid);
    EXPECT_EQ(e->value(WindowListKey::ownerName).toString(), QStringLiteral("KestavonTestA"));
    EXPECT_EQ(e->value(WindowListKey::name).toString(), QStringLiteral("tëst title"));
    EXPECT_EQ(e->value(WindowListKey::layer).toInt(), 0);
    EXPECT_EQ(e->value(WindowListKey::alpha).toDouble(), 1.0);
    EXPECT_TRUE(e->value(WindowListKey::isOnscreen).toBool());

    // wmctrl agrees on the pid and the size; xwininfo gives the client area's true origin
    // (wmctrl's own origin is off by the decoration).
    const QString line = runTool(QStringLiteral("wmctrl"), {QStringLiteral("-lpG")})
                             .split(QLatin1Char('\n'))
                             .filter(QRegularExpression(QStringLiteral("^") + hexId(*window)))
                             .value(0);
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_GE(fields.size(), 7) << line.toStdString();
    EXPECT_EQ(fields[2].toInt(), pid);
    const QRectF frame = boundsOf(*e);
    EXPECT_EQ(frame.width(), fields[5].toInt());
    EXPECT_EQ(frame.height(), fields[6].toInt());
    const QString info =
        runTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(*window)});
    EXPECT_EQ(frame.x(), xwininfoValue(info, QStringLiteral("Absolute upper-left X")));
    EXPECT_EQ(frame.y(), xwininfoValue(info, QStringLiteral("Absolute upper-left Y")));

    xterm.terminate();
    xterm.waitForFinished(10000);
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

TEST_F(WindowList, OddClientsGiveEmptierEntriesNotCrashes) {
    TestWindowProperties noPid = plain("no pid");
    noPid.pid.reset();
    TestWindowProperties noClass = plain("no class");
    noClass.wmClass.reset();
    TestWindowProperties instanceOnly = plain("instance only");
    instanceOnly.wmClass = QByteArray("onlyinstance\0\0", 14);
    const QByteArray broken("bad \xff\xfe\xc3 title", 14);
    TestWindowProperties badUtf8 = plain(broken);
    TestWindowProperties huge = plain(QByteArray(300 * 1024, 'x'));
    TestWindowProperties legacy = plain("");
    legacy.title.reset();
    legacy.legacyTitle = QByteArray("caf\xe9");
    const xcb_window_t p = windows->create(noPid);
    const xcb_window_t k = windows->create(noClass);
    const xcb_window_t i = windows->create(instanceOnly);
    const xcb_window_t u = windows->create(badUtf8);
    const xcb_window_t h = windows->create(huge);
    const xcb_window_t l = windows->create(legacy);

    EXPECT_FALSE(entry(p)->contains(WindowListKey::ownerPID));
    EXPECT_FALSE(entry(k)->contains(WindowListKey::ownerName));
    EXPECT_EQ(entry(i)->value(WindowListKey::ownerName).toString(), QStringLiteral("onlyinstance"));
    const QString title = entry(u)->value(WindowListKey::name).toString();
    EXPECT_TRUE(title.startsWith(QStringLiteral("bad ")));
    EXPECT_TRUE(title.contains(QChar::ReplacementCharacter));
    const QString long_ = entry(h)->value(WindowListKey::name).toString();
    EXPECT_FALSE(long_.isEmpty());
    EXPECT_LE(long_.size(), 64 * 1024);
    EXPECT_EQ(entry(l)->value(WindowListKey::name).toString(), QStringLiteral("café"));

    EXPECT_EQ(listed({p, k, i, u, h, l}).size(), 6u);
}

TEST_F(WindowList, FiftyWindowsAreAllListed) {
    const auto made = windows->createMany(50, [&](int n) {
        TestWindowProperties props = plain(QByteArray("window ") + QByteArray::number(n));
        props.pid = 100000 + n;
        return props;
    });
    ASSERT_EQ(made.size(), 50u);
    const auto entries = listed(made);
    ASSERT_EQ(entries.size(), 50u);
    for (const QVariantMap& e : entries) {
        const auto n = std::find(made.begin(), made.end(), numberOf(e)) - made.begin();
        EXPECT_EQ(e.value(WindowListKey::ownerPID).toInt(), 100000 + n);
        EXPECT_EQ(e.value(WindowListKey::name).toString(), QStringLiteral("window %1").arg(n));
        EXPECT_EQ(boundsOf(e).size(), QSizeF(240, 120));
    }
}
