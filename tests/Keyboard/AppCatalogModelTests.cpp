#include "Keyboard/AppCatalogModel.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <semaphore>

namespace {

const QList<AppEntry> twoApps{{"com.apple.Terminal", "/Applications/Terminal.app", "Terminal"},
                              {"com.apple.Notes", "/Applications/Notes.app", "Notes"}};

// A scan whose calls are counted and which can be held until the test lets it finish.
struct ScriptedScan {
    std::atomic<int> calls{0};
    std::atomic<int> finished{0};
    std::atomic<bool> held{false};
    std::counting_semaphore<8> gate{0};
    QList<AppEntry> result = twoApps;
    std::atomic<QThread*> thread{nullptr};

    AppCatalogModel::ScanFunction function() {
        return [this] {
            ++calls;
            thread = QThread::currentThread();
            if (held) gate.acquire();
            ++finished;
            return result;
        };
    }
    bool waitFinished(int count) {
        return TestSupport::processEventsUntil([&] { return finished.load() >= count; });
    }
};

bool waitIdle(const AppCatalogModel& model) {
    return TestSupport::processEventsUntil([&] { return !model.isLoading(); });
}

TEST(AppCatalogModelLoading, FirstLoadScansOffTheMainThreadAndPublishesOnItBeforeLoadingEnds) {
    ScriptedScan scan;
    AppCatalogModel model(scan.function());
    QThread* publishedOn = nullptr;
    QObject::connect(&model, &AppCatalogModel::entriesChanged,
                     [&] { publishedOn = QThread::currentThread(); });
    qsizetype countWhenLoadingEnded = -1;
    QObject::connect(&model, &AppCatalogModel::isLoadingChanged, [&] {
        if (!model.isLoading()) countWhenLoadingEnded = model.entries().size();
    });

    model.loadIfNeeded();
    EXPECT_TRUE(model.isLoading());
    EXPECT_TRUE(model.entries().isEmpty()); // nothing is published synchronously
    ASSERT_TRUE(waitIdle(model));

    EXPECT_EQ(model.entries(), twoApps);
    EXPECT_NE(scan.thread.load(), QCoreApplication::instance()->thread());
    EXPECT_EQ(publishedOn, QCoreApplication::instance()->thread());
    EXPECT_EQ(countWhenLoadingEnded, 2);
}

TEST(AppCatalogModelRescan, IsRefusedWhileAScanRuns) {
    ScriptedScan scan;
    scan.held = true;
    AppCatalogModel model(scan.function());
    model.loadIfNeeded();
    model.rescan();
    model.rescan();
    scan.gate.release();
    ASSERT_TRUE(waitIdle(model));
    TestSupport::drainMainThread();
    EXPECT_EQ(scan.calls, 1);
}

TEST(AppCatalogModelRescan, KeepsTheOldListUntilTheNewOneArrives) {
    ScriptedScan scan;
    AppCatalogModel model(scan.function());
    model.loadIfNeeded();
    ASSERT_TRUE(waitIdle(model));

    scan.held = true;
    scan.result = {twoApps[1]};
    model.rescan();
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return scan.calls.load() == 2; }));
    EXPECT_TRUE(model.isLoading());
    EXPECT_EQ(model.entries(), twoApps);

    scan.gate.release();
    ASSERT_TRUE(waitIdle(model));
    EXPECT_EQ(model.entries(), QList<AppEntry>{twoApps[1]});
}

TEST(AppCatalogModelRescan, BeforeAnyLoadScansWithoutCountingAsStarted) {
    ScriptedScan scan;
    AppCatalogModel model(scan.function());
    model.rescan();
    ASSERT_TRUE(waitIdle(model));
    EXPECT_FALSE(model.isStarted());
    model.loadIfNeeded();
    ASSERT_TRUE(waitIdle(model));
    EXPECT_EQ(scan.calls, 2);
}

TEST(AppCatalogModelLifetime, ModelDestroyedMidScanIsNotTouched) {
    auto scan = std::make_shared<ScriptedScan>();
    scan->held = true;
    auto model = std::make_unique<AppCatalogModel>(scan->function());
    model->loadIfNeeded();
    model.reset();
    scan->gate.release();
    ASSERT_TRUE(scan->waitFinished(1));
    TestSupport::drainMainThread(); // the result's hop runs and must find no model
    SUCCEED();
}

} // namespace
