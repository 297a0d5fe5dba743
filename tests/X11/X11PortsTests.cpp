// The window server, the Space switcher and window operations against openbox: windows
// front to back and as each one's properties describe it, the monitors, the desktops as
// Spaces, switching desktops, restoring and the focused frame.
#include "Platform/X11/X11SpaceSwitcher.h"
#include "Platform/X11/X11WindowOperations.h"
#include "Platform/X11/X11WindowServer.h"
#include "X11Fixture.h"

#include <QRegularExpression>
#include <QUuid>

#include <cmath>
#include <ostream>

#include <unistd.h>

namespace {

enum class Placement { shown, onDesktop2, minimised, onEveryDesktop };

/// What the window server says of one of the test's windows, and the Space of it.
struct Described {
    bool ordinary = true;
    double opacity = 1.0;
    std::optional<QString> owner = QStringLiteral("KestavonTest");
    std::optional<QString> title = QStringLiteral("tëst title");
    bool onscreen = true;
    bool minimised = false;
    std::uint64_t space = 1;
    bool operator==(const Described&) const = default;
};

void PrintTo(const Described& d, std::ostream* out) {
    *out << "ordinary " << d.ordinary << ", opacity " << d.opacity << ", owner "
         << d.owner.value_or(QStringLiteral("-")).toStdString() << ", title "
         << d.title.value_or(QStringLiteral("-")).toStdString() << ", onscreen " << d.onscreen
         << ", minimised " << d.minimised << ", space " << d.space;
}

struct WindowCase {
    const char* what;
    void (*change)(TestWindowProperties&);
    Placement placement;
    void (*expect)(Described&);
};

TestWindowProperties plain() {
    TestWindowProperties props;
    props.pid = std::int32_t(getpid());
    props.wmClass = QByteArray("kestavon\0KestavonTest\0", 22);
    props.title = "tëst title";
    return props;
}

class Ports : public X11Fixture {
protected:
    void SetUp() override {
        X11Fixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        server = std::make_unique<X11WindowServer>(*connection);
        operations = std::make_unique<X11WindowOperations>(*connection);
        showDesktop(0);
    }
    void TearDown() override {
        if (connection) showDesktop(0);
        X11Fixture::TearDown();
    }

    void showDesktop(std::uint32_t desktop) {
        runTool(QStringLiteral("wmctrl"), {QStringLiteral("-s"), QString::number(desktop)});
        ASSERT_TRUE(windows->waitUntil([&] { return currentDesktop() == desktop; }));
    }
    std::optional<std::uint32_t> currentDesktop() {
        return windows->cardinal(connection->root(), "_NET_CURRENT_DESKTOP");
    }
    void place(xcb_window_t w, Placement placement) {
        const QString id = QString::number(w);
        if (placement == Placement::onDesktop2) {
            runTool(QStringLiteral("wmctrl"), {"-i", "-r", id, "-t", "2"});
            ASSERT_TRUE(windows->waitUntil([&] { return windows->cardinal(w, "_NET_WM_DESKTOP") == 2u; }));
        } else if (placement == Placement::minimised) {
            runTool(QStringLiteral("xdotool"), {"windowminimize", id});
            // openbox marks the window hidden a moment before it unmaps it.
            ASSERT_TRUE(windows->waitUntil(
                [&] { return windows->hasState(w, "_NET_WM_STATE_HIDDEN") && !windows->isViewable(w); }));
        } else if (placement == Placement::onEveryDesktop) {
            runTool(QStringLiteral("xdotool"), {"set_desktop_for_window", id, "-1"});
            ASSERT_TRUE(
                windows->waitUntil([&] { return windows->cardinal(w, "_NET_WM_DESKTOP") == 0xFFFFFFFFu; }));
        }
    }
    void activate(xcb_window_t w) {
        runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-a"), QString::number(w)});
        ASSERT_TRUE(windows->waitUntil(
            [&] { return windows->cardinal(connection->root(), "_NET_ACTIVE_WINDOW") == w; }));
    }
    /// The listed windows among `ours`, in the list's order.
    std::vector<WindowInfo> listed(const std::vector<xcb_window_t>& ours) {
        std::vector<WindowInfo> found;
        const auto all = server->windows();
        EXPECT_TRUE(all);
        for (const WindowInfo& w : all.value_or(std::vector<WindowInfo>{}))
            if (std::find(ours.begin(), ours.end(), w.number) != ours.end()) found.push_back(w);
        return found;
    }
    WindowInfo info(xcb_window_t w) {
        const auto found = listed({w});
        EXPECT_EQ(found.size(), 1u) << "window " << w << " not listed once";
        return found.empty() ? WindowInfo{} : found.front();
    }

    std::unique_ptr<X11WindowServer> server;
    std::unique_ptr<X11WindowOperations> operations;
    X11SpaceSwitcher switcher;
};

/// Restores the screen's single monitor however the test ends.
struct ExtraMonitors {
    ~ExtraMonitors() {
        runTool(QStringLiteral("xrandr"), {QStringLiteral("--delmonitor"), QStringLiteral("left")});
        runTool(QStringLiteral("xrandr"), {QStringLiteral("--delmonitor"), QStringLiteral("right")});
    }
};

} // namespace

TEST_F(Ports, WindowsRunFrontToBackAndEachIsDescribedByItsProperties) {
    using P = TestWindowProperties;
    using D = Described;
    const WindowCase cases[] = {
        {"plain", [](P&) {}, Placement::shown, [](D&) {}},
        {"on another desktop", [](P&) {}, Placement::onDesktop2,
         [](D& d) { d.onscreen = false, d.space = 3; }},
        {"minimised", [](P&) {}, Placement::minimised, [](D& d) { d.onscreen = false, d.minimised = true; }},
        {"on every desktop", [](P&) {}, Placement::onEveryDesktop, [](D&) {}},
        {"a dock", [](P& p) { p.type = "_NET_WM_WINDOW_TYPE_DOCK"; }, Placement::shown,
         [](D& d) { d.ordinary = false; }},
        {"a dialog", [](P& p) { p.type = "_NET_WM_WINDOW_TYPE_DIALOG"; }, Placement::shown, [](D&) {}},
        {"half transparent", [](P& p) { p.opacity = 0x7FFFFFFF; }, Placement::shown,
         [](D& d) { d.opacity = 0.5; }},
        {"with an instance only", [](P& p) { p.wmClass = QByteArray("only\0\0", 6); }, Placement::shown,
         [](D& d) { d.owner = QStringLiteral("only"); }},
        {"titled in Latin-1 only", [](P& p) { p.title.reset(), p.legacyTitle = QByteArray("caf\xe9"); },
         Placement::shown, [](D& d) { d.title = QStringLiteral("café"); }},
    };
    std::vector<xcb_window_t> made;
    for (const WindowCase& c : cases) {
        P props = plain();
        c.change(props);
        made.push_back(windows->create(props));
        place(made.back(), c.placement);
    }
    const auto spaces = server->spacesOfWindows(made);
    ASSERT_TRUE(spaces);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        D expected;
        cases[i].expect(expected);
        const WindowInfo w = info(made[i]);
        const D described{w.layer == 0,
                          std::round(w.opacity * 100) / 100,
                          w.ownerName,
                          w.title,
                          w.isOnscreen,
                          w.isMinimized,
                          spaces->count(made[i]) ? spaces->at(made[i]) : 0};
        EXPECT_EQ(described, expected) << cases[i].what;
        EXPECT_EQ(w.pid, getpid()) << cases[i].what;
    }

    // The manager's stacking, top first, follows activation.
    activate(made[5]);
    activate(made[0]);
    const auto order = listed({made[0], made[5], made[6]});
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ((std::vector{order[0].number, order[1].number, order[2].number}),
              (std::vector{made[0], made[5], made[6]}));
    // A window on every desktop is in the current one, wherever that is; a window that is
    // not there has no Space.
    showDesktop(1);
    EXPECT_EQ(server->spacesOfWindows({made[3], 1}),
              (std::unordered_map<std::uint32_t, std::uint64_t>{{made[3], 2}}));
}

TEST_F(Ports, AFrameIsTheClientAreaAndTheFocusedOneIsTheActiveWindowElseTheFrontMostShown) {
    TestWindowProperties a = plain(), b = plain();
    a.pid = 7001;
    a.position = QPoint(30, 40);
    b.pid = 7002;
    b.size = QSize(300, 200);
    const xcb_window_t aWindow = windows->create(a);
    const xcb_window_t b1 = windows->create(b);
    const xcb_window_t b2 = windows->create(b);

    // As xwininfo reads the client area from the server->
    const QString xwininfo = runTool(QStringLiteral("xwininfo"), {"-id", QString::number(aWindow)});
    const auto value = [&](const char* label) {
        return QRegularExpression(QLatin1String(label) + QStringLiteral(":\\s+(-?\\d+)"))
            .match(xwininfo)
            .captured(1)
            .toInt();
    };
    const QRectF aFrame(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                        value("Height"));
    EXPECT_EQ(info(aWindow).bounds, aFrame) << xwininfo.toStdString();

    activate(b1);
    activate(aWindow);
    EXPECT_EQ(operations->focusedWindowFrame(7001), aFrame);
    EXPECT_EQ(operations->focusedWindowFrame(7002), info(b1).bounds);
    place(b1, Placement::minimised);
    EXPECT_EQ(operations->focusedWindowFrame(7002), info(b2).bounds);
    EXPECT_EQ(operations->focusedWindowFrame(7999), std::nullopt);
}

TEST_F(Ports, RestoringShowsAMinimisedWindowOfThatProcessAndLeavesTheRestAlone) {
    const std::int32_t self = std::int32_t(getpid());
    const xcb_window_t shown = windows->create(plain());
    const xcb_window_t minimised = windows->create(plain());
    const xcb_window_t gone = windows->create(plain());
    place(minimised, Placement::minimised);
    windows->destroy(gone);

    const struct {
        const char* what;
        WindowTarget target;
        RestoreOutcome outcome;
    } cases[] = {
        {"shown", {shown, self, {}}, RestoreOutcome::unchanged},
        {"another process's", {minimised, self + 1, {}}, RestoreOutcome::unchanged},
        {"gone", {gone, self, {}}, RestoreOutcome::unchanged},
        {"minimised", {minimised, self, {}}, RestoreOutcome::restored},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(operations->restoreIfMinimized(c.target), c.outcome);
    }
    // Answered only once the manager has shown it.
    EXPECT_FALSE(windows->hasState(minimised, "_NET_WM_STATE_HIDDEN"));
    EXPECT_TRUE(windows->waitUntil([&] { return windows->isViewable(minimised); }));
    EXPECT_TRUE(operations->isTrusted());
}

TEST_F(Ports, SwitchingMakesADesktopCurrentAndSaysSoOnlyOnceTheServerDoes) {
    const QString main = server->displays().front().identifier;
    const struct {
        std::uint64_t space;
        bool made;
        std::uint32_t desktop;
    } cases[] = {{3, true, 2}, {3, true, 2}, {0, false, 2}, {5, false, 2}, {4, true, 3}, {1, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.space);
        EXPECT_EQ(switcher.makeCurrent(c.space, main), c.made);
        // No wait: a true answer means the server already says so.
        EXPECT_EQ(currentDesktop(), c.desktop);
        EXPECT_EQ(server->spaces()->front().currentSpace, c.desktop + 1u);
    }
}

TEST_F(Ports, TheScreenIsOneMainDisplayHoldingEveryDesktop) {
    const auto displays = server->displays();
    ASSERT_EQ(displays.size(), 1u);
    EXPECT_NE(displays[0].id, 0u);
    EXPECT_EQ(displays[0].bounds, QRectF(0, 0, 1280, 800));
    EXPECT_TRUE(displays[0].isMain);
    EXPECT_FALSE(QUuid::fromString(displays[0].identifier).isNull());
    // Stable: another connection names the display the same way.
    const auto other = X11Connection::open();
    EXPECT_EQ(X11WindowServer(*other).displays(), displays);

    showDesktop(2);
    const DisplaySpaces expected{
        displays[0].identifier,
        3,
        {{1, SpaceKind::desktop}, {2, SpaceKind::desktop}, {3, SpaceKind::desktop}, {4, SpaceKind::desktop}}};
    EXPECT_EQ(server->spaces(), std::vector<DisplaySpaces>{expected});
}

TEST_F(Ports, ThePrimaryMonitorIsMainAndHoldsTheDesktopsAndEachMonitorKeepsItsIdentity) {
    ExtraMonitors restore;
    runTool(QStringLiteral("xrandr"), {"--setmonitor", "left", "640/169x800/212+0+0", "none"});
    runTool(QStringLiteral("xrandr"), {"--setmonitor", "*right", "640/169x800/212+640+0", "none"});

    const auto named = [&](const QString& name) {
        for (const DisplayDescription& d : server->displays())
            if (d.name == name) return std::optional(d);
        return std::optional<DisplayDescription>();
    };
    ASSERT_EQ(server->displays().size(), 3u);
    const auto left = named(QStringLiteral("left")), right = named(QStringLiteral("right"));
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->bounds, QRectF(0, 0, 640, 800));
    EXPECT_EQ(right->bounds, QRectF(640, 0, 640, 800));
    EXPECT_TRUE(right->isMain);
    EXPECT_FALSE(left->isMain);
    EXPECT_NE(left->identifier, right->identifier);
    EXPECT_EQ(server->spaces()->front().displayIdentifier, right->identifier);

    // Removing a monitor leaves the others' ids and identifiers as they were.
    runTool(QStringLiteral("xrandr"), {QStringLiteral("--delmonitor"), QStringLiteral("right")});
    EXPECT_EQ(server->displays().size(), 2u);
    const auto leftAgain = named(QStringLiteral("left"));
    ASSERT_TRUE(leftAgain);
    EXPECT_EQ(leftAgain->id, left->id);
    EXPECT_EQ(leftAgain->identifier, left->identifier);
    const auto displays = server->displays();
    EXPECT_EQ(std::count_if(displays.begin(), displays.end(), [](const auto& d) { return d.isMain; }), 1);
}
