#include "Updates/UpdateFeedOverride.h"

#include "support/TestSupport.h"

#include <QSettings>

#include <gtest/gtest.h>

TEST(UpdateFeedOverride, NothingBlankOrNotTextGivesNothing) {
    QSettings settings(TestSupport::freshFolder() + QStringLiteral("/defaults.ini"), QSettings::IniFormat);
    EXPECT_EQ(UpdateFeedOverride::urlString(settings), std::nullopt);
    const QVariant values[] = {QString(), QStringLiteral(" \n\t \r\n "),
                               QStringList{QStringLiteral("https://a.example/feed.xml")}};
    for (const QVariant& value : values) {
        settings.setValue(QStringLiteral("SUFeedURL"), value);
        EXPECT_EQ(UpdateFeedOverride::urlString(settings), std::nullopt) << value.toString().toStdString();
    }
}

TEST(UpdateFeedOverride, SurroundingSpaceIsTrimmedAndTheRestKeptAsIs) {
    QSettings settings(TestSupport::freshFolder() + QStringLiteral("/defaults.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("SUFeedURL"), QStringLiteral("  \nhttps://feeds.example/a b.xml \t"));
    EXPECT_EQ(UpdateFeedOverride::urlString(settings), QStringLiteral("https://feeds.example/a b.xml"));
    // Not checked as an address.
    settings.setValue(QStringLiteral("SUFeedURL"), QStringLiteral("not an address"));
    EXPECT_EQ(UpdateFeedOverride::urlString(settings), QStringLiteral("not an address"));
}
