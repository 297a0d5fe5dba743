// End to end on a headless sway taken as any wlroots compositor: Kestavon sees it only through
// its toplevel list (sway's own IPC is the test's, to place windows on workspaces).
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/Wayland/SwayIpc.h"
#include "Platform/Wayland/SwayTree.h"
#include "Platform/Wayland/WlrPlatform.h"
#include "Platform/Wayland/WlrToplevels.h"
#include "Platform/WindowServerPort.h"
#include "Platform/WorkspacePort.h"
#include "SwaySession.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <atomic>

namespace {

QString entry(const QString& name) {
    const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".desktop");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("[Desktop Entry]\nType=Application\nName=" + name.toUtf8() + "\nExec=" KESTAVON_SWAY_WINDOW " " +
               name.toUtf8() + " " + SwaySession::shared().keysFile.toUtf8() + "\n");
    return path;
}

std::optional<RunningApplication> launch(const QString& name) {
    std::atomic<bool> done{false};
    std::optional<RunningApplication> opened;
    Platform::current().workspace().openApplication(
        entry(name), {}, [&](std::optional<RunningApplication> application, std::optional<QString> error) {
            EXPECT_FALSE(error) << error->toStdString();
            opened = std::move(application);
            done = true;
        });
    TestSupport::processEventsUntil([&] { return done.load(); }, 10000);
    return opened;
}

QString frontmostEntry() {
    const auto front = Platform::current().workspace().frontmostApplication();
    return front ? front->bundleIdentifier.value_or(QString()) : QString();
}

TEST(Wlr, WindowsListedActivatedAndJumpedTo) {
    if (!SwaySession::shared().skipReason.isEmpty()) GTEST_SKIP() << SwaySession::shared().skipReason.toStdString();
    auto opened = SwayIpc::open();
    ASSERT_TRUE(opened);
    SwayIpc& sway = *opened;
    ASSERT_TRUE(WlrToplevels::isOffered());
    QString whyNot;
    const auto platform = WlrPlatform::create(&whyNot);
    ASSERT_TRUE(platform) << whyNot.toStdString();
    Platform::install(platform.get());

    ASSERT_TRUE(sway.run(QStringLiteral("workspace 1")));
    const auto a = launch(QStringLiteral("kestavon-wlr-a"));
    ASSERT_TRUE(a);
    ASSERT_TRUE(sway.run(QStringLiteral("workspace 2")));
    const auto b = launch(QStringLiteral("kestavon-wlr-b"));
    ASSERT_TRUE(b);
    EXPECT_NE(a->processIdentifier, b->processIdentifier);

    // Listed with app_id and title, on the one output; matched to their entries by app_id.
    const auto windows = Platform::current().windowServer().windows();
    ASSERT_TRUE(windows);
    const auto listed = std::find_if(windows->begin(), windows->end(),
                                     [&](const WindowInfo& w) { return w.pid == a->processIdentifier; });
    ASSERT_NE(listed, windows->end());
    EXPECT_EQ(listed->ownerName, QStringLiteral("kestavon-wlr-a"));
    EXPECT_EQ(listed->title, QStringLiteral("kestavon-wlr-a"));
    ASSERT_EQ(Platform::current().windowServer().displays().size(), 1u);
    const auto running = Platform::current().workspace().runningApplication(a->processIdentifier);
    ASSERT_TRUE(running);
    EXPECT_EQ(running->bundleIdentifier, QStringLiteral("kestavon-wlr-a.desktop"));
    TestSupport::processEventsUntil([] { return frontmostEntry() == QStringLiteral("kestavon-wlr-b.desktop"); },
                                    5000);
    EXPECT_EQ(frontmostEntry(), QStringLiteral("kestavon-wlr-b.desktop"));

    // Activation brings the window of another workspace forward, its workspace with it.
    ASSERT_TRUE(Platform::current().workspace().activate(a->processIdentifier));
    TestSupport::processEventsUntil([] { return frontmostEntry() == QStringLiteral("kestavon-wlr-a.desktop"); },
                                    5000);
    EXPECT_EQ(frontmostEntry(), QStringLiteral("kestavon-wlr-a.desktop"));
    const auto tree = SwayTree::parse(*sway.tree());
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->outputs.front().currentWorkspace, QStringLiteral("1"));

    // No tap: the window says to bind the keys to kestavon --jump, and a jump runs the stroke.
    KeyBindingStore store;
    ASSERT_TRUE(store.bind(QStringLiteral("1-w"), {QStringLiteral("kestavon-wlr-b.desktop"),
                                                   entry(QStringLiteral("kestavon-wlr-b")), QStringLiteral("B")}));
    HotkeyMonitor monitor;
    QStringList outcomes;
    QObject::connect(&monitor, &HotkeyMonitor::outcomeReported, [&] { outcomes << monitor.lastOutcome().value(); });
    monitor.start(false);
    EXPECT_EQ(monitor.permissionIssue(), PermissionIssue::jumpBindingNeeded);
    ASSERT_TRUE(monitor.jump(QStringLiteral("1-w")));
    TestSupport::processEventsUntil([] { return frontmostEntry() == QStringLiteral("kestavon-wlr-b.desktop"); },
                                    10000);
    EXPECT_EQ(frontmostEntry(), QStringLiteral("kestavon-wlr-b.desktop"));
    // The stroke reports after the window comes forward: the platform stays until it is done.
    // The compositor changed workspace as it activated: nothing fell short.
    monitor.queue().waitUntilIdle();
    TestSupport::processEventsUntil([&] { return outcomes.size() == 2; });
    EXPECT_EQ(outcomes.value(1), QStringLiteral("Switched to B"));
    Platform::install(nullptr);
}

TEST(Wlr, StateArrayReadsKnownStatesOnly) {
    struct Case {
        std::vector<std::uint32_t> states;
        WlrToplevelState read;
    };
    for (const Case& c : std::vector<Case>{
             {{}, {}},
             {{2}, {true, false, false, false}},
             {{1, 0}, {false, true, true, false}},
             {{3, 2, 2}, {true, false, false, true}},
             {{7, 99}, {}},
         })
        EXPECT_EQ(WlrToplevelState::from(c.states.data(), c.states.size()), c.read) << c.states.size();
}

} // namespace
