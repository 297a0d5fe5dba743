#include "Stats/UsageStatsStore.h"

#include "support/TestSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

QString freshFile() {
    return TestSupport::freshFolder() + QStringLiteral("/usageStats.json");
}

} // namespace

// The hotkey path records on its own thread; the window hears of it on the main thread only.
TEST(UsageStatsStore, RecordingFromAnotherThreadPublishesLaterOnTheMainThread) {
    UsageStatsStore store(freshFile());
    QThread* publishedOn = nullptr;
    QObject::connect(&store, &UsageStatsStore::statsChanged, [&] { publishedOn = QThread::currentThread(); });
    std::thread([&] { store.recordSuccess("A", "com.example.a"); }).join();
    EXPECT_EQ(store.stats().totalSuccess, 0) << "published synchronously from the recording thread";
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return store.stats().totalSuccess == 1; }));
    EXPECT_EQ(publishedOn, QThread::currentThread());

    std::unique_ptr<UsageStatsStore> createdElsewhere;
    std::thread([&] {
        createdElsewhere = std::make_unique<UsageStatsStore>(freshFile());
        createdElsewhere->recordSuccess("A", "");
    }).join();
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return createdElsewhere->stats().totalSuccess == 1; }));
}
