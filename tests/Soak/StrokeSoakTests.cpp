// Ten thousand strokes on the Fake desktop through the real monitor, its execution queue, the
// router, the switching and launching code and the usage counters, with the desktop's
// behaviour changing between bursts, checked stroke by stroke against a model.
#include "Hotkey/FakeDesktopScenario.h"
#include "Hotkey/KeyStrokeMap.h"
#include "Hotkey/StrokeExecution.h"
#include "Stats/UsageStats.h"
#include "Stats/UsageStatsStore.h"
#include "StrokeModel.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>
#include <random>

std::int64_t FakeDesktopScenario::countedJumps() const {
    return UsageStats::snapshot(UsageStatsStore::defaultFileURL()).totalSuccess;
}

namespace {

constexpr int strokeCount = 10000;
constexpr std::uint32_t seed = 20260307;

using Kind = StrokeModel::App::Kind;

/// The data folder moved to memory, when the machine has a memory file system: thousands of
/// counter saves each wait for the disk otherwise, and the disk is not what is soaked here.
class DataInMemory {
public:
    DataInMemory() : previous_(qgetenv("XDG_DATA_HOME")) {
        if (!QFileInfo(QStringLiteral("/dev/shm")).isWritable() || !folder_.isValid()) return;
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder_.path()));
    }
    ~DataInMemory() { qputenv("XDG_DATA_HOME", previous_); }
    DataInMemory(const DataInMemory&) = delete;
    DataInMemory& operator=(const DataInMemory&) = delete;

private:
    QByteArray previous_;
    QTemporaryDir folder_{QStringLiteral("/dev/shm/kestavon-soak-XXXXXX")};
};

class StrokeSoak : public FakeDesktopScenario {
protected:
    struct Key {
        std::int64_t code = 0;
        QString id;
        /// Null for a key bound to nothing.
        StrokeModel::App* app = nullptr;
    };

    /// Binds the next free key to `app`, making it run (with one window) or installing it.
    void add(Kind kind, const QString& name, std::uint64_t space = 0, bool minimized = false) {
        StrokeModel::App app;
        app.kind = kind;
        app.name = name;
        app.bundleId = QStringLiteral("com.example.") + name.toLower();
        app.space = space;
        app.fullScreen = space == fullscreen;
        app.path = kind == Kind::missing ? folder + QStringLiteral("/gone/") + name : installedBundle(name);
        if (kind == Kind::running) {
            const auto pid = fake->desktop.addApp(name, app.bundleId, app.path);
            fake->desktop.addWindow(pid, QRectF(40.0 * apps.size(), 30, 600, 400), space, minimized);
            app.running = true;
        }
        if (kind == Kind::launchable) fake->desktop.installed.insert(app.path, {app.bundleId, name});
        apps.push_back(app);
        nextKey(&apps.back());
    }
    void nextKey(StrokeModel::App* app) {
        const KeyStrokeMap::Key& key = KeyStrokeMap::table()[keys.size()];
        keys.push_back({key.code, *KeyStrokeMap::keyID(key.code), app});
        if (app) bind(keys.back().id, {app->bundleId, app->path, app->name});
    }

    std::optional<QString> frontmostBundleId() {
        std::lock_guard lock(fake->desktop.mutex);
        const auto pid = fake->desktop.currentFrontmost();
        const auto app = pid ? fake->desktop.app(*pid) : std::nullopt;
        return app ? app->bundleIdentifier : std::nullopt;
    }

    std::deque<StrokeModel::App> apps;
    std::vector<Key> keys;
};

/// Lets the queue finish before what its strokes write into goes away, also when a test
/// stops half-way.
struct QueueDrained {
    SerialQueue& queue;
    ~QueueDrained() { queue.waitUntilIdle(); }
};

} // namespace

TEST_F(StrokeSoak, TenThousandStrokesCountEachSuccessOnceAndReportInOrder) {
    add(Kind::running, QStringLiteral("Alpha"), desktop1);
    add(Kind::running, QStringLiteral("Bravo"), desktop1);
    add(Kind::running, QStringLiteral("Charlie"), desktop2);
    add(Kind::running, QStringLiteral("Delta"), desktop2, /*minimized=*/true);
    add(Kind::running, QStringLiteral("Echo"), fullscreen);
    add(Kind::launchable, QStringLiteral("Foxtrot"));
    add(Kind::launchable, QStringLiteral("Golf"));
    add(Kind::missing, QStringLiteral("Hotel"));
    nextKey(nullptr);
    nextKey(nullptr);

    // The queue's own order, seen where each stroke starts to run.
    std::mutex ranLock;
    QStringList ran;
    const QueueDrained drained{monitor.queue()};
    monitor.setStrokeExecution([&](const QString& keyID, const AppEntry& entry) {
        {
            std::lock_guard lock(ranLock);
            ran.append(keyID);
        }
        StrokeExecution::execute(monitor, keyID, entry);
    });

    const DataInMemory data;
    UsageStatsStore& stats = UsageStatsStore::shared();
    const UsageStats before = stats.stats();
    StrokeModel model(desktop1, frontmostBundleId());
    std::mt19937 random(seed);
    const auto chance = [&](int percent) { return int(random() % 100) < percent; };
    const QString failure = QStringLiteral("The application is damaged.");
    fake->desktop.launchFailure = failure;

    QStringList sentKeys;
    QStringList expected;
    int unbound = 0;
    QElapsedTimer clock;
    clock.start();
    for (int sent = 0; sent < strokeCount;) {
        // The desktop changes its ways only while no stroke runs.
        const auto launch = chance(20) ? FakeDesktop::Launch::fail : FakeDesktop::Launch::succeed;
        const auto activation =
            chance(20) ? FakeDesktop::Activation::never : FakeDesktop::Activation::immediate;
        const bool gesturesIgnored = chance(15);
        fake->desktop.launch = launch;
        fake->desktop.activation = activation;
        fake->desktop.gesturesIgnored = gesturesIgnored;
        model.behave(launch, activation, gesturesIgnored, failure);

        // A burst typed faster than it runs: the queue holds up to this many at once.
        const int burst = 1 + int(random() % 40);
        for (int n = 0; n < burst && sent < strokeCount; ++n, ++sent) {
            const Key& key = keys[random() % keys.size()];
            const bool swallowed = stroke(key.code);
            ASSERT_EQ(swallowed, key.app != nullptr) << "stroke " << sent << " on " << key.id.toStdString();
            if (!key.app) {
                ++unbound;
                continue;
            }
            sentKeys.append(key.id);
            expected.append(model.stroke(*key.app));
        }
        monitor.queue().waitUntilIdle();
        TestSupport::drainMainThread();
        model.mainThreadRan();
    }
    const qint64 elapsedMs = clock.elapsed();
    std::printf("%d strokes (%d unbound, %lld jumps) in %lld ms\n", strokeCount, unbound,
                static_cast<long long>(model.jumps()), static_cast<long long>(elapsedMs));

    EXPECT_EQ(ran, sentKeys) << "the queue ran strokes out of order, twice or not at all";
    // Only a change of the last text is seen; any lost, repeated or reordered stroke between
    // two different texts shows here.
    const QStringList seen = outcomes;
    const QStringList wanted = withoutRepeats(expected);
    for (qsizetype i = 0; i < std::min(seen.size(), wanted.size()); ++i)
        ASSERT_EQ(seen[i].toStdString(), wanted[i].toStdString()) << "result text " << i;
    ASSERT_EQ(seen.size(), wanted.size());

    const UsageStats inMemory = stats.stats();
    const UsageStats onDisk = UsageStats::snapshot(stats.fileURL());
    EXPECT_EQ(inMemory, onDisk);
    EXPECT_EQ(onDisk.totalSuccess - before.totalSuccess, model.jumps());
    for (const StrokeModel::App& app : apps) {
        const auto counted = [&](const UsageStats& counters) {
            const auto found = counters.perApp.find(app.bundleId);
            return found == counters.perApp.end() ? 0 : found->second.count;
        };
        const auto modelled = model.jumpsPerApp().find(app.bundleId);
        EXPECT_EQ(counted(onDisk) - counted(before),
                  modelled == model.jumpsPerApp().end() ? 0 : modelled->second)
            << app.name.toStdString();
    }

    EXPECT_EQ(frontmostBundleId(), model.frontmost());
    EXPECT_EQ(fake->desktop.displays[0].currentSpace, model.currentSpace());
    // Each launchable application was started once at most, however often it was asked for.
    for (const StrokeModel::App& app : apps) {
        if (app.kind != Kind::launchable) continue;
        const auto copies =
            std::count_if(fake->desktop.apps.begin(), fake->desktop.apps.end(),
                          [&](const RunningApplication& a) { return a.bundleIdentifier == app.bundleId; });
        EXPECT_EQ(copies, app.running ? 1 : 0) << app.name.toStdString();
    }
}
