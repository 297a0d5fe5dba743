#include "Keyboard/AppCatalogModel.h"

#include "support/ScriptedScan.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QList<AppEntry> twoApps{{"com.apple.Terminal", "/Applications/Terminal.app", "Terminal"},
                              {"com.apple.Notes", "/Applications/Notes.app", "Notes"}};

bool waitIdle(const AppCatalogModel& model) {
    return TestSupport::processEventsUntil([&] { return !model.isLoading(); });
}

TEST(AppCatalogModel, FirstLoadScansOffTheMainThreadAndPublishesOnItBeforeLoadingEnds) {
    ScriptedScan scan(twoApps);
    AppCatalogModel model(scan.function());
    QThread* publishedOn = nullptr;
    QObject::connect(&model, &AppCatalogModel::entriesChanged, [&] { publishedOn = QThread::currentThread(); });
    qsizetype countWhenLoadingEnded = -1;
    QObject::connect(&model, &AppCatalogModel::isLoadingChanged, [&] {
        if (!model.isLoading()) countWhenLoadingEnded = model.entries().size();
    });

    model.loadIfNeeded();
    EXPECT_TRUE(model.isLoading());
    EXPECT_TRUE(model.entries().isEmpty()); // nothing is published synchronously
    ASSERT_TRUE(waitIdle(model));
    EXPECT_EQ(model.entries(), twoApps);
    EXPECT_NE(scan.thread(), QThread::currentThread());
    EXPECT_EQ(publishedOn, QThread::currentThread());
    EXPECT_EQ(countWhenLoadingEnded, 2);
}

TEST(AppCatalogModel, RescanKeepsTheOldListUntilTheNewOneArrivesAndIsRefusedWhileAScanRuns) {
    ScriptedScan scan(twoApps);
    AppCatalogModel model(scan.function());
    model.rescan(); // before any load: scans, yet the first load still comes
    ASSERT_TRUE(waitIdle(model));
    EXPECT_FALSE(model.isStarted());
    model.loadIfNeeded();
    ASSERT_TRUE(waitIdle(model));
    ASSERT_EQ(scan.calls(), 2);

    scan.hold(true);
    scan.setResult({twoApps[1]});
    model.rescan();
    model.rescan();
    model.rescan();
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return scan.calls() == 3; }));
    EXPECT_TRUE(model.isLoading());
    EXPECT_EQ(model.entries(), twoApps);
    scan.release();
    ASSERT_TRUE(waitIdle(model));
    TestSupport::drainMainThread();
    EXPECT_EQ(model.entries(), QList<AppEntry>{twoApps[1]});
    EXPECT_EQ(scan.calls(), 3);
}

TEST(AppCatalogModel, ModelDestroyedMidScanIsNotTouched) {
    ScriptedScan scan(twoApps);
    scan.hold(true);
    auto model = std::make_unique<AppCatalogModel>(scan.function());
    model->loadIfNeeded();
    model.reset();
    scan.release();
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return scan.finished() == 1; }));
    TestSupport::drainMainThread(); // the result's hop runs and must find no model
}

} // namespace
