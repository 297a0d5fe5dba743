#include "Keyboard/AppCatalog.h"

#include "Keyboard/AppCatalogModel.h"
#include "Platform/Fake/FakePlatform.h"
#include "support/ScriptedScan.h"
#include "support/TestSupport.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

namespace {

BundleInfo info(const QString& bundleId, const QString& name = {}, bool agent = false) {
    return BundleInfo{bundleId, name.isEmpty() ? QStringList() : QStringList{name}, agent};
}

QStringList field(const QList<AppEntry>& entries, QString AppEntry::*member) {
    QStringList out;
    for (const AppEntry& entry : entries)
        out.append(entry.*member);
    return out;
}

// The sort follows the user's locale; pin one so the expectations hold on any machine.
class AppCatalogScan : public ::testing::Test {
protected:
    AppCatalogScan() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~AppCatalogScan() override { QLocale::setDefault(saved_); }

    void add(const QString& path, const BundleInfo& described) { fake->fakeBundles.addBundle(path, described); }

    ScopedFakePlatform fake;

private:
    QLocale saved_;
};

// Only bundles directly in a root (or a root that is one), with the suffix in its case, with a
// non-empty identifier and not an agent, are offered.
TEST_F(AppCatalogScan, OffersOnlyUsableBundlesOfTheRoots) {
    add("/Apps/Real.app", info("com.example.real", "Real"));
    add("/System/Finder.app", info("com.apple.finder", "Finder"));
    add("/Apps/Nested/Inner.app", info("com.example.inner", "Inner"));
    add("/Apps/Tool.App", info("com.example.case", "WrongCase"));
    fake->fakeBundles.addFile("/Apps/Nested");
    fake->fakeBundles.addFile("/Apps/Broken.app");
    add("/Apps/Empty.app", info("", "EmptyId"));
    add("/Apps/Spaced.app", info(" com.example.spaced ", "Spaced"));
    add("/Apps/Agent.app", info("com.example.agent", "Agent", true));
    const QList<AppEntry> found = AppCatalog::scan({"/Apps", "/Nowhere", "/System/Finder.app"});
    EXPECT_EQ(field(found, &AppEntry::name), QStringList({"Finder", "Real", "Spaced"}));
    EXPECT_TRUE(field(found, &AppEntry::bundleId).contains(" com.example.spaced ")); // used unchanged
}

// The first copy of an identifier wins: roots in the order given, each folder in code-point
// order whatever order the listing comes in; the result is then sorted by name, ignoring case
// and by the locale, equal names in the order found.
TEST_F(AppCatalogScan, FirstCopyOfAnIdentifierWinsThenNamesSortByLocale) {
    add("/Apps/Safari.app", info("com.apple.Safari", "Safari"));
    add("/System/Safari.app", info("com.apple.Safari", "Safari"));
    add("/System/alpha.app", info("com.example.same", "alpha"));
    add("/System/Zeta.app", info("com.example.same", "Zeta"));
    add("/System/beta.app", info("com.example.beta", "beta"));
    EXPECT_EQ(field(AppCatalog::scan({"/Apps", "/System"}), &AppEntry::path),
              QStringList({"/System/beta.app", "/Apps/Safari.app", "/System/Zeta.app"}));

    add("/Sort/a.app", info("a", "Zeta"));
    add("/Sort/b.app", info("b", "alpha"));
    add("/Sort/c.app", info("c", "Éclair"));
    add("/Sort/d.app", info("d", "delta"));
    add("/Sort/One.app", info("one", "Notes"));
    add("/Sort/Two.app", info("two", "notes"));
    add("/Sort/Three.app", info("three", "Notes"));
    EXPECT_EQ(field(AppCatalog::scan({"/Sort"}), &AppEntry::bundleId),
              QStringList({"b", "d", "c", "one", "three", "two", "a"}));
}

TEST_F(AppCatalogScan, TheBestNameComesFirstElseTheFileName) {
    add("/Apps/Mail.app", BundleInfo{"mail", {"Localised Mail", "Mail"}, false});
    add("/Apps/Tool.app", info("tool"));
    QHash<QString, QString> byId;
    for (const AppEntry& entry : AppCatalog::scan({"/Apps"})) byId.insert(entry.bundleId, entry.name);
    EXPECT_EQ(byId, (QHash<QString, QString>{{"mail", "Localised Mail"}, {"tool", "Tool"}}));
}

TEST(AppCatalogFilter, NamePrefixesFirstThenOtherMatchesNeverThePathAndAccentsMatter) {
    const QList<AppEntry> all{
        {"com.apple.Notes", "/n", "Notes"},       {"com.example.term", "/x", "Xylophone"},
        {"com.apple.Terminal", "/t", "Terminal"}, {"com.apple.mail", "/Applications/Camera.app", "Mail"},
        {"com.apple.TextEdit", "/e", "TextEdit"}, {"two", "/c", "Café"},
    };
    const auto names = [&](const QString& keyword) {
        return field(AppCatalog::filter(all, keyword), &AppEntry::name);
    };
    EXPECT_EQ(names(" TE "), QStringList({"Terminal", "TextEdit", "Notes", "Xylophone"}));
    EXPECT_EQ(AppCatalog::filter(all, "  \t\n "), all);
    EXPECT_TRUE(names("camera").isEmpty());
    EXPECT_TRUE(names("cafe").isEmpty());
    EXPECT_EQ(names("CAFÉ"), QStringList({"Café"}));
}

// ---- the model the picker watches: scans on the pool, results on the main thread

const QList<AppEntry> twoApps{{"com.apple.Terminal", "/Applications/Terminal.app", "Terminal"},
                              {"com.apple.Notes", "/Applications/Notes.app", "Notes"}};

bool waitIdle(const AppCatalogModel& model) {
    return TestSupport::processEventsUntil([&] { return !model.isLoading(); });
}

TEST(AppCatalogModel, FirstLoadScansOffTheMainThreadAndPublishesOnItBeforeLoadingEnds) {
    ScriptedScan scan(twoApps);
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
