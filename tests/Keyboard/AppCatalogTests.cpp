#include "Keyboard/AppCatalog.h"

#include "Platform/Fake/FakePlatform.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

QVariantMap info(const QString& bundleId, const QString& name = {}) {
    QVariantMap map{{BundleInfoKey::identifier, bundleId}};
    if (!name.isEmpty()) map.insert(BundleInfoKey::name, name);
    return map;
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

TEST_F(AppCatalogScan, BundlesWithoutAUsableIdentifierAreSkipped) {
    bundles().addBundle("/Apps/Empty.app", info(""));
    bundles().addBundle("/Apps/Number.app", {{BundleInfoKey::identifier, 42}});
    bundles().addBundle("/Apps/None.app", {{BundleInfoKey::name, "None"}});
    bundles().addBundle("/Apps/Spaced.app", info(" com.example.spaced "));
    const auto found = scan({"/Apps"});
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].bundleId, " com.example.spaced "); // used unchanged
}

TEST(AppCatalogAgents, OnlyTrueFlagsHideABundle) {
    ScopedFakePlatform fake;
    const QList<std::pair<QString, QVariant>> flags{
        {"StringYES", QStringLiteral("YES")},
        {"StringTrue", QStringLiteral("True")},
        {"StringOne", QStringLiteral("1")},
        {"StringZero", QStringLiteral("0")},
        {"NumberOne", 1},
        {"NumberZero", 0},
        {"BoolTrue", true},
        {"BoolFalse", false},
        {"Fraction", 0.5},
        {"List", QVariantList{true}},
    };
    for (const auto& [name, flag] : flags) {
        QVariantMap map = info("com.example." + name, name);
        map.insert(BundleInfoKey::agentOnly, flag);
        fake->fakeBundles.addBundle("/Apps/" + name + ".app", map);
    }
    QStringList offered = names(AppCatalog::scan({"/Apps"}));
    offered.sort();
    EXPECT_EQ(offered, QStringList({"BoolFalse", "List", "NumberZero", "StringYES", "StringZero"}));
}

TEST(AppCatalogNames, LocalizedNamesComeFirstThenPlainOnesThenTheFolder) {
    ScopedFakePlatform fake;
    FakeBundles& bundles = fake->fakeBundles;
    bundles.addBundle("/Apps/Mail.app", {{BundleInfoKey::identifier, "mail"},
                                         {BundleInfoKey::displayName, ""},
                                         {BundleInfoKey::name, "Mail"}});
    bundles.addBundle("/Apps/Tool.app", info("tool"));
    bundles.addBundle("/Apps/Loc.app",
                      {{BundleInfoKey::identifier, "loc"}, {BundleInfoKey::displayName, "Plain Display"}},
                      QVariantMap{{BundleInfoKey::name, "Localised"}});
    bundles.addBundle("/Apps/Odd.app", {{BundleInfoKey::identifier, "odd"}, {BundleInfoKey::name, 7}});
    QHash<QString, QString> byId;
    for (const AppEntry& entry : AppCatalog::scan({"/Apps"}))
        byId.insert(entry.bundleId, entry.name);
    EXPECT_EQ(byId.value("mail"), "Mail");
    EXPECT_EQ(byId.value("tool"), "Tool");
    EXPECT_EQ(byId.value("loc"), "Localised");
    EXPECT_EQ(byId.value("odd"), "Odd");
}

TEST(AppCatalogFilter, NamePrefixesComeFirstThenOtherMatchesAndBlankKeepsAll) {
    const QList<AppEntry> all{
        {"com.apple.Notes", "/n", "Notes"},       {"com.example.term", "/x", "Xylophone"},
        {"com.apple.Terminal", "/t", "Terminal"}, {"com.apple.mail", "/m", "Mail"},
        {"com.apple.TextEdit", "/e", "TextEdit"},
    };
    EXPECT_EQ(names(AppCatalog::filter(all, " TE ")),
              QStringList({"Terminal", "TextEdit", "Notes", "Xylophone"}));
    EXPECT_EQ(AppCatalog::filter(all, "  \t\n "), all);
}

TEST(AppCatalogFilter, PathIsNeverSearchedAndAccentsMatter) {
    const QList<AppEntry> all{{"one", "/Applications/Camera.app", "Photo Booth"}, {"two", "/t", "Café"}};
    EXPECT_TRUE(AppCatalog::filter(all, "camera").isEmpty());
    EXPECT_TRUE(AppCatalog::filter(all, "cafe").isEmpty());
    EXPECT_EQ(names(AppCatalog::filter(all, "CAFÉ")), QStringList({"Café"}));
}

} // namespace
