#include "Keyboard/AppCatalog.h"

#include "Platform/Fake/FakePlatform.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

BundleInfo info(const QString& bundleId, const QString& name = {}) {
    return BundleInfo{bundleId, name.isEmpty() ? QStringList() : QStringList{name}, false};
}

QStringList names(const QList<AppEntry>& entries) {
    QStringList out;
    for (const AppEntry& entry : entries)
        out.append(entry.name);
    return out;
}

// The sort follows the user's locale; pin one so the expectations hold on any machine.
class AppCatalogScan : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(saved_); }

    FakeBundles& bundles() { return fake->fakeBundles; }
    QList<AppEntry> scan(const QStringList& roots) { return AppCatalog::scan(roots); }

    ScopedFakePlatform fake;

private:
    QLocale saved_;
};

TEST_F(AppCatalogScan, MissingRootAddsNothingAndARootThatIsABundleIsOneCandidate) {
    bundles().addBundle("/Applications/Mail.app", info("com.apple.mail", "Mail"));
    bundles().addBundle("/System/Library/CoreServices/Finder.app", info("com.apple.finder", "Finder"));
    const auto found = scan({"/Applications", "/Nowhere", "/System/Library/CoreServices/Finder.app"});
    EXPECT_EQ(names(found), QStringList({"Finder", "Mail"}));
    EXPECT_EQ(found[0].path, "/System/Library/CoreServices/Finder.app");
}

// The first copy of an identifier wins: roots in the order given, each folder in code-point
// order whatever order the listing comes in; the result is then sorted by name, ignoring case.
TEST_F(AppCatalogScan, FirstCopyOfAnIdentifierWinsByRootThenCodePointOrder) {
    bundles().addBundle("/Apps/Safari.app", info("com.apple.Safari", "Safari"));
    bundles().addBundle("/System/Safari.app", info("com.apple.Safari", "Safari"));
    bundles().addBundle("/System/alpha.app", info("com.example.same", "alpha"));
    bundles().addBundle("/System/Zeta.app", info("com.example.same", "Zeta"));
    bundles().addBundle("/System/beta.app", info("com.example.beta", "beta"));
    QStringList paths;
    for (const AppEntry& entry : scan({"/Apps", "/System"}))
        paths.append(entry.path);
    EXPECT_EQ(paths, QStringList({"/System/beta.app", "/Apps/Safari.app", "/System/Zeta.app"}));
}

TEST_F(AppCatalogScan, NamesSortByLocaleIgnoringCaseAndEqualNamesKeepTheOrderFound) {
    bundles().addBundle("/Apps/a.app", info("a", "Zeta"));
    bundles().addBundle("/Apps/b.app", info("b", "alpha"));
    bundles().addBundle("/Apps/c.app", info("c", "Éclair"));
    bundles().addBundle("/Apps/d.app", info("d", "delta"));
    bundles().addBundle("/Apps/One.app", info("one", "Notes"));
    bundles().addBundle("/Apps/Two.app", info("two", "notes"));
    bundles().addBundle("/Apps/Three.app", info("three", "Notes"));
    QStringList order;
    for (const AppEntry& entry : scan({"/Apps"}))
        order.append(entry.bundleId);
    // Listing order of the equal names: One, Three, Two.
    EXPECT_EQ(order, QStringList({"b", "d", "c", "one", "three", "two", "a"}));
}

TEST_F(AppCatalogScan, OnlyDirectChildrenWithTheSuffixAreExamined) {
    bundles().addBundle("/Apps/Nested/Inner.app", info("com.example.inner", "Inner"));
    bundles().addBundle("/Apps/Tool.App", info("com.example.case", "Wrong case"));
    bundles().addFile("/Apps/Nested");
    bundles().addFile("/Apps/Broken.app");
    bundles().addBundle("/Apps/Real.app", info("com.example.real", "Real"));
    EXPECT_EQ(names(scan({"/Apps"})), QStringList({"Real"}));
}

TEST_F(AppCatalogScan, AgentsAndApplicationsWithoutIdentifierAreSkippedAndNamesFallBackToTheFile) {
    bundles().addBundle("/Apps/Empty.app", info(""));
    bundles().addBundle("/Apps/Spaced.app", info(" com.example.spaced "));
    bundles().addBundle("/Apps/Agent.app", BundleInfo{"com.example.agent", {"Agent"}, true});
    bundles().addBundle("/Apps/Mail.app", BundleInfo{"mail", {"Localised Mail", "Mail"}, false});
    bundles().addBundle("/Apps/Tool.app", info("tool"));
    QHash<QString, QString> byId;
    for (const AppEntry& entry : scan({"/Apps"})) byId.insert(entry.bundleId, entry.name);
    EXPECT_EQ(byId.size(), 3);
    EXPECT_EQ(byId.value(" com.example.spaced "), "Spaced"); // the identifier used unchanged
    EXPECT_EQ(byId.value("mail"), "Localised Mail");
    EXPECT_EQ(byId.value("tool"), "Tool");
}
