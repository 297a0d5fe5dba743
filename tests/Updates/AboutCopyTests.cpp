#include "Updates/AboutCopy.h"

#include <gtest/gtest.h>

#include <limits>

// The About tab's tests show the text of every state; these are the edge cases of two of them.
TEST(AboutCopy, FailureMessageIsShownAsGiven) {
    // Percent signs and placeholders in a framework message are not formatting.
    EXPECT_EQ(AboutCopy::status(UpdateCheckState::failed(QStringLiteral("50% of %1 done"))),
              QStringLiteral("Update failed: 50% of %1 done"));
    EXPECT_EQ(AboutCopy::status(UpdateCheckState::failed(QString())), QStringLiteral("Update failed: "));
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
