#include "Support/SerialQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <pthread.h>
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

TEST(SerialQueue, WorkerThreadIsNamedAfterTheLabelAndIsNotTheCaller) {
    SerialQueue queue(QStringLiteral("kestavon.hotkey.execute"));
    std::string name;
    bool current = false;
    std::thread::id worker;
    queue.async([&] {
        char buffer[32] = {};
        pthread_getname_np(pthread_self(), buffer, sizeof buffer);
        name = buffer;
        current = queue.isCurrent();
        worker = std::this_thread::get_id();
    });
    queue.waitUntilIdle();
    EXPECT_EQ(name, "kestavon.hotkey");  // the kernel keeps 15 bytes
    EXPECT_TRUE(current);
    EXPECT_NE(worker, std::this_thread::get_id());
    EXPECT_FALSE(queue.isCurrent());
}
