// End to end on a headless sway: windows, workspaces, the scratchpad, launching, and strokes
// typed on a virtual keyboard with Kestavon's own XKB option.
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/KeyboardTapPort.h"
#include "Platform/SpaceSwitcherPort.h"
#include "Platform/Wayland/SwayIpc.h"
#include "Platform/Wayland/SwayKeySetup.h"
#include "Platform/Wayland/SwayPlatform.h"
#include "Platform/Wayland/SwayTree.h"
#include "Platform/WindowOperationsPort.h"
#include "Platform/WindowServerPort.h"
#include "Platform/WorkspacePort.h"
#include "SwaySession.h"
#include "VirtualKeyboard.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace {

// evdev codes
constexpr std::uint32_t rightSuper = 126, leftSuper = 125, keyQ = 16, keyW = 17;

class Sway : public ::testing::Test {
protected:
    void SetUp() override {
        if (!SwaySession::shared().skipReason.isEmpty())
            GTEST_SKIP() << SwaySession::shared().skipReason.toStdString();
        static const std::unique_ptr<SwayPlatform> platform = [] {
            QString whyNot;
            auto created = SwayPlatform::create(&whyNot);
            EXPECT_TRUE(created) << whyNot.toStdString();
            if (created) Platform::install(created.get());
            return created;
        }();
        ASSERT_TRUE(platform);
        auto opened = SwayIpc::open();
        ASSERT_TRUE(opened);
        ipc.emplace(std::move(*opened));
    }

    SwayTree tree() { return SwayTree::parse(*ipc->tree()).value_or(SwayTree{}); }

    /// Writes the entry of test window `name` (app_id and entry name alike) and returns its path.
    QString entry(const QString& name) {
        const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
        QDir().mkpath(folder);
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".desktop");
        TestSupport::writeAll(path, "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                                        "\nExec=" KESTAVON_SWAY_WINDOW " " + name.toUtf8() + " " +
                                        SwaySession::shared().keysFile.toUtf8() + "\n");
        return path;
    }

    /// Opens the entry's application through the workspace and waits for its window.
    std::optional<RunningApplication> launch(const QString& name) {
        std::atomic<bool> done{false};
        std::optional<RunningApplication> opened;
        Platform::current().workspace().openApplication(
            entry(name), {},
            [&](std::optional<RunningApplication> application, std::optional<QString> error) {
                EXPECT_FALSE(error) << error->toStdString();
                opened = std::move(application);
                done = true;
            });
        TestSupport::processEventsUntil([&] { return done.load(); }, 10000);
        return opened;
    }

    const SwayTree::Window* windowOf(const SwayTree& now, std::int32_t pid) {
        for (const SwayTree::Window& w : now.windows)
            if (w.pid == pid) return &w;
        return nullptr;
    }

    std::optional<SwayIpc> ipc;
};

TEST_F(Sway, LaunchWorkspacesFocusAndScratchpad) {
    ASSERT_TRUE(ipc->run(QStringLiteral("workspace 1")));
    const auto a = launch(QStringLiteral("kestavon-sway-a"));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->bundleIdentifier, QStringLiteral("kestavon-sway-a.desktop"));
    // Launched with sway's start-up token, so its window may take the focus.
    const QByteArray environment =
        TestSupport::readAll(QStringLiteral("/proc/%1/environ").arg(a->processIdentifier));
    EXPECT_TRUE(std::ranges::any_of(environment.split('\0'), [](const QByteArray& v) {
        return v.startsWith("XDG_ACTIVATION_TOKEN=") && v.size() > 21;
    }));
    ASSERT_TRUE(ipc->run(QStringLiteral("workspace 2")));
    const auto b = launch(QStringLiteral("kestavon-sway-b"));
    ASSERT_TRUE(b);

    // Windows and Spaces as the ports tell them.
    const auto windows = Platform::current().windowServer().windows();
    ASSERT_TRUE(windows);
    EXPECT_TRUE(std::ranges::any_of(*windows, [&](const WindowInfo& w) {
        return w.pid == a->processIdentifier && w.ownerName == QStringLiteral("kestavon-sway-a");
    }));
    const auto running = Platform::current().workspace().frontmostApplication();
    ASSERT_TRUE(running);
    EXPECT_EQ(running->bundleIdentifier, QStringLiteral("kestavon-sway-b.desktop"));

    // A workspace made current, then activation, which shows the window's workspace.
    SwayTree now = tree();
    const std::uint64_t first = windowOf(now, a->processIdentifier)->workspaceId;
    // The window list tells each window's workspace with the rest.
    const auto listedA =
        std::ranges::find_if(*windows, [&](const WindowInfo& w) { return w.pid == a->processIdentifier; });
    ASSERT_NE(listedA, windows->end());
    EXPECT_TRUE(listedA->spaceListed);
    EXPECT_EQ(listedA->space, first);
    ASSERT_TRUE(Platform::current().spaceSwitcher().makeCurrent(first, QStringLiteral("HEADLESS-1")));
    EXPECT_EQ(tree().outputs.front().currentWorkspace, QStringLiteral("1"));
    EXPECT_FALSE(Platform::current().spaceSwitcher().makeCurrent(first, QStringLiteral("NO-SUCH-OUTPUT")));
    ASSERT_TRUE(Platform::current().workspace().activate(b->processIdentifier));
    now = tree();
    ASSERT_TRUE(now.focusedWindow());
    EXPECT_EQ(now.focusedWindow()->pid, b->processIdentifier);
    EXPECT_EQ(now.outputs.front().currentWorkspace, QStringLiteral("2"));

    // The scratchpad is the minimised state, and restoring brings the window back.
    const std::uint32_t id = windowOf(now, a->processIdentifier)->id;
    ASSERT_TRUE(ipc->run(QStringLiteral("[con_id=%1] move scratchpad").arg(id)));
    const WindowTarget target{id, a->processIdentifier, {}};
    EXPECT_TRUE(windowOf(tree(), a->processIdentifier)->inScratchpad);
    EXPECT_EQ(Platform::current().windowOperations().restoreIfMinimized(target), RestoreOutcome::restored);
    const SwayTree after = tree();
    const SwayTree::Window* back = windowOf(after, a->processIdentifier);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->inScratchpad);
    EXPECT_TRUE(back->visible);
    EXPECT_EQ(Platform::current().windowOperations().restoreIfMinimized(target), RestoreOutcome::unchanged);
}

TEST_F(Sway, StrokesThroughBindingEvents) {
    KeyBindingStore store;
    const QString pathA = entry(QStringLiteral("kestavon-sway-a"));
    const QString pathC = entry(QStringLiteral("kestavon-sway-c"));
    ASSERT_TRUE(store.bind(QStringLiteral("1-q"),
                           {QStringLiteral("kestavon-sway-a.desktop"), pathA, QStringLiteral("A")}));
    ASSERT_TRUE(store.bind(QStringLiteral("1-w"),
                           {QStringLiteral("kestavon-sway-c.desktop"), pathC, QStringLiteral("C")}));
    KeyboardTapPort& tap = Platform::current().keyboardTap();
    const SetUpResult setUp = tap.setUp(store.boundKeyCodes());
    ASSERT_TRUE(setUp.done) << setUp.message.toStdString();
    SwaySession::openUp(qEnvironmentVariable("HOME"));
    ASSERT_TRUE(ipc->run(QStringLiteral("reload")));

    HotkeyMonitor monitor;
    QStringList outcomes;
    QObject::connect(&monitor, &HotkeyMonitor::lastOutcomeChanged, [&] {
        if (monitor.lastOutcome()) outcomes.append(*monitor.lastOutcome());
    });
    monitor.start(false);
    ASSERT_TRUE(monitor.isStarted()) << "set-up not in effect";

    const auto keyboard = VirtualKeyboard::open(SwayKeySetup::xkbOption);
    if (!keyboard) GTEST_SKIP() << "sway offers no virtual keyboard, or XKB cannot compile Kestavon's option";
    const auto stroke = [&](std::uint32_t modifier, std::initializer_list<std::uint32_t> keys) {
        keyboard->press(modifier);
        for (const std::uint32_t key : keys) {
            keyboard->press(key);
            keyboard->release(key);
        }
        keyboard->release(modifier);
        keyboard->sync();
    };

    // Two quick strokes: C launched, then A brought forward, in that order.
    stroke(rightSuper, {keyW, keyQ});
    const auto focusedEntry = [&] {
        const auto front = Platform::current().workspace().frontmostApplication();
        return front ? front->bundleIdentifier.value_or(QString()) : QString();
    };
    TestSupport::processEventsUntil([&] { return outcomes.size() >= 2; }, 15000);
    ASSERT_EQ(outcomes.size(), 2) << outcomes.join(QLatin1Char('|')).toStdString();
    TestSupport::processEventsUntil(
        [&] { return focusedEntry() == QStringLiteral("kestavon-sway-a.desktop"); }, 5000);
    EXPECT_EQ(focusedEntry(), QStringLiteral("kestavon-sway-a.desktop"));

    // Unbinding W gives right Super + W back to the focused window; left Super + Q is not
    // Kestavon's either.
    store.unbind(QStringLiteral("1-w"));
    tap.keysBound(store.boundKeyCodes());
    QFile::remove(SwaySession::shared().keysFile);
    stroke(rightSuper, {keyW});
    stroke(leftSuper, {keyQ});
    // The Super keys themselves reach the window too; the keys typed with them are what counts.
    const auto typed = [] {
        QByteArrayList lines = TestSupport::readAll(SwaySession::shared().keysFile).split('\n');
        lines.removeIf(
            [](const QByteArray& line) { return line.isEmpty() || line == "125" || line == "126"; });
        return lines.join(' ');
    };
    TestSupport::processEventsUntil([&] { return typed().endsWith("16"); }, 5000);
    EXPECT_EQ(typed(), QByteArray("17 16"));

    // A bindings file that cannot be read is no binding: nothing happens, nothing breaks.
    TestSupport::writeAll(KeyBindingStore::defaultFileURL(), "{not json");
    stroke(rightSuper, {keyQ});
    TestSupport::processEventsUntil([] { return false; }, 300);
    EXPECT_EQ(outcomes.size(), 2);
    EXPECT_TRUE(monitor.isStarted());
}

} // namespace
