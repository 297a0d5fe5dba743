#include "Support/SerialQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

TEST(SerialQueue, RunsItemsOneAtATimeInSubmissionOrderFromManyThreads) {
    SerialQueue queue(QStringLiteral("kestavon.test.queue"));
    std::mutex mutex;
    std::vector<int> seen;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};

    // Items from one submitting thread keep their order; no two items ever overlap.
    std::vector<std::thread> producers;
    for (int p = 0; p < 4; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < 250; ++i) {
                queue.async([&, p, i] {
                    if (running.fetch_add(1) != 0) overlapped = true;
                    {
                        std::lock_guard lock(mutex);
                        seen.push_back(p * 1000 + i);
                    }
                    running.fetch_sub(1);
                });
            }
        });
    }
    for (auto& t : producers) t.join();
    queue.waitUntilIdle();

    EXPECT_FALSE(overlapped);
    ASSERT_EQ(seen.size(), 1000u);
    std::vector<int> last(4, -1);
    for (int value : seen) {
        const int p = value / 1000, i = value % 1000;
        EXPECT_EQ(i, last[p] + 1);
        last[p] = i;
    }
}
