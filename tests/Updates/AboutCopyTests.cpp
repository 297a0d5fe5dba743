#include "Updates/AboutCopy.h"

#include <gtest/gtest.h>

#include <limits>

// The expected texts are written with the real characters (ellipsis, em dash) on purpose.
TEST(AboutCopy, StatusTextOfEveryState) {
    EXPECT_EQ(AboutCopy::status(UpdateCheckState::idle()),
              QString::fromUtf8("Manual check only — automatic updates are off."));
    EXPECT_EQ(AboutCopy::status(UpdateCheckState::checking()), QString::fromUtf8("Checking for updates…"));
    EXPECT_EQ(AboutCopy::status(UpdateCheckState::downloading(0.0)),
              QString::fromUtf8("Downloading update… 0%"));
    EXPECT_EQ(AboutCopy::status(UpdateCheckState::upToDate()), QStringLiteral("You're up to date."));
    EXPECT_EQ(AboutCopy::status(UpdateCheckState::failed(QStringLiteral("The network is down."))),
              QStringLiteral("Update failed: The network is down."));
}

TEST(AboutCopy, FailureMessageIsShownAsGiven) {
    // Percent signs and placeholders in a framework message are not formatting.
    EXPECT_EQ(AboutCopy::status(UpdateCheckState::failed(QStringLiteral("50% of %1 done"))),
              QStringLiteral("Update failed: 50% of %1 done"));
    EXPECT_EQ(AboutCopy::status(UpdateCheckState::failed(QString())), QStringLiteral("Update failed: "));
}

TEST(AboutCopy, DownloadPercentageRoundsHalvesUpAndClamps) {
    struct Row {
        double fraction;
        int percent;
    };
    const Row table[] = {
        {0.5, 50},
        {0.004, 0},
        {0.005, 1},
        {0.125, 13},
        {1.7, 100},
        {0.0, 0},
        {-0.3, 0},
        {1.0, 100},
        {0.994, 99},
        {0.995, 100},
        {0.015, 2},
        {1e-9, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 100},
    };
    for (const Row& row : table) {
        EXPECT_EQ(AboutCopy::percent(row.fraction), row.percent) << row.fraction;
        EXPECT_EQ(AboutCopy::status(UpdateCheckState::downloading(row.fraction)),
                  QString::fromUtf8("Downloading update… %1%").arg(row.percent))
            << row.fraction;
    }
}
