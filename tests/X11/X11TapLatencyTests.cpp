// How long a grabbed press takes from XTest to the callback on the tap thread.
#include "X11TapFixture.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

using X11TapLatency = X11TapFixture;

TEST_F(X11TapLatency, FromAnXTestPressToTheCallback) {
    auto tap = startTap(RecordingTap::swallowKey(12));
    injector->press(XKey::superRight);
    ASSERT_TRUE(tap->waitForEvents(1));

    constexpr int rounds = 50;
    std::vector<double> micros;
    for (int i = 0; i < rounds; ++i) {
        const std::size_t before = tap->events().size();
        const auto sent = std::chrono::steady_clock::now();
        injector->press(XKey::q);
        ASSERT_TRUE(tap->waitForEvents(before + 1));
        const auto arrived = tap->events()[before].at;
        micros.push_back(std::chrono::duration<double, std::micro>(arrived - sent).count());
        injector->release(XKey::q);
    }
    injector->release(XKey::superRight);
    ASSERT_TRUE(settle());

    std::sort(micros.begin(), micros.end());
    const double median = micros[rounds / 2];
    std::printf("XTest press → tap callback over %d presses: median %.0f µs, p90 %.0f µs, max %.0f µs\n",
                rounds, median, micros[rounds * 9 / 10], micros.back());
    RecordProperty("median_us", int(median));
    // A guard against a tap that polls instead of waking on the event, not a benchmark.
    EXPECT_LT(median, 50'000);
}
