#include "Stats/UsageStats.h"

#include "Stats/UsageStatsStore.h"
#include "support/TestSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

using AppCount = UsageStats::AppCount;

UsageStats statsWith(std::initializer_list<std::pair<QString, AppCount>> entries) {
    UsageStats stats;
    for (const auto& [key, entry] : entries) {
        stats.perApp[key] = entry;
        stats.totalSuccess += entry.count;
    }
    return stats;
}

QString fileIn(const QString& folder) {
    return folder + QStringLiteral("/usageStats.json");
}

} // namespace

TEST(UsageCounting, CountsUnderTheBundleElseTheNameAndTheLatestNameWins) {
    const UsageStats once = UsageStats::incremented({}, "A", "com.example.a");
    EXPECT_EQ(once, statsWith({{"com.example.a", {"A", 1}}}));
    EXPECT_EQ(UsageStats::incremented(once, "B", "com.example.a"), statsWith({{"com.example.a", {"B", 2}}}));
    EXPECT_EQ(once.totalSuccess, 1) << "the input must stay as it was";
    EXPECT_EQ(UsageStats::incremented({}, "Terminal", ""), statsWith({{"Terminal", {"Terminal", 1}}}));
}

TEST(UsageFile, SavedFileIsCompactInKeyOrderAndReadsBack) {
    const UsageStats stats = statsWith({{"org.b", {"B/2", 1}}, {"com.a", {"\"A\"", 4}}});
    const QString path = fileIn(TestSupport::freshFolder() + QStringLiteral("/missing/folders"));
    ASSERT_EQ(UsageStats::save(stats, path), std::nullopt);
    EXPECT_EQ(TestSupport::readAll(path),
              QByteArray(R"({"totalSuccess":5,"perApp":{"com.a":{"name":"\"A\"","count":4},)"
                         R"("org.b":{"name":"B\/2","count":1}}})"));
    EXPECT_EQ(UsageStats::snapshot(path), stats);
}

TEST(UsageFile, MalformedFilesLoadAsZero) {
    const QString path = fileIn(TestSupport::freshFolder());
    EXPECT_EQ(UsageStats::snapshot(path), UsageStats{}) << "missing file";
    const char* const contents[] = {
        R"({"totalSuccess":3})",
        R"({"perApp":{}})",
        R"({"totalSuccess":"3","perApp":{}})",
        R"({"totalSuccess":3,"perApp":[]})",
        R"({"totalSuccess":1.5,"perApp":{}})",
        R"({"totalSuccess":-1,"perApp":{}})",
        R"({"totalSuccess":9223372036854775808,"perApp":{}})",
        R"({"totalSuccess":1,"perApp":{"a":{"name":"A"}}})",
        R"({"totalSuccess":1,"perApp":{"a":{"count":1}}})",
        R"({"totalSuccess":1,"perApp":{"a":{"name":"A","count":-1}}})",
        R"({"totalSuccess":1,"perApp":{"a":5}})",
        R"([1])",
        "not json",
        "",
    };
    for (const char* content : contents) {
        TestSupport::writeAll(path, content);
        EXPECT_EQ(UsageStats::snapshot(path), UsageStats{}) << content;
    }
    TestSupport::writeAll(path, R"({"totalSuccess":9223372036854775807,"perApp":{},"extra":true})");
    EXPECT_EQ(UsageStats::snapshot(path).totalSuccess, 9223372036854775807);
}

TEST(UsageFile, LoneSurrogatesAreRepairedOnReadingAndKeysThatMeetKeepBothCounts) {
    const auto stats = UsageStats::decode(
        R"({"totalSuccess":5,"perApp":{"\udc00":{"name":"a\udc00","count":2},"\udc01":{"name":"b","count":3}}})");
    ASSERT_TRUE(stats);
    EXPECT_EQ(*stats, statsWith({{QStringLiteral("?"), {QStringLiteral("a?"), 5}}}));
    EXPECT_EQ(UsageStats::decode(UsageStats::encode(*stats)), stats);
}

// The hotkey path records on its own thread; the window hears of it on the main thread only.
TEST(UsageStatsStore, RecordingFromAnotherThreadPublishesLaterOnTheMainThread) {
    UsageStatsStore store(fileIn(TestSupport::freshFolder()));
    QThread* publishedOn = nullptr;
    QObject::connect(&store, &UsageStatsStore::statsChanged, [&] { publishedOn = QThread::currentThread(); });
    std::thread([&] { store.recordSuccess("A", "com.example.a"); }).join();
    EXPECT_EQ(store.stats().totalSuccess, 0) << "published synchronously from the recording thread";
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return store.stats().totalSuccess == 1; }));
    EXPECT_EQ(publishedOn, QThread::currentThread());

    std::unique_ptr<UsageStatsStore> createdElsewhere;
    std::thread([&] {
        createdElsewhere = std::make_unique<UsageStatsStore>(fileIn(TestSupport::freshFolder()));
        createdElsewhere->recordSuccess("A", "");
    }).join();
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return createdElsewhere->stats().totalSuccess == 1; }));
}
