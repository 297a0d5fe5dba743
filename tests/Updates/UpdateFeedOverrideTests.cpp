#include "Updates/UpdateFeedOverride.h"

#include "support/TestSupport.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<QSettings> freshSettings() {
    return std::make_unique<QSettings>(TestSupport::freshFolder() + QStringLiteral("/defaults.ini"),
                                       QSettings::IniFormat);
}

} // namespace

TEST(UpdateFeedOverride, NothingStoredGivesNothing) {
    EXPECT_EQ(UpdateFeedOverride::urlString(*freshSettings()), std::nullopt);
}

TEST(UpdateFeedOverride, BlankValuesGiveNothing) {
    auto settings = freshSettings();
    for (const QString& blank : {QString(), QStringLiteral(""), QStringLiteral(" \n\t \r\n ")}) {
        settings->setValue(QStringLiteral("SUFeedURL"), blank);
        EXPECT_EQ(UpdateFeedOverride::urlString(*settings), std::nullopt) << blank.toStdString();
    }
}

TEST(UpdateFeedOverride, SurroundingSpaceIsTrimmedAndTheRestKeptAsIs) {
    auto settings = freshSettings();
    settings->setValue(QStringLiteral("SUFeedURL"), QStringLiteral("  \nhttps://feeds.example/a b.xml \t"));
    EXPECT_EQ(UpdateFeedOverride::urlString(*settings), QStringLiteral("https://feeds.example/a b.xml"));
    // Not checked as an address.
    settings->setValue(QStringLiteral("SUFeedURL"), QStringLiteral("not an address"));
    EXPECT_EQ(UpdateFeedOverride::urlString(*settings), QStringLiteral("not an address"));
}

TEST(UpdateFeedOverride, ValueThatIsNotTextGivesNothing) {
    auto settings = freshSettings();
    settings->setValue(QStringLiteral("SUFeedURL"),
                       QStringList{QStringLiteral("https://a.example/feed.xml")});
    EXPECT_EQ(UpdateFeedOverride::urlString(*settings), std::nullopt);
}
