#include "../Keyboard/BindingsTestSupport.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/Fake/FakeEventTap.h"
#include "Support/DataFolder.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

using Decision = HotkeyMonitor::Decision;
constexpr std::uint64_t command = EventFlag::command;

struct Stroke {
    QString keyID;
    AppEntry entry;
    bool onQueue = false;
    std::thread::id thread;
};

const AppEntry terminal = BindingsTestSupport::app("org.gnome.Terminal", "Terminal");
const AppEntry files = BindingsTestSupport::app("org.gnome.Nautilus", "Files");

} // namespace

class HotkeyMonitorTest : public testing::Test {
protected:
    HotkeyMonitorTest() {
        monitor.setStrokeExecution([this](const QString& keyID, const AppEntry& entry) {
            if (keyID == QStringLiteral("1-q") && held.valid()) held.wait_for(std::chrono::seconds(10));
            std::lock_guard lock(mutex);
            strokes.push_back({keyID, entry, monitor.queue().isCurrent(), std::this_thread::get_id()});
        });
    }
    void bind(const KeyBindingStore::Bindings& bindings) {
        TestSupport::writeAll(bindingsPath, KeyBindingStore::encode(bindings));
    }
    Decision keyDown(std::int64_t code, std::uint64_t flags) { return monitor.decide(EventType::keyDown, {code, flags}); }
    Decision flagsChanged(std::int64_t code, std::uint64_t flags) {
        return monitor.decide(EventType::flagsChanged, {code, flags});
    }
    QStringList newLogLines() const { return log.messages(); }
    std::vector<Stroke> executed() {
        monitor.queue().waitUntilIdle();
        std::lock_guard lock(mutex);
        return strokes;
    }

    const BindingsTestSupport::LogWatch log; // the shared log, switched on for the whole program
    QString bindingsPath = TestSupport::freshFolder() + QStringLiteral("/keyBindings.json");
    std::mutex mutex;
    std::vector<Stroke> strokes;
    /// While set, a stroke on Q waits for it.
    std::shared_future<void> held;
    HotkeyMonitor monitor{bindingsPath};
};

TEST_F(HotkeyMonitorTest, BoundKeyWithRightCommandIsSwallowedAndHandedToTheQueueOnce) {
    bind({{QStringLiteral("1-q"), terminal}});
    EXPECT_EQ(flagsChanged(54, command), Decision::pass);
    EXPECT_EQ(keyDown(12, command), Decision::swallow);
    EXPECT_EQ(newLogLines(), QStringList({QStringLiteral("flags: keyCode=54 down=true rightCmd=true leftCmd=false"),
                                          QStringLiteral("keyDown keyCode=12 flags=1048576 判据=true rightCmd=true leftCmd=false"),
                                          QStringLiteral("命中 1-q → Terminal，吞掉本次 keyDown")}));
    const auto ran = executed();
    ASSERT_EQ(ran.size(), 1u);
    EXPECT_EQ(ran[0].keyID, QStringLiteral("1-q"));
    EXPECT_EQ(ran[0].entry, terminal);
}

TEST_F(HotkeyMonitorTest, UnboundOrUnbindableKeysPass) {
    bind({{QStringLiteral("2-a"), files}, {QStringLiteral("0-1"), files}});
    flagsChanged(54, command);
    EXPECT_EQ(keyDown(12, command), Decision::pass);
    EXPECT_EQ(newLogLines().last(), QStringLiteral("放行 keyDown: 1-q 未绑定（读盘共 2 条）"));
    EXPECT_EQ(keyDown(49, command), Decision::pass);  // Space is never bindable
    EXPECT_EQ(newLogLines().last(), QStringLiteral("keyDown keyCode=49 flags=1048576 判据=true rightCmd=true leftCmd=false"));
    QFile::remove(bindingsPath);
    EXPECT_EQ(keyDown(0, command), Decision::pass);
    EXPECT_EQ(newLogLines().last(), QStringLiteral("放行 keyDown: 2-a 未绑定（读盘共 0 条）"));
    EXPECT_TRUE(executed().empty());
}

TEST_F(HotkeyMonitorTest, TwoQuickStrokesRunInOrderOnTheExecuteQueueWithoutHoldingTheTap) {
    bind({{QStringLiteral("1-q"), terminal}, {QStringLiteral("1-w"), files}});
    std::promise<void> release;
    held = release.get_future().share();
    flagsChanged(54, command);
    EXPECT_EQ(keyDown(12, command), Decision::swallow);
    EXPECT_EQ(keyDown(13, command), Decision::swallow);  // while the first is still running
    release.set_value();
    const auto ran = executed();
    ASSERT_EQ(ran.size(), 2u);
    EXPECT_EQ(ran[0].keyID, QStringLiteral("1-q"));
    EXPECT_EQ(ran[1].keyID, QStringLiteral("1-w"));
    for (const Stroke& stroke : ran) {
        EXPECT_TRUE(stroke.onQueue);
        EXPECT_NE(stroke.thread, std::this_thread::get_id());
    }
}

TEST_F(HotkeyMonitorTest, OnlyTheRightCommandKeyAloneMakesAStroke) {
    bind({{QStringLiteral("1-q"), terminal}});
    const struct {
        const char* name;
        bool leftHeld, rightHeld;
        std::uint64_t flags;
        Decision expected;
    } cases[] = {
        {"right alone", false, true, command, Decision::swallow},
        {"right with Caps Lock", false, true, command | EventFlag::capsLock, Decision::swallow},
        {"both Command keys", true, true, command, Decision::pass},
        {"right with Shift", false, true, command | EventFlag::shift, Decision::pass},
        {"right with Option", false, true, command | EventFlag::option, Decision::pass},
        {"right with Control", false, true, command | EventFlag::control, Decision::pass},
        {"left only", true, false, command, Decision::pass},
        {"no Command bit", false, true, 0, Decision::pass},
    };
    std::size_t strokesBefore = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.rightHeld) flagsChanged(54, command);
        if (c.leftHeld) flagsChanged(55, command);
        EXPECT_EQ(keyDown(12, c.flags), c.expected);
        const std::size_t strokesNow = executed().size();
        EXPECT_EQ(strokesNow - strokesBefore, c.expected == Decision::swallow ? 1u : 0u);
        strokesBefore = strokesNow;
        flagsChanged(54, 0);
        flagsChanged(55, 0);
    }
}

TEST_F(HotkeyMonitorTest, KeyDownWithoutCommandBitReleasesBothKeysUntilPressedAnew) {
    bind({{QStringLiteral("1-q"), terminal}});
    flagsChanged(54, command);
    flagsChanged(55, command);
    EXPECT_EQ(keyDown(12, 0), Decision::pass);
    EXPECT_EQ(monitor.state(), ModifierState{});
    EXPECT_EQ(newLogLines().last(), QStringLiteral("keyDown keyCode=12 flags=0 判据=false rightCmd=false leftCmd=false"));
    EXPECT_EQ(keyDown(12, command), Decision::pass);
    flagsChanged(54, command);
    EXPECT_EQ(keyDown(12, command), Decision::swallow);
}

TEST_F(HotkeyMonitorTest, OrdinaryTypingAndOtherModifiersLeaveNoTraceUnlessTracingAll) {
    flagsChanged(54, command);
    const QStringList before = newLogLines();
    EXPECT_EQ(flagsChanged(56, command | EventFlag::shift), Decision::pass);  // Shift
    EXPECT_EQ(monitor.state(), (ModifierState{false, true}));
    flagsChanged(54, 0);
    EXPECT_EQ(keyDown(0, 0), Decision::pass);
    EXPECT_EQ(keyDown(1, EventFlag::shift), Decision::pass);
    EXPECT_EQ(monitor.decide(11, {12, 0}), Decision::pass);  // key-up is not ours
    EXPECT_EQ(newLogLines(), before + QStringList(QStringLiteral("flags: keyCode=54 down=false rightCmd=false leftCmd=false")));

    const QString traceAll = DataFolder::file(QStringLiteral("hotkey.traceAll"));
    TestSupport::writeAll(traceAll, {});
    keyDown(0, 0);
    QFile::remove(traceAll);
    keyDown(0, 0);
    EXPECT_EQ(newLogLines().mid(before.size() + 1),
              QStringList(QStringLiteral("keyDown keyCode=0 flags=0 判据=false rightCmd=false leftCmd=false")));
}

TEST_F(HotkeyMonitorTest, DisabledTapIsEnabledAgainAndCommandMustBePressedAnew) {
    bind({{QStringLiteral("1-q"), terminal}});
    auto tap = std::make_shared<FakeEventTap>();
    EXPECT_FALSE(monitor.isStarted());
    monitor.setTap(tap);
    EXPECT_TRUE(monitor.isStarted());
    for (const std::uint32_t type : {EventType::tapDisabledByTimeout, EventType::tapDisabledByUserInput}) {
        flagsChanged(54, command);
        EXPECT_EQ(monitor.decide(type, {}), Decision::pass);
        EXPECT_EQ(monitor.state(), ModifierState{});
        EXPECT_EQ(keyDown(12, command), Decision::pass);
    }
    EXPECT_EQ(tap->enableCalls(), std::vector<bool>({true, true}));
    const QStringList lines = newLogLines();
    EXPECT_TRUE(lines.contains(QStringLiteral("tap 被系统禁用(type=4294967294)，重新启用并清空修饰键状态")));
    EXPECT_TRUE(lines.contains(QStringLiteral("tap 被系统禁用(type=4294967295)，重新启用并清空修饰键状态")));
    EXPECT_TRUE(executed().empty());
}
