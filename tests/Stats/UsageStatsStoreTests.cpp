#include "Stats/UsageStatsStore.h"

#include "Support/HotkeyLog.h"
#include "Support/DataFolder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

// The diagnostic log decides once, at first use, whether it is on; switch it on before any
// test so the log lines of the store can be checked.
class LogSwitchedOn : public ::testing::Environment {
public:
    void SetUp() override {
        QDir().mkpath(DataFolder::path());
        TestSupport::writeAll(DataFolder::file(QStringLiteral("hotkey.log.on")), {});
    }
};
[[maybe_unused]] ::testing::Environment* const logSwitchedOn =
    ::testing::AddGlobalTestEnvironment(new LogSwitchedOn);

qsizetype logLinesContaining(const QString& text) {
    HotkeyLog::shared().flush();
    const QString log = QString::fromUtf8(TestSupport::readAll(HotkeyLog::shared().fileURL()));
    return log.count(text);
}

QString freshFile() {
    return TestSupport::freshFolder() + QStringLiteral("/usageStats.json");
}

} // namespace

TEST(UsageStatsStore, SharedStoreUsesTheDataFolder) {
    EXPECT_EQ(UsageStatsStore::shared().fileURL(), DataFolder::file(QStringLiteral("usageStats.json")));
}

TEST(UsageStatsStore, RecordingOnTheMainThreadSavesPublishesAtOnceAndLogs) {
    const QString path = freshFile();
    UsageStatsStore store(path);
    int changes = 0;
    QObject::connect(&store, &UsageStatsStore::statsChanged, [&] { ++changes; });
    const qsizetype before = logLinesContaining(QStringLiteral("stats +1 Mail total=2"));

    store.recordSuccess("Mail", "com.example.mail");
    store.recordSuccess("Mail", "com.example.mail");

    EXPECT_EQ(store.stats().totalSuccess, 2);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(UsageStats::snapshot(path), store.stats());
    EXPECT_EQ(logLinesContaining(QStringLiteral("stats +1 Mail total=2")), before + 1);
}

TEST(UsageStatsStore, ResetWritesZeroAndAnEmptyMap) {
    const QString path = freshFile();
    UsageStatsStore store(path);
    store.recordSuccess("A", "");
    store.reset();
    EXPECT_EQ(store.stats(), UsageStats{});
    EXPECT_EQ(TestSupport::readAll(path), QByteArray(R"({"totalSuccess":0,"perApp":{}})"));
}

TEST(UsageStatsStore, RecordingFromAnotherThreadPublishesLaterOnTheMainThread) {
    UsageStatsStore store(freshFile());
    QThread* publishedOn = nullptr;
    QObject::connect(&store, &UsageStatsStore::statsChanged, [&] { publishedOn = QThread::currentThread(); });

    std::thread([&] { store.recordSuccess("A", "com.example.a"); }).join();
    EXPECT_EQ(store.stats().totalSuccess, 0) << "published synchronously from the recording thread";

    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return store.stats().totalSuccess == 1; }));
    EXPECT_EQ(publishedOn, QThread::currentThread());
}

TEST(UsageStatsStore, StoreCreatedOffTheMainThreadStillPublishesThere) {
    std::unique_ptr<UsageStatsStore> store;
    std::thread([&] {
        store = std::make_unique<UsageStatsStore>(freshFile());
        store->recordSuccess("A", "");
    }).join();
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return store->stats().totalSuccess == 1; }));
}

TEST(UsageStatsStore, ConcurrentRecordingLosesNoJumpAndFileMatchesMemory) {
    const QString path = freshFile();
    UsageStatsStore store(path);
    constexpr int threads = 4;
    constexpr int perThread = 25;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&store, t] {
            for (int i = 0; i < perThread; ++i)
                store.recordSuccess(QStringLiteral("App %1").arg(i % 3),
                                    t % 2 ? QString() : QStringLiteral("com.x"));
        });
    }
    for (auto& worker : workers)
        worker.join();

    ASSERT_TRUE(
        TestSupport::processEventsUntil([&] { return store.stats().totalSuccess == threads * perThread; }));
    std::int64_t sum = 0;
    for (const auto& [key, entry] : store.stats().perApp)
        sum += entry.count;
    EXPECT_EQ(sum, threads * perThread);
    EXPECT_EQ(UsageStats::snapshot(path), store.stats());
}
