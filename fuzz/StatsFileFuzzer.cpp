// The statistics file: any bytes decode to counters or to nothing; decoded counters are
// within their documented range and survive writing and reading back unchanged.
#include "FuzzCheck.h"

#include "Stats/UsageStats.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<UsageStats> stats = UsageStats::decode(bytes);
    if (!stats) return 0;
    FUZZ_CHECK(stats->totalSuccess >= 0);
    for (const auto& [key, app] : stats->perApp)
        FUZZ_CHECK(app.count >= 0);

    const QByteArray written = UsageStats::encode(*stats);
    const std::optional<UsageStats> reread = UsageStats::decode(written);
    FUZZ_CHECK(reread && *reread == *stats);
    FUZZ_CHECK(UsageStats::encode(*reread) == written);

    const auto top = UsageStats::topApps(*stats, 5);
    FUZZ_CHECK(top.size() <= 5 && top.size() <= stats->perApp.size());
    for (std::size_t i = 1; i < top.size(); ++i)
        FUZZ_CHECK(top[i - 1].count >= top[i].count);

    // One more jump keeps the counters consistent, up to the signed maximum.
    if (stats->totalSuccess < INT64_MAX && !stats->perApp.empty()) {
        const auto& [key, app] = *stats->perApp.begin();
        if (app.count < INT64_MAX) {
            const UsageStats next = UsageStats::incremented(*stats, app.name, key);
            FUZZ_CHECK(next.totalSuccess == stats->totalSuccess + 1);
        }
    }
    return 0;
}
