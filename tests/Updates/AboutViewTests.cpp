#include "Updates/AboutView.h"

#include "Platform/Fake/FakePlatform.h"
#include "Updates/AboutCopy.h"
#include "Updates/SparkleUpdateController.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <limits>

namespace {

const QString site = QStringLiteral("https://kestavon.test/");

class AboutPage : public ::testing::Test {
protected:
    AboutPage() { view.resize(640, 480); }

    static QPushButton* button(const QWidget& view, const QString& text) {
        for (QPushButton* candidate : view.findChildren<QPushButton*>())
            if (candidate->text() == text) return candidate;
        return nullptr;
    }
    static bool hasLabel(const QWidget& view, const QString& text) {
        for (QLabel* label : view.findChildren<QLabel*>())
            if (label->text() == text) return true;
        return false;
    }
    QPushButton* checkButton() { return button(view, QStringLiteral("Check for Updates")); }
    bool hasLabel(const QString& text) { return hasLabel(view, text); }
    FakeUpdater& updater() { return fake->fakeUpdater; }

    ScopedFakePlatform fake;
    SparkleUpdateController controller;
    AboutView view{controller, AboutOptions{site, true}};
};

} // namespace

// Every state's text, with the button off only while a check or a download runs.
TEST_F(AboutPage, EachStateShowsItsTextAndTheButtonWorksOnlyWhenNothingRuns) {
    const QString idleText = QString::fromUtf8("Manual check only — automatic updates are off.");
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
    // Percent signs and placeholders in the updater's message are not formatting.
    updater().failedToDownloadUpdate(QStringLiteral("50% of %1 done"));
    EXPECT_TRUE(hasLabel(QStringLiteral("Update failed: 50% of %1 done")));
    EXPECT_TRUE(checkButton()->isEnabled());
}

// What a build leaves out: the website button without a secure address, the check button and
// the controller's states without a feed (the package manager brings updates then). A secure
// address's button hands it to the workspace.
TEST_F(AboutPage, ABuildWithoutAddressesLeavesTheirButtonsOut) {
    struct Case {
        const char* website;
        bool checks;
        bool websiteButton;
    };
    const Case table[] = {
        {"", false, false},
        {"", true, false},
        {"http://kestavon.test/", true, false},
        {"not an address", false, false},
        {"https://kestavon.test/", false, true},
    };
    const QString packageManager = QStringLiteral("Updates come from your system's package manager.");
    for (const Case& row : table) {
        SparkleUpdateController other;
        ASSERT_EQ(other.start(), std::nullopt);
        AboutView built(other, AboutOptions{QString::fromUtf8(row.website), row.checks});
        EXPECT_EQ(button(built, QStringLiteral("Open Website")) != nullptr, row.websiteButton) << row.website;
        EXPECT_EQ(button(built, QStringLiteral("Check for Updates")) != nullptr, row.checks) << row.website;
        other.checkForUpdates();
        updater().didNotFindUpdate();
        EXPECT_EQ(hasLabel(built, packageManager), !row.checks) << row.website;
        EXPECT_EQ(hasLabel(built, QStringLiteral("You're up to date.")), row.checks) << row.website;
    }
    button(view, QStringLiteral("Open Website"))->click();
    std::lock_guard lock(fake->desktop.mutex);
    EXPECT_EQ(fake->desktop.openedURLs, std::vector{site});
}

TEST(AboutCopy, DownloadPercentageRoundsHalvesUpAndClamps) {
    // Decimal halves such as 0.015 are a hair below the half in binary, and still round up.
    const std::pair<double, int> table[] = {
        {0.004, 0},   {0.005, 1},  {0.015, 2},  {0.125, 13},
        {0.994, 99},  {0.995, 100}, {-0.3, 0},  {1.7, 100},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 100},
    };
    for (const auto& [fraction, percent] : table) {
        EXPECT_EQ(AboutCopy::percent(fraction), percent) << fraction;
        // The text is written with the real ellipsis on purpose.
        EXPECT_EQ(AboutCopy::status(UpdateCheckState::downloading(fraction)),
                  QString::fromUtf8("Downloading update… %1%").arg(percent))
            << fraction;
    }
}
