#include "../Keyboard/BindingsTestSupport.h"
#include "Hotkey/BindingsLookup.h"
#include "Hotkey/HotkeyMonitor.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Decision = HotkeyMonitor::Decision;
using namespace std::chrono_literals;

// A file system that stalls: every read waits until the test opens the gate. Shared with the
// reads, so that one left hanging past its lookup still has a gate to wait on.
class Gate {
public:
    static BindingsLookup::Read stalling(std::shared_ptr<Gate> gate) {
        return [gate](const QString& path, const QString& keyID) {
            gate->pass();
            return KeyBindingStore::lookup(path, keyID);
        };
    }
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    int reads() const {
        std::lock_guard lock(mutex_);
        return reads_;
    }

private:
    void pass() {
        std::unique_lock lock(mutex_);
        ++reads_;
        changed_.wait(lock, [this] { return open_; });
    }
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    int reads_ = 0;
};

const QString strokeRead = QStringLiteral("放行 keyDown: 1-q ");

} // namespace

TEST(BindingsLookup, AStrokeWhoseFileStallsPassesStartsNoSecondReadAndTheNextStrokesWorkOnceItAnswers) {
    const BindingsTestSupport::LogWatch log;
    const QString path = BindingsTestSupport::fileWith(KeyBindingStore::encode(
        {{QStringLiteral("1-q"), BindingsTestSupport::app(QStringLiteral("org.gnome.Terminal"), QStringLiteral("Terminal"))}}));
    auto gate = std::make_shared<Gate>();
    HotkeyMonitor monitor(path, std::make_unique<BindingsLookup>(Gate::stalling(gate), 100ms));
    std::vector<QString> ran;
    monitor.setStrokeExecution([&](const QString& keyID, const AppEntry&) { ran.push_back(keyID); });
    monitor.decide(EventType::flagsChanged, {CommandKey::right, EventFlag::command});

    EXPECT_EQ(monitor.decide(EventType::keyDown, {12, EventFlag::command}), Decision::pass);
    EXPECT_EQ(monitor.decide(EventType::keyDown, {12, EventFlag::command}), Decision::pass);
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return gate->reads() == 1; }));
    EXPECT_EQ(log.messagesStartingWith(strokeRead),
              QStringList({strokeRead + QStringLiteral("keyBindings.json 100 ms 内没有读完，按未绑定处理"),
                           strokeRead + QStringLiteral("上一次读取 keyBindings.json 还没结束，按未绑定处理")}));

    gate->open();
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return !monitor.bindingsLookup().isReading(); }));
    EXPECT_EQ(monitor.decide(EventType::keyDown, {12, EventFlag::command}), Decision::swallow);
    monitor.queue().waitUntilIdle();
    EXPECT_EQ(ran, std::vector{QStringLiteral("1-q")});
    EXPECT_EQ(gate->reads(), 2);
}

TEST(BindingsLookup, AReadThatNeverEndsDoesNotHoldUpItsOwnersEnd) {
    auto gate = std::make_shared<Gate>();
    {
        BindingsLookup lookup(Gate::stalling(gate), 20ms);
        EXPECT_EQ(lookup.lookup(QStringLiteral("/nowhere/keyBindings.json"), QStringLiteral("1-q")).status,
                  BindingsLookup::Status::timedOut);
        ASSERT_TRUE(TestSupport::processEventsUntil([&] { return gate->reads() == 1; }));
    }
    // The reader was left behind with the gate it waits on; it ends once the file answers.
    gate->open();
}

TEST(BindingsLookup, OnlyAFileFoundOnALocalDiskIsReadOnTheCallersThread) {
    for (const bool local : {true, false}) {
        std::vector<std::thread::id> readers; // ordered by the lookup's own hand-over
        BindingsLookup lookup(
            [&](const QString&, const QString&) {
                readers.push_back(std::this_thread::get_id());
                return KeyBindingStore::Lookup{};
            },
            10s, [&](const QString&) { return local; });
        // The first read learns where the file lies; by the third, the answer is in.
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(lookup.lookup(QStringLiteral("/data/keyBindings.json"), QStringLiteral("1-q")).status,
                      BindingsLookup::Status::read);
        ASSERT_EQ(readers.size(), 3u);
        EXPECT_NE(readers.front(), std::this_thread::get_id());
        EXPECT_EQ(readers.back() == std::this_thread::get_id(), local) << local;
    }
}
