#include "Updates/SparkleUpdateController.h"

#include "Platform/Fake/FakePlatform.h"
#include "UpdatePrinters.h"
#include "Updates/UpdateFeedOverride.h"
#include "support/TestSupport.h"

#include <QSettings>

#include <gtest/gtest.h>

// The framework's messages, each to its state, are the About tab's and the feed checks'.
TEST(UpdateController, ChecksFailWithAReasonUntilAStartWorksAndLaterStartsDoNothing) {
    ScopedFakePlatform fake;
    FakeUpdater& updater = fake->fakeUpdater;
    SparkleUpdateController controller;
    controller.checkForUpdates();
    EXPECT_EQ(controller.state(), UpdateCheckState::failed(SparkleUpdateController::notStartedMessage()));
    EXPECT_FALSE(controller.state().message().isEmpty());

    const QString reason = QStringLiteral("The updater is misconfigured.");
    updater.startError = reason;
    EXPECT_EQ(controller.start(), reason);
    EXPECT_FALSE(controller.hasUpdater());
    controller.showStartFailure(reason);
    controller.checkForUpdates(); // instead of hanging on "checking"
    EXPECT_EQ(controller.state(), UpdateCheckState::failed(reason));
    EXPECT_EQ(updater.checkCalls, 0);

    updater.startError.reset();
    EXPECT_EQ(controller.start(), std::nullopt);
    EXPECT_EQ(updater.delegate(), &controller);
    updater.startError = QStringLiteral("would fail now");
    EXPECT_EQ(controller.start(), std::nullopt);
    EXPECT_EQ(updater.startCalls, 2);
}

// The user's feed address, which the controller hands to the updater; the feed checks trim one.
TEST(UpdateFeedOverride, TextIsTrimmedAndKeptAsIsAndAnythingElseGivesNothing) {
    QSettings settings(TestSupport::freshFolder() + QStringLiteral("/defaults.ini"), QSettings::IniFormat);
    EXPECT_EQ(UpdateFeedOverride::urlString(settings), std::nullopt);
    const std::pair<QVariant, std::optional<QString>> table[] = {
        {QString(), std::nullopt},
        {QStringLiteral(" \n\t \r\n "), std::nullopt},
        {QStringList{QStringLiteral("https://a.example/feed.xml")}, std::nullopt},
        {QStringLiteral("not an address"), QStringLiteral("not an address")},
    };
    for (const auto& [value, expected] : table) {
        settings.setValue(QLatin1String(UpdateFeedOverride::key), value);
        EXPECT_EQ(UpdateFeedOverride::urlString(settings), expected) << value.toString().toStdString();
    }
}
