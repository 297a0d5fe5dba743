// An inventory is collected for every jump, so its cost is paid on each bound key press that
// reaches the switching service. It must grow linearly with the number of windows: one
// window list, one Space list, one Spaces-of-windows call, one look-up per process.
//
// Prints its figures as "figure NAME VALUE" lines after the benchmark output:
//   inventory_us_per_window_1000   microseconds per window at 1,000 windows
//   inventory_growth_1000_vs_100   time at 1,000 windows over time at 100 (linear is 10)

#include "Inventory/InventoryService.h"
#include "Platform/Fake/FakePlatform.h"

#include "FigureReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

/// A believable desktop of `windows` windows: two displays with several Spaces each (one of
/// them full-screen), about one application per five windows, some minimised, a few off every
/// display and a few of processes that are not running applications.
void script(FakeDesktop& desktop, int windows) {
    FakeDesktop::Display main;
    main.id = 1;
    main.uuid = QStringLiteral("UUID-MAIN");
    main.bounds = QRectF(0, 0, 1920, 1080);
    main.isMain = true;
    main.name = QStringLiteral("Built-in Retina Display");
    main.spaces = {{11, 0}, {12, 0}, {13, 4}, {14, 0}};
    main.currentSpace = 11;
    FakeDesktop::Display side;
    side.id = 2;
    side.uuid = QStringLiteral("UUID-SIDE");
    side.bounds = QRectF(1920, 0, 2560, 1440);
    side.name = QStringLiteral("Studio Display");
    side.spaces = {{21, 0}, {22, 0}, {23, 4}};
    side.currentSpace = 21;
    desktop.displays = {main, side};

    const std::vector<std::uint64_t> spaces{11, 12, 13, 14, 21, 22, 23};
    const int appCount = std::max(1, windows / 5);
    std::vector<std::int32_t> pids;
    for (int a = 0; a < appCount; ++a) {
        const QString name = QStringLiteral("App %1").arg(a);
        pids.push_back(desktop.addApp(
            name, a % 7 == 6 ? std::nullopt : std::optional(QStringLiteral("com.example.app%1").arg(a))));
    }
    for (int w = 0; w < windows; ++w) {
        const std::uint64_t space = spaces[std::size_t(w) % spaces.size()];
        const bool onSide = space >= 20;
        QRectF frame(onSide ? 1920 + (w % 50) * 20 : (w % 50) * 15, (w % 30) * 12, 800, 600);
        if (w % 97 == 96) frame.moveLeft(-10000); // off every display
        const std::int32_t pid = w % 53 == 52 ? 90000 + w : pids[std::size_t(w) % pids.size()];
        desktop.addWindow(pid, frame, space, w % 11 == 10);
    }
}

struct Bench {
    ScopedFakePlatform fake;
    explicit Bench(int windows) { script(fake->desktop, windows); }
};

void BM_Collect(benchmark::State& state) {
    Bench bench(static_cast<int>(state.range(0)));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (auto _ : state) {
        WindowInventory inventory = InventoryService::collect(now);
        benchmark::DoNotOptimize(inventory);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Collect)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    FigureReporter reporter;
    if (!runBenchmarks(argc, argv, reporter)) return 1;

    const double at1000 = reporter.median("BM_Collect/1000");
    const double at100 = reporter.median("BM_Collect/100");
    printRatio("inventory_us_per_window_1000", at1000, 1000);
    printRatio("inventory_growth_1000_vs_100", at1000, at100);
    benchmark::Shutdown();
    return 0;
}
