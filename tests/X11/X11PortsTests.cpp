// The window server, the Space switcher and window operations against openbox: windows
// front to back and as each one's properties describe it, the screen, the desktops as
// Spaces, switching desktops, restoring and the focused frame.
#include "Platform/X11/X11SpaceSwitcher.h"
#include "Platform/X11/X11WindowOperations.h"
#include "Platform/X11/X11WindowServer.h"
#include "X11Fixture.h"

#include <QRegularExpression>
#include <QUuid>

#include <cmath>

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
        ASSERT_TRUE(windows->showDesktop(0));
    }

    bool place(xcb_window_t w, Placement placement) {
        switch (placement) {
        case Placement::onDesktop2:
            return windows->moveToDesktop(w, 2);
        case Placement::minimised:
            return windows->minimise(w);
        case Placement::onEveryDesktop:
            return windows->moveToDesktop(w, 0xFFFFFFFF);
        default:
            return true;
        }
    }
    std::unique_ptr<X11WindowServer> server;
    std::unique_ptr<X11WindowOperations> operations;
    X11SpaceSwitcher switcher;
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
        ASSERT_TRUE(place(made.back(), c.placement));
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
    ASSERT_TRUE(windows->activate(made[5]));
    ASSERT_TRUE(windows->activate(made[0]));
    const auto order = listed({made[0], made[5], made[6]});
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ((std::vector{order[0].number, order[1].number, order[2].number}),
              (std::vector{made[0], made[5], made[6]}));
    // A window made since the last look is listed, in its place, and one gone since is not.
    const xcb_window_t later = windows->create(plain());
    ASSERT_TRUE(windows->activate(later) && windows->destroy(made[5]));
    const auto now = listed({made[0], made[5], made[6], later});
    ASSERT_EQ(now.size(), 3u);
    EXPECT_EQ((std::vector{now[0].number, now[1].number, now[2].number}),
              (std::vector{later, made[0], made[6]}));
    // A window on every desktop is in the current one, wherever that is; a window that is
    // not there has no Space.
    ASSERT_TRUE(windows->showDesktop(1));
    EXPECT_EQ(server->spacesOfWindows({made[3], 1}),
              (std::unordered_map<std::uint32_t, std::uint64_t>{{made[3], 2}}));
}

TEST_F(Ports, AFrameIsTheClientAreaAndTheFocusedOneIsTheActiveWindowElseTheFrontMostShown) {
    // Two processes of ours (the window server lists no other windows): an xterm, and this one.
    pid_t a = spawnQuietly({"xterm", "-geometry", "+30+40"});
    const std::unique_ptr<pid_t, void (*)(pid_t*)> ending(&a, [](pid_t* p) { endChild(*p); });
    const std::int32_t b = ::getpid();
    std::optional<xcb_window_t> found;
    ASSERT_TRUE(windows->waitUntil([&] { return (found = windows->windowOf(a)).has_value(); }, 20000));
    const xcb_window_t aWindow = *found;
    const xcb_window_t b1 = windows->create({.pid = b, .size = QSize(300, 200)});
    const xcb_window_t b2 = windows->create({.pid = b, .size = QSize(300, 200)});

    // As xwininfo reads the client area from the server.
    const QString xwininfo = runTool("xwininfo", {"-id", QString::number(aWindow)});
    const auto value = [&](const QString& label) {
        return QRegularExpression(label + ":\\s+(-?\\d+)").match(xwininfo).captured(1).toInt();
    };
    const QRectF aFrame(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                        value("Height"));
    EXPECT_EQ(info(aWindow).bounds, aFrame) << xwininfo.toStdString();

    ASSERT_TRUE(windows->activate(b1));
    ASSERT_TRUE(windows->activate(aWindow));
    EXPECT_EQ(operations->focusedWindowFrame(a), aFrame);
    EXPECT_EQ(operations->focusedWindowFrame(b), info(b1).bounds);
    ASSERT_TRUE(windows->minimise(b1));
    EXPECT_EQ(operations->focusedWindowFrame(b), info(b2).bounds);
    EXPECT_EQ(operations->focusedWindowFrame(7999), std::nullopt);
}

TEST_F(Ports, RestoringShowsAMinimisedWindowOfThatProcessAndLeavesTheRestAlone) {
    const std::int32_t self = std::int32_t(getpid());
    const xcb_window_t shown = windows->create(plain());
    const xcb_window_t minimised = windows->create(plain());
    const xcb_window_t gone = 0x3fffffff; // no such window
    ASSERT_TRUE(windows->minimise(minimised));

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

TEST_F(Ports, TheScreenIsOneMainDisplayWhoseDesktopsAreMadeCurrentOnlyOnceTheServerSaysSo) {
    const auto displays = server->displays();
    ASSERT_EQ(displays.size(), 1u);
    EXPECT_NE(displays[0].id, 0u);
    EXPECT_EQ(displays[0].bounds, QRectF(0, 0, 1280, 800));
    EXPECT_TRUE(displays[0].isMain);
    EXPECT_FALSE(QUuid::fromString(displays[0].identifier).isNull());
    // Stable: another connection names the display the same way.
    EXPECT_EQ(X11WindowServer(*X11Connection::open()).displays(), displays);

    const struct {
        std::uint64_t space;
        bool made;
        std::uint32_t desktop;
    } cases[] = {{3, true, 2}, {3, true, 2}, {0, false, 2}, {5, false, 2}, {4, true, 3}, {1, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.space);
        EXPECT_EQ(switcher.makeCurrent(c.space, displays[0].identifier), c.made);
        // No wait: a true answer means the server already says so.
        EXPECT_EQ(windows->currentDesktop(), c.desktop);
        const DisplaySpaces expected{displays[0].identifier,
                                     c.desktop + 1u,
                                     {{1, SpaceKind::desktop},
                                      {2, SpaceKind::desktop},
                                      {3, SpaceKind::desktop},
                                      {4, SpaceKind::desktop}}};
        EXPECT_EQ(server->spaces(), std::vector<DisplaySpaces>{expected});
    }
    // A desktop shown by another program since is heard of: its desktop is not taken as current.
    ASSERT_TRUE(windows->showDesktop(2));
    EXPECT_TRUE(switcher.makeCurrent(1, displays[0].identifier));
    EXPECT_EQ(windows->currentDesktop(), 0u);
}
