#include "Updates/AboutView.h"

#include "Platform/Fake/FakePlatform.h"
#include "Updates/AppVersion.h"
#include "Updates/SparkleUpdateController.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class AboutPage : public ::testing::Test {
protected:
    AboutPage() { view.resize(640, 480); }

    QPushButton* button(const QString& text) {
        for (QPushButton* candidate : view.findChildren<QPushButton*>())
            if (candidate->text() == text) return candidate;
        return nullptr;
    }
    QPushButton* checkButton() { return button(QStringLiteral("Check for Updates")); }
    bool hasLabel(const QString& text) {
        for (QLabel* label : view.findChildren<QLabel*>())
            if (label->text() == text) return true;
        return false;
    }
    FakeUpdater& updater() { return fake->fakeUpdater; }

    ScopedFakePlatform fake;
    SparkleUpdateController controller;
    AboutView view{controller};
};

const QString idleText = QString::fromUtf8("Manual check only — automatic updates are off.");

} // namespace

TEST_F(AboutPage, ShowsIconNameVersionAndBothButtons) {
    EXPECT_TRUE(hasLabel(QStringLiteral("Kestavon")));
    EXPECT_TRUE(
        hasLabel(QStringLiteral("Version %1 (%2)").arg(AppVersion::shortVersion(), AppVersion::build())));
    EXPECT_NE(button(QStringLiteral("Open Website")), nullptr);
    ASSERT_NE(checkButton(), nullptr);

    bool sawIcon = false;
    for (QLabel* label : view.findChildren<QLabel*>()) {
        if (label->pixmap().isNull()) continue;
        sawIcon = true;
        EXPECT_EQ(label->size(), QSize(96, 96));
    }
    EXPECT_TRUE(sawIcon);
}

// Every state's text, with the button off only while a check or a download runs.
TEST_F(AboutPage, EachStateShowsItsTextAndTheButtonWorksOnlyWhenNothingRuns) {
    ASSERT_EQ(controller.start(), std::nullopt);
    EXPECT_TRUE(hasLabel(idleText));
    EXPECT_TRUE(checkButton()->isEnabled());

    checkButton()->click();
    EXPECT_EQ(updater().checkCalls, 1);
    EXPECT_TRUE(hasLabel(QString::fromUtf8("Checking for updates…")));
    EXPECT_FALSE(checkButton()->isEnabled());
    updater().didNotFindUpdate();
    EXPECT_TRUE(hasLabel(QStringLiteral("You're up to date.")));
    EXPECT_TRUE(checkButton()->isEnabled());

    checkButton()->click();
    updater().willDownloadUpdate();
    EXPECT_TRUE(hasLabel(QString::fromUtf8("Downloading update… 0%")));
    EXPECT_FALSE(checkButton()->isEnabled());
    updater().didDownloadUpdate();
    EXPECT_TRUE(hasLabel(idleText));
    EXPECT_TRUE(checkButton()->isEnabled());

    checkButton()->click();
    updater().failedToDownloadUpdate(QStringLiteral("The disk is full."));
    EXPECT_TRUE(hasLabel(QStringLiteral("Update failed: The disk is full.")));
    EXPECT_TRUE(checkButton()->isEnabled());
}

TEST_F(AboutPage, RefusedStartIsShownAndPressingCheckKeepsTheReason) {
    updater().startError = QStringLiteral("No update feed address is configured.");
    const std::optional<QString> error = controller.start();
    ASSERT_TRUE(error.has_value());
    controller.showStartFailure(*error);
    const QString shown = QStringLiteral("Update failed: No update feed address is configured.");
    EXPECT_TRUE(hasLabel(shown));
    EXPECT_TRUE(checkButton()->isEnabled());

    checkButton()->click();
    EXPECT_TRUE(hasLabel(shown));
    EXPECT_TRUE(checkButton()->isEnabled());
}

TEST_F(AboutPage, OpenWebsiteHandsTheSecureAddressToTheWorkspace) {
    button(QStringLiteral("Open Website"))->click();
    std::lock_guard lock(fake->desktop.mutex);
    ASSERT_EQ(fake->desktop.openedURLs.size(), 1u);
    EXPECT_EQ(fake->desktop.openedURLs.front(), AboutView::websiteAddress());
    EXPECT_TRUE(AboutView::websiteAddress().startsWith(QStringLiteral("https://")));
}
