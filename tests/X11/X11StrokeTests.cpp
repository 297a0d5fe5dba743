// Whole strokes on the real X11 platform: right Super + a bound key typed through XTEST, the
// monitor's own tap deciding, the stroke run by the X11 workspace and window manager, and the
// result checked on the display, in the result text and in the usage counters.

// The monitor's header uses Qt's signal keywords; this file includes no GIO header.
#undef QT_NO_KEYWORDS

#include "StrokeFixture.h"

namespace {

const QString idA = QStringLiteral("kestavon-stroke-a.desktop");
const QString idB = QStringLiteral("kestavon-stroke-b.desktop");
const QString classA = QStringLiteral("KestavonStrokeA");
const QString classB = QStringLiteral("KestavonStrokeB");

} // namespace

TEST_F(Strokes, RunningAppOnAnotherDesktopAndMinimisedIsShownRestoredAndActive) {
    bindEntry(QStringLiteral("1-q"), idA, QStringLiteral("Stroke A"), classA);
    const xcb_window_t window = run(classA);
    ASSERT_NE(window, XCB_NONE);
    windows->watch(window);
    // Minimised while its desktop is shown: openbox here did not act on an iconify request
    // for a window already sent to a hidden desktop.
    runTool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), QString::number(window)});
    ASSERT_TRUE(windows->waitUntil([&] { return windows->hasState(window, "_NET_WM_STATE_HIDDEN"); }));
    runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-r"), hexId(window), QStringLiteral("-t"),
                                       QStringLiteral("2")});
    ASSERT_TRUE(windows->waitUntil([&] { return windows->cardinal(window, "_NET_WM_DESKTOP") == 2u; }));
    ASSERT_TRUE(windows->hasState(window, "_NET_WM_STATE_HIDDEN"));
    ASSERT_EQ(currentDesktop(), 0u);
    const std::int64_t jumpsOfABefore = countedJumps(idA);

    stroke(XKey::q);

    EXPECT_EQ(results(1), QStringList{QStringLiteral("Switched to Stroke A")});
    EXPECT_TRUE(windows->waitUntil([&] { return currentDesktop() == 2u; })) << "desktop not made current";
    EXPECT_TRUE(windows->waitUntil([&] { return !windows->hasState(window, "_NET_WM_STATE_HIDDEN"); }))
        << "window still minimised";
    EXPECT_TRUE(waitUntilActive(window)) << "window not active";
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
    EXPECT_EQ(countedJumps(idA) - jumpsOfABefore, 1);
}

TEST_F(Strokes, BoundAppNotRunningIsLaunchedFromItsEntry) {
    bindEntry(QStringLiteral("1-w"), idB, QStringLiteral("Stroke B"), classB);
    ASSERT_FALSE(running(idB));

    stroke(XKey::w);

    EXPECT_EQ(results(1), QStringList{QStringLiteral("Launched")});
    std::optional<RunningApplication> started;
    EXPECT_TRUE(windows->waitUntil([&] { return (started = running(idB)).has_value(); }, 20000))
        << "no window of the launched entry";
    if (started) launched.insert(started->processIdentifier); // ended at tear-down
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}

TEST_F(Strokes, EntryWhoseFileIsGoneAndNotRunningIsReportedMissing) {
    bindEntry(QStringLiteral("2-a"), idB, QStringLiteral("Stroke Gone"), classB);
    ASSERT_TRUE(QFile::remove(folders->user + QLatin1Char('/') + idB));

    stroke(XKey::a);

    EXPECT_EQ(results(1), QStringList{QStringLiteral("Couldn't launch Stroke Gone (path missing)")});
    EXPECT_EQ(countedJumps() - jumpsBefore, 0);
}

TEST_F(Strokes, QuickStrokesRunInOrder) {
    bindEntry(QStringLiteral("1-q"), idA, QStringLiteral("Stroke A"), classA);
    bindEntry(QStringLiteral("2-s"), idB, QStringLiteral("Stroke B"), classB);
    const xcb_window_t a = run(classA);
    const xcb_window_t b = run(classB);
    ASSERT_NE(a, XCB_NONE);
    ASSERT_NE(b, XCB_NONE);
    // Neither is active to begin with: the last one mapped usually is.
    runTool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-a"), hexId(a)});
    ASSERT_TRUE(waitUntilActive(a));
    const std::int64_t jumpsOfBBefore = countedJumps(idB);

    // Both strokes typed under one hold of right Super, before the first has run.
    injector->press(XKey::superRight);
    injector->type(XKey::s);
    injector->type(XKey::q);
    injector->type(XKey::s);
    injector->release(XKey::superRight);
    injector->sync();

    EXPECT_EQ(results(3), (QStringList{QStringLiteral("Switched to Stroke B"), QStringLiteral("Switched to Stroke A"),
                                       QStringLiteral("Switched to Stroke B")}));
    EXPECT_TRUE(waitUntilActive(b)) << "the last stroke's window is not the active one";
    EXPECT_EQ(countedJumps() - jumpsBefore, 3);
    EXPECT_EQ(countedJumps(idB) - jumpsOfBBefore, 2);
}
