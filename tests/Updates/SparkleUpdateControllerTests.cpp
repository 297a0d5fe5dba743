#include "Updates/SparkleUpdateController.h"

#include "Platform/Fake/FakePlatform.h"
#include "UpdatePrinters.h"
#include "Updates/UpdateFeedOverride.h"
#include "support/TestSupport.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <vector>

namespace {

class UpdateController : public ::testing::Test {
protected:
    UpdateController() {
        QObject::connect(&controller, &SparkleUpdateController::stateChanged, [this] {
            // The tracker is written first, so it already agrees when observers hear of a change.
            trackerAgreed = trackerAgreed && controller.tracker().state == controller.state();
            published.push_back(controller.state());
        });
    }

    FakeUpdater& updater() { return fake->fakeUpdater; }

    ScopedFakePlatform fake;
    SparkleUpdateController controller;
    std::vector<UpdateCheckState> published;
    bool trackerAgreed = true;
};

} // namespace

TEST_F(UpdateController, ChecksFailWithAReasonUntilAStartWorksAndLaterStartsDoNothing) {
    controller.checkForUpdates();
    EXPECT_EQ(controller.state(), UpdateCheckState::failed(SparkleUpdateController::notStartedMessage()));
    EXPECT_FALSE(controller.state().message().isEmpty());

    const QString reason = QStringLiteral("The updater is misconfigured.");
    updater().startError = reason;
    EXPECT_EQ(controller.start(), reason);
    EXPECT_FALSE(controller.hasUpdater());
    controller.showStartFailure(reason);
    controller.checkForUpdates(); // instead of hanging on "checking"
    EXPECT_EQ(controller.state(), UpdateCheckState::failed(reason));
    EXPECT_EQ(updater().checkCalls, 0);

    updater().startError.reset();
    EXPECT_EQ(controller.start(), std::nullopt);
    EXPECT_EQ(updater().delegate(), &controller);
    controller.checkForUpdates();
    EXPECT_EQ(controller.state(), UpdateCheckState::checking());
    EXPECT_EQ(updater().checkCalls, 1);
    updater().startError = QStringLiteral("would fail now");
    EXPECT_EQ(controller.start(), std::nullopt);
    EXPECT_EQ(updater().startCalls, 2);
    EXPECT_TRUE(trackerAgreed);
}

TEST_F(UpdateController, EveryMessageIsTakenWhateverTheStateBefore) {
    ASSERT_EQ(controller.start(), std::nullopt);
    controller.checkForUpdates();
    EXPECT_EQ(updater().checkCalls, 1);
    // No message looks at the state before it: each one lands, whatever came before.
    ASSERT_TRUE(updater().failedToDownloadUpdate(QStringLiteral("x")));
    ASSERT_TRUE(updater().didNotFindUpdate());
    ASSERT_TRUE(updater().willDownloadUpdate());
    ASSERT_TRUE(updater().willDownloadUpdate());
    ASSERT_TRUE(updater().didNotFindUpdate());
    ASSERT_TRUE(updater().didDownloadUpdate());
    EXPECT_EQ(published,
              (std::vector{UpdateCheckState::checking(), UpdateCheckState::failed(QStringLiteral("x")),
                           UpdateCheckState::upToDate(), UpdateCheckState::downloading(0.0),
                           UpdateCheckState::upToDate(), UpdateCheckState::idle()}));
    EXPECT_TRUE(trackerAgreed);
}

// The user's feed address, which the controller hands to the updater.
TEST(UpdateFeedOverride, TextIsTrimmedAndKeptAsIsAndAnythingElseGivesNothing) {
    QSettings settings(TestSupport::freshFolder() + QStringLiteral("/defaults.ini"), QSettings::IniFormat);
    EXPECT_EQ(UpdateFeedOverride::urlString(settings), std::nullopt);
    const std::pair<QVariant, std::optional<QString>> table[] = {
        {QString(), std::nullopt},
        {QStringLiteral(" \n\t \r\n "), std::nullopt},
        {QStringList{QStringLiteral("https://a.example/feed.xml")}, std::nullopt},
        {QStringLiteral("  \nhttps://feeds.example/a b.xml \t"),
         QStringLiteral("https://feeds.example/a b.xml")},
        {QStringLiteral("not an address"), QStringLiteral("not an address")},
    };
    for (const auto& [value, expected] : table) {
        settings.setValue(QLatin1String(UpdateFeedOverride::key), value);
        EXPECT_EQ(UpdateFeedOverride::urlString(settings), expected) << value.toString().toStdString();
    }
}
