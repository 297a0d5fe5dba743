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

/// The label of each Space, "-" where there is none.
QStringList labels(const SpaceCatalog& catalog, std::initializer_list<std::uint64_t> ids) {
    QStringList found;
    for (const std::uint64_t id : ids)
        found.append(catalog.label(id).value_or(QStringLiteral("-")));
    return found;
}

const QString one = QStringLiteral("display-1");
const QString two = QStringLiteral("display-2");

} // namespace

TEST(SpaceCatalogParsing, DesktopsAreNumberedAcrossDisplaysAndKeyedByDisplay) {
    const SpaceCatalog catalog =
        SpaceCatalog::parse({display(one, QVariantList{space(id(1)), space(id(2), 4), space(id(3))},
                                     QVariantMap{{"id64", id(3)}}),
                             display(two, QVariantList{space(id(10))}, QVariantMap{{"id64", id(10)}})});
    EXPECT_EQ(labels(catalog, {1, 2, 3, 10, 99}),
              (QStringList{"Desktop 1", "Fullscreen", "Desktop 2", "Desktop 3", "-"}));
    EXPECT_EQ(catalog.desktopIDs(one), (std::vector<std::uint64_t>{1, 3}));
    EXPECT_EQ(catalog.desktopIDs(two), (std::vector<std::uint64_t>{10}));
    EXPECT_EQ(catalog.displayIdentifier(2), one); // full-screen Spaces belong to their display too
    EXPECT_EQ(catalog.displayIdentifier(10), two);
    EXPECT_EQ(catalog.currentSpaceID(one), 3u);
    EXPECT_EQ(catalog.currentSpaceID(two), 10u);
    EXPECT_TRUE(catalog.desktopIDs(QStringLiteral("elsewhere")).empty());
    EXPECT_EQ(catalog.currentSpaceID(QStringLiteral("elsewhere")), std::nullopt);
    EXPECT_EQ(catalog.displayIdentifier(99), std::nullopt);
}

TEST(SpaceCatalogParsing, NumericTypeDecidesTheLabelAndAnyOtherIsAnOrdinaryDesktop) {
    const SpaceCatalog catalog = SpaceCatalog::parse(
        {display(one, QVariantList{space(id(77), 2), space(id(78)), space(id(5), QVariant()),
                                   space(id(6), QStringLiteral("4")), space(id(7), 4.0)})});
    EXPECT_EQ(labels(catalog, {77, 78, 5, 6, 7}),
              (QStringList{"Space #77", "Desktop 1", "Desktop 2", "Desktop 3", "Fullscreen"}));
    EXPECT_EQ(catalog.desktopIDs(one), (std::vector<std::uint64_t>{78, 5, 6}));
}

TEST(SpaceCatalogParsing, DisplayWithoutStringIdentifierContributesLabelsOnly) {
    QVariantMap numbered = display(std::nullopt, QVariantList{space(id(4))}, QVariantMap{{"id64", id(4)}});
    numbered.insert(QStringLiteral("Display Identifier"), 1);
    const SpaceCatalog catalog = SpaceCatalog::parse(
        {display(std::nullopt, QVariantList{space(id(1)), space(id(2), 4)}, QVariantMap{{"id64", id(1)}}),
         numbered, display(two, QVariantList{space(id(3))})});
    EXPECT_EQ(labels(catalog, {1, 2, 4, 3}),
              (QStringList{"Desktop 1", "Fullscreen", "Desktop 2", "Desktop 3"}));
    EXPECT_EQ(catalog.displayIdentifier(1), std::nullopt);
    EXPECT_EQ(catalog.displayIdentifier(2), std::nullopt);
    EXPECT_EQ(catalog.displayIdentifier(4), std::nullopt);
    EXPECT_TRUE(catalog.currentSpaceByDisplay.empty());
    EXPECT_EQ(catalog.desktopsByDisplay.size(), 1u);
    EXPECT_EQ(catalog.displayBySpace.size(), 1u);
}

TEST(SpaceCatalogParsing, AnyNumericKindIsAnIdAndASpaceWithoutOneIsSkippedAndNotCounted) {
    const SpaceCatalog catalog = SpaceCatalog::parse(
        {display(one, QVariantList{space(QVariant()), space(QStringLiteral("4")), space(1), space(2u),
                                   space(3.0), space(qlonglong(4)), space(id(0xFFFFFFFFFFFFFFFFull))})});
    EXPECT_EQ(catalog.desktopIDs(one), (std::vector<std::uint64_t>{1, 2, 3, 4, 0xFFFFFFFFFFFFFFFFull}));
    EXPECT_EQ(catalog.labelsBySpace.size(), 5u);
    EXPECT_EQ(catalog.label(1), QStringLiteral("Desktop 1"));
}

TEST(SpaceCatalogParsing, MalformedSpacesListLosesOnlyThatDisplaysSpaces) {
    const SpaceCatalog catalog =
        SpaceCatalog::parse({display(one, QStringLiteral("not a list"), QVariantMap{{"id64", id(1)}}),
                             display(two, QVariantList{space(id(2)), QStringLiteral("junk")}),
                             display(QStringLiteral("display-3"), QVariantList{space(id(3))})});
    EXPECT_EQ(catalog.currentSpaceID(one), 1u);
    EXPECT_EQ(labels(catalog, {2, 3}), (QStringList{"-", "Desktop 1"}));
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

TEST(SpaceCatalogParsing, LaterLabelForTheSameIdWinsButTheEarlierDesktopWasCounted) {
    const SpaceCatalog catalog =
        SpaceCatalog::parse({display(one, QVariantList{space(id(1)), space(id(1), 4), space(id(2))})});
    EXPECT_EQ(labels(catalog, {1, 2}), (QStringList{"Fullscreen", "Desktop 2"}));
}
