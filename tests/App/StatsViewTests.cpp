#include "AppTestSupport.h"

#include "App/TabBarButton.h"
#include "Platform/MacOS/MacWords.h"
#include "Platform/X11/X11Words.h"
#include "Stats/DigitsView.h"
#include "Stats/StatsView.h"
#include "Stats/TopAppRowView.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace AppTestSupport;

namespace {

// The Stats tab of a window, over the window's own statistics file.
struct StatsTab {
    explicit StatsTab(const PlatformWords& words = MacWords::words()) : window(words) {
        window.show();
        QTest::mouseClick(window.view->findChild<TabBarButton*>("tab-stats"), Qt::LeftButton);
        view = window.view->findChild<StatsView*>("stats");
    }
    QString total() const { return view->findChild<DigitsView*>("total")->text(); }
    QString summary() const { return view->findChild<QLabel*>("summary")->text(); }
    bool topAppsShown() const { return view->findChild<QWidget*>("topApps")->isVisible(); }
    QList<std::pair<QString, std::int64_t>> rows() const {
        QList<std::pair<QString, std::int64_t>> out;
        for (auto* row : view->findChildren<TopAppRowView*>())
            out.append({row->name(), row->count()});
        return out;
    }

    Window window;
    StatsView* view = nullptr;
};

TEST(StatsViewCounts, StartsEmptyShowsTheTotalAndTheFiveBestRankedAndResetClearsTheFile) {
    const QString emptyLine = "No successful jumps yet. Jump to an app and it will show up here.";
    StatsTab tab;
    EXPECT_EQ(tab.summary(), emptyLine);
    const QList<std::pair<QString, int>> jumps{{"Mail", 1},  {"Notes", 4}, {"Safari", 7}, {"Terminal", 4},
                                               {"Xcode", 2}, {"Music", 1}, {"Finder", 3}};
    for (const auto& [name, count] : jumps) {
        for (int i = 0; i < count; ++i)
            tab.window.stats.recordSuccess(name, "com.example." + name);
    }
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return tab.total() == "22"; }));
    EXPECT_EQ(tab.summary(), "Counted when a jump brings the app to the front.");
    EXPECT_TRUE(tab.topAppsShown());
    const QList<std::pair<QString, std::int64_t>> expected{
        {"Safari", 7}, {"Notes", 4}, {"Terminal", 4}, {"Finder", 3}, {"Xcode", 2}};
    EXPECT_EQ(tab.rows(), expected);

    QTest::mouseClick(tab.view->findChild<QPushButton*>("reset"), Qt::LeftButton);
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return tab.total() == "0"; }));
    EXPECT_EQ(tab.summary(), emptyLine);
    EXPECT_FALSE(tab.topAppsShown());
    EXPECT_TRUE(tab.rows().isEmpty());
    EXPECT_EQ(TestSupport::readAll(tab.window.stats.fileURL()), R"({"totalSuccess":0,"perApp":{}})");
}

TEST(StatsViewRows, LongNameIsCutToOneLineAndTheCountStaysVisible) {
    TopAppRowView row(QString(200, QChar('W')), 12345);
    row.resize(380, row.sizeHint().height());
    EXPECT_TRUE(row.shownName().endsWith(QChar(0x2026)));
    EXPECT_LT(row.fontMetrics().horizontalAdvance(row.shownName()),
              380 - row.fontMetrics().horizontalAdvance("12345"));
}

TEST(StatsViewInstructions, SpeakThePlatformsWordsAndHighlightItsTriggerKey) {
    const struct {
        PlatformWords words;
        QString jump;
        QString highlighted;
        QString setup;
    } cases[] = {
        {MacWords::words(), "Hold the right Command key and press a bound key to jump to that app.",
         ">right Command</span>",
         "First time? Allow Kestavon in System Settings > Privacy & Security > Accessibility."},
        {x11Words(), "Hold the right Super key and press a bound key to jump to that app.", ">right Super</span>",
         "Hotkeys work in an X11 (Xorg) session and in sway; other Wayland sessions are not served yet."},
    };
    for (const auto& c : cases) {
        StatsTab tab(c.words);
        const auto* second = tab.view->findChild<QLabel*>("instruction1");
        EXPECT_EQ(plainText(second->text()), c.jump);
        EXPECT_TRUE(second->text().contains(c.highlighted)) << second->text().toStdString();
        EXPECT_FALSE(tab.view->findChild<QLabel*>("instruction0")->text().contains("<span"));
        EXPECT_EQ(plainText(tab.view->findChild<QLabel*>("instruction2")->text()), c.setup);
    }
}

} // namespace
