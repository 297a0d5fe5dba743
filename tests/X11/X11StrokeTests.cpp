// Whole strokes on the real X11 platform: right Super + a bound key typed through XTEST, the
// monitor's own tap deciding, the stroke run by the X11 workspace and window manager, and the
// result checked on the display, in the result text and in the usage counters.

#include "StrokeFixture.h"

TEST_F(Strokes, RunningAppsAreShownOnTheirDesktopRestoredAndActiveAndQuickStrokesRunInOrder) {
    bind("1-q", 'A');
    bind("2-s", 'B');
    const xcb_window_t a = run('A');
    const xcb_window_t b = run('B');
    ASSERT_NE(a, XCB_NONE);
    ASSERT_NE(b, XCB_NONE);
    windows->watch(a);
    // Minimised while its desktop is shown: openbox here did not act on an iconify request
    // for a window already sent to a hidden desktop.
    ASSERT_TRUE(windows->minimise(a));
    ASSERT_TRUE(windows->moveToDesktop(a, 2));

    stroke({XKey::q});

    EXPECT_EQ(results(1), QStringList{"Switched to Stroke A"});
    EXPECT_TRUE(windows->waitUntil([&] { return windows->currentDesktop() == 2u; }))
        << "desktop not made current";
    EXPECT_TRUE(windows->waitUntil([&] { return !windows->hasState(a, "_NET_WM_STATE_HIDDEN"); }))
        << "window still minimised";
    EXPECT_TRUE(windows->waitUntil([&] { return windows->activeWindow() == a; })) << "window not active";

    // All typed under one hold of right Super, before the first has run.
    stroke({XKey::s, XKey::q, XKey::s});

    const QStringList expected{"Switched to Stroke A", "Switched to Stroke B", "Switched to Stroke A",
                               "Switched to Stroke B"};
    EXPECT_EQ(results(4), expected);
    EXPECT_TRUE(windows->waitUntil([&] { return windows->activeWindow() == b; }))
        << "the last stroke's window is not the active one";
    EXPECT_EQ(windows->currentDesktop(), 0u);
    EXPECT_EQ(countedJumps() - jumpsBefore, 4);
}

TEST_F(Strokes, BoundAppNotRunningIsLaunchedFromItsEntryAndOneWhoseFileIsGoneIsReportedMissing) {
    bind("1-w", 'B');
    bind("2-a", 'A');
    ASSERT_TRUE(QFile::remove(userFolder + QLatin1Char('/') + idOf('A')));

    stroke({XKey::w});
    stroke({XKey::a});

    EXPECT_EQ(results(2), (QStringList{"Launched", "Couldn't launch Stroke A (path missing)"}));
    std::optional<RunningApplication> started;
    EXPECT_TRUE(windows->waitUntil(
        [&] {
            for (const RunningApplication& application : workspace->runningApplications())
                if (application.bundleIdentifier == idOf('B')) started = application;
            return started.has_value();
        },
        20000))
        << "no window of the launched entry";
    if (started) launched.insert(started->processIdentifier); // ended at tear-down
    EXPECT_EQ(countedJumps() - jumpsBefore, 1);
}
