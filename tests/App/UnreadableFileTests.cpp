#include "AppTestSupport.h"

#include "App/TabBarButton.h"
#include "Keyboard/KeyBindingStore.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace AppTestSupport;

namespace {

const QByteArray goodBindings =
    R"([{"key":"1-q","entry":{"bundleId":"com.apple.Notes","path":"\/Applications\/Notes.app","name":"Notes"}},)"
    R"({"key":"2-a","entry":{"bundleId":"com.apple.mail","path":"\/Applications\/Mail.app","name":"Mail"}}])";
const QByteArray goodStats = R"({"totalSuccess":7,"perApp":{"com.apple.mail":{"name":"Mail","count":7}}})";

// A file that is well formed but one byte over the limit of what is read.
QByteArray oversized(const QByteArray& good, qint64 limit) {
    return good + QByteArray(limit - good.size() + 1, ' ');
}

// One kind of file that cannot be used, for each of the two data files, and part of why the
// window says it could not be read: what the reader found, or its size. The readers' own tables
// hold every other kind.
struct BadFile {
    const char* name;
    QByteArray bindings;
    const char* bindingsWhy;
    QByteArray stats;
    const char* statsWhy;
};

const BadFile badFiles[] = {
    {"CutShort", goodBindings.chopped(40), "unexpected end of data", goodStats.chopped(9),
     "it is not valid JSON ("},
    {"OverTheLimit", oversized(goodBindings, KeyBindingStore::maxFileBytes), "it is larger than 1 MiB",
     oversized(goodStats, UsageStats::maxFileBytes), "it is larger than 16 MiB"},
};

void PrintTo(const BadFile& bad, std::ostream* out) {
    *out << bad.name;
}

class UnreadableFile : public ::testing::TestWithParam<BadFile> {};

// The fake clock's time at the start of a test, as the kept file's name carries it.
const QString keptSuffix = ".unreadable-20260307-140509";

// A bindings file that cannot be used counts as empty for the hotkeys; the Keys tab says why
// and where it is, and the first binding keeps its bytes beside the new file.
TEST_P(UnreadableFile, BindingsAreKeptAsideAtTheFirstBindingAndTheKeysTabSaysWhyAndWhere) {
    const BadFile& bad = GetParam();
    Window window(MacWords::words(), {{"keyBindings.json", bad.bindings}});
    window.show();
    EXPECT_EQ(KeyBindingStore::lookup(window.bindingsFile, u"1-q").count, 0);
    EXPECT_TRUE(window.keyboard().bindings().isEmpty());
    const QString notice = window.notice();
    EXPECT_TRUE(notice.startsWith("Your key bindings could not be read: ")) << notice.toStdString();
    EXPECT_TRUE(notice.contains(bad.bindingsWhy)) << notice.toStdString();
    EXPECT_TRUE(notice.contains(window.bindingsFile)) << notice.toStdString();

    ASSERT_TRUE(window.bindInPicker("3-z", "com.apple.Terminal"));
    const QString kept = window.bindingsFile + keptSuffix;
    EXPECT_EQ(TestSupport::readAll(kept), bad.bindings);
    EXPECT_EQ(KeyBindingStore::snapshot(window.bindingsFile).keys(), QStringList{"3-z"});
    EXPECT_TRUE(window.notice().contains("It was kept as " + kept)) << window.notice().toStdString();

    // Kept once: later changes replace only the new file.
    ASSERT_TRUE(window.bindInPicker("3-x", "com.apple.mail"));
    EXPECT_EQ(QDir(window.folder).entryList(QDir::Files),
              (QStringList{"keyBindings.json", "keyBindings.json" + keptSuffix}));
}

// The same for the jump counts and the Stats tab; the tab's Reset is the window's first save.
TEST_P(UnreadableFile, CountsAreKeptAsideAtTheFirstSaveAndTheStatsTabSaysWhyAndWhere) {
    const BadFile& bad = GetParam();
    Window window(MacWords::words(), {{"usageStats.json", bad.stats}});
    window.show();
    QTest::mouseClick(window.view->findChild<TabBarButton*>("tab-stats"), Qt::LeftButton);
    EXPECT_EQ(window.stats.stats(), UsageStats{});
    const QString notice = window.notice();
    EXPECT_TRUE(notice.startsWith("Your jump counts could not be read: ")) << notice.toStdString();
    EXPECT_TRUE(notice.contains(bad.statsWhy)) << notice.toStdString();
    EXPECT_TRUE(notice.contains(window.stats.fileURL())) << notice.toStdString();

    QTest::mouseClick(window.view->findChild<QWidget*>("stats")->findChild<QPushButton*>("reset"),
                      Qt::LeftButton);
    const QString kept = window.stats.fileURL() + keptSuffix;
    EXPECT_EQ(TestSupport::readAll(kept), bad.stats);
    EXPECT_TRUE(TestSupport::processEventsUntil([&] {
        return window.notice().contains("It was kept as " + kept);
    })) << window.notice().toStdString();
    EXPECT_EQ(UsageStats::snapshot(window.stats.fileURL()), UsageStats{});

    // Each tab tells of its own file only.
    QTest::mouseClick(window.view->findChild<TabBarButton*>("tab-keys"), Qt::LeftButton);
    EXPECT_EQ(window.notice(), "");
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnreadableFile, ::testing::ValuesIn(badFiles),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
