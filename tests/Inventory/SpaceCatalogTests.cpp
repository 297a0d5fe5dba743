#include "Inventory/SpaceCatalog.h"

#include <QVariantList>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QVariantMap space(QVariant id, QVariant type = 0) {
    QVariantMap map;
    if (id.isValid()) map.insert(QStringLiteral("id64"), id);
    if (type.isValid()) map.insert(QStringLiteral("type"), type);
    return map;
}

QVariantMap display(std::optional<QString> identifier, QVariant spaces, QVariant current = {}) {
    QVariantMap map;
    if (identifier) map.insert(QStringLiteral("Display Identifier"), *identifier);
    if (spaces.isValid()) map.insert(QStringLiteral("Spaces"), spaces);
    if (current.isValid()) map.insert(QStringLiteral("Current Space"), current);
    return map;
}

QVariant id(std::uint64_t value) {
    return QVariant::fromValue(value);
}

const QString one = QStringLiteral("display-1");
const QString two = QStringLiteral("display-2");

SpaceCatalog twoDisplays() {
    return SpaceCatalog::parse({display(one, QVariantList{space(id(1)), space(id(2), 4), space(id(3))},
                                        QVariantMap{{"id64", id(3)}}),
                                display(two, QVariantList{space(id(10))}, QVariantMap{{"id64", id(10)}})});
}

} // namespace

TEST(SpaceCatalogParsing, DesktopsAreNumberedAcrossDisplays) {
    const SpaceCatalog catalog = twoDisplays();
    EXPECT_EQ(catalog.label(1), QStringLiteral("Desktop 1"));
    EXPECT_EQ(catalog.label(2), QStringLiteral("Fullscreen"));
    EXPECT_EQ(catalog.label(3), QStringLiteral("Desktop 2"));
    EXPECT_EQ(catalog.label(10), QStringLiteral("Desktop 3"));
    EXPECT_EQ(catalog.label(99), std::nullopt);
}

TEST(SpaceCatalogParsing, DisplayKeyedMaps) {
    const SpaceCatalog catalog = twoDisplays();
    EXPECT_EQ(catalog.desktopIDs(one), (std::vector<std::uint64_t>{1, 3}));
    EXPECT_EQ(catalog.desktopIDs(two), (std::vector<std::uint64_t>{10}));
    EXPECT_EQ(catalog.displayIdentifier(2), one); // full-screen Spaces belong to their display too
    EXPECT_EQ(catalog.displayIdentifier(10), two);
    EXPECT_EQ(catalog.currentSpaceID(one), 3u);
    EXPECT_EQ(catalog.currentSpaceID(two), 10u);
}

TEST(SpaceCatalogParsing, UnknownDisplayHasNoDesktopsAndNoCurrentSpace) {
    const SpaceCatalog catalog = twoDisplays();
    EXPECT_TRUE(catalog.desktopIDs(QStringLiteral("elsewhere")).empty());
    EXPECT_EQ(catalog.currentSpaceID(QStringLiteral("elsewhere")), std::nullopt);
    EXPECT_EQ(catalog.displayIdentifier(99), std::nullopt);
}

TEST(SpaceCatalogParsing, OtherTypesAreLabelledByTheirId) {
    const SpaceCatalog catalog =
        SpaceCatalog::parse({display(one, QVariantList{space(id(77), 2), space(id(78))})});
    EXPECT_EQ(catalog.label(77), QStringLiteral("Space #77"));
    EXPECT_EQ(catalog.label(78), QStringLiteral("Desktop 1"));
    EXPECT_EQ(catalog.desktopIDs(one), (std::vector<std::uint64_t>{78}));
}

TEST(SpaceCatalogParsing, MissingOrNonNumericTypeIsAnOrdinaryDesktop) {
    const SpaceCatalog catalog = SpaceCatalog::parse({display(
        one, QVariantList{space(id(5), QVariant()), space(id(6), QStringLiteral("4")), space(id(7), 4.0)})});
    EXPECT_EQ(catalog.label(5), QStringLiteral("Desktop 1"));
    EXPECT_EQ(catalog.label(6), QStringLiteral("Desktop 2"));
    EXPECT_EQ(catalog.label(7), QStringLiteral("Fullscreen"));
}

TEST(SpaceCatalogParsing, DisplayWithoutIdentifierContributesLabelsOnly) {
    const SpaceCatalog catalog = SpaceCatalog::parse(
        {display(std::nullopt, QVariantList{space(id(1)), space(id(2), 4)}, QVariantMap{{"id64", id(1)}}),
         display(two, QVariantList{space(id(3))})});
    EXPECT_EQ(catalog.label(1), QStringLiteral("Desktop 1"));
    EXPECT_EQ(catalog.label(2), QStringLiteral("Fullscreen"));
    EXPECT_EQ(catalog.label(3), QStringLiteral("Desktop 2"));
    EXPECT_EQ(catalog.displayIdentifier(1), std::nullopt);
    EXPECT_EQ(catalog.displayIdentifier(2), std::nullopt);
    EXPECT_EQ(catalog.currentSpaceByDisplay.size(), 0u);
    EXPECT_EQ(catalog.desktopsByDisplay.size(), 1u);
    EXPECT_EQ(catalog.displayBySpace.size(), 1u);
}

TEST(SpaceCatalogParsing, NonStringIdentifierIsNoIdentifier) {
    QVariantMap numbered = display(std::nullopt, QVariantList{space(id(1))}, QVariantMap{{"id64", id(1)}});
    numbered.insert(QStringLiteral("Display Identifier"), 1);
    const SpaceCatalog catalog = SpaceCatalog::parse({numbered});
    EXPECT_EQ(catalog.label(1), QStringLiteral("Desktop 1"));
    EXPECT_TRUE(catalog.displayBySpace.empty());
    EXPECT_TRUE(catalog.currentSpaceByDisplay.empty());
    EXPECT_TRUE(catalog.desktopsByDisplay.empty());
}

TEST(SpaceCatalogParsing, SpaceWithoutNumericIdIsSkippedAndNotCounted) {
    const SpaceCatalog catalog = SpaceCatalog::parse(
        {display(one, QVariantList{space(QVariant()), space(QStringLiteral("4")), space(id(8))})});
    EXPECT_EQ(catalog.labelsBySpace.size(), 1u);
    EXPECT_EQ(catalog.label(8), QStringLiteral("Desktop 1"));
    EXPECT_EQ(catalog.desktopIDs(one), (std::vector<std::uint64_t>{8}));
}

TEST(SpaceCatalogParsing, AnyNumericKindIsAnId) {
    const SpaceCatalog catalog =
        SpaceCatalog::parse({display(one, QVariantList{space(1), space(2u), space(3.0), space(qlonglong(4)),
                                                       space(id(0xFFFFFFFFFFFFFFFFull))})});
    EXPECT_EQ(catalog.desktopIDs(one), (std::vector<std::uint64_t>{1, 2, 3, 4, 0xFFFFFFFFFFFFFFFFull}));
}

TEST(SpaceCatalogParsing, MalformedSpacesListLosesOnlyThatDisplaysSpaces) {
    const SpaceCatalog catalog =
        SpaceCatalog::parse({display(one, QStringLiteral("not a list"), QVariantMap{{"id64", id(1)}}),
                             display(two, QVariantList{space(id(2)), QStringLiteral("junk")}),
                             display(QStringLiteral("display-3"), QVariantList{space(id(3))})});
    EXPECT_EQ(catalog.currentSpaceID(one), 1u);
    EXPECT_EQ(catalog.label(2), std::nullopt);
    EXPECT_EQ(catalog.label(3), QStringLiteral("Desktop 1"));
    EXPECT_TRUE(catalog.desktopIDs(two).empty());
}

TEST(SpaceCatalogParsing, CurrentSpaceNeedsADictionaryWithANumericId) {
    const SpaceCatalog catalog = SpaceCatalog::parse(
        {display(one, QVariantList{}, id(5)), display(two, QVariantList{}, QVariantMap{{"id64", "5"}}),
         display(QStringLiteral("display-3"), QVariantList{}, QVariantMap{{"id64", 5}})});
    EXPECT_EQ(catalog.currentSpaceID(one), std::nullopt);
    EXPECT_EQ(catalog.currentSpaceID(two), std::nullopt);
    EXPECT_EQ(catalog.currentSpaceID(QStringLiteral("display-3")), 5u);
}

TEST(SpaceCatalogParsing, LaterLabelForTheSameIdWins) {
    const SpaceCatalog catalog =
        SpaceCatalog::parse({display(one, QVariantList{space(id(1)), space(id(1), 4), space(id(2))})});
    EXPECT_EQ(catalog.label(1), QStringLiteral("Fullscreen"));
    // The first entry was still counted as a desktop.
    EXPECT_EQ(catalog.label(2), QStringLiteral("Desktop 2"));
}

TEST(SpaceCatalogParsing, EmptyListGivesFourEmptyMaps) {
    EXPECT_EQ(SpaceCatalog::parse({}), SpaceCatalog{});
    const SpaceCatalog empty = SpaceCatalog::parse({});
    EXPECT_TRUE(empty.labelsBySpace.empty() && empty.displayBySpace.empty() &&
                empty.currentSpaceByDisplay.empty() && empty.desktopsByDisplay.empty());
}
