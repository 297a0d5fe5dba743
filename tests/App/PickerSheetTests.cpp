#include "AppTestSupport.h"

#include "Keyboard/AppListView.h"
#include "Keyboard/AppPickerSheet.h"
#include "Keyboard/KeyboardLayout.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>

using namespace AppTestSupport;

namespace {

// One sheet for the key Q over a catalog with a scripted scan; the actions are recorded.
struct Sheet {
    explicit Sheet(std::optional<AppEntry> bound = std::nullopt) : catalog(scan.function()) {
        AppPickerSheet::Actions actions;
        actions.onBind = [this](const AppEntry& entry) { bound_ = entry; };
        actions.onUnbind = [this] { ++unbinds; };
        actions.onAppear = [this] { catalog.loadIfNeeded(); };
        actions.onRefresh = [this] { catalog.rescan(); };
        sheet =
            std::make_unique<AppPickerSheet>(*KeyboardLayout::key("1-q"), bound, catalog, actions, nullptr);
    }
    ~Sheet() { sheet.reset(); }

    void show() {
        sheet->open();
        TestSupport::processEventsUntil([this] { return sheet->isVisible(); });
    }
    bool idle() {
        return TestSupport::processEventsUntil([this] { return !catalog.isLoading(); });
    }
    void type(const QString& text) { QTest::keyClicks(sheet->findChild<QLineEdit*>("search"), text); }
    QString message() const { return sheet->findChild<QLabel*>("message")->text(); }
    QToolButton* refresh() const { return sheet->findChild<QToolButton*>("refresh"); }

    ScriptedScan scan;
    AppCatalogModel catalog;
    std::unique_ptr<AppPickerSheet> sheet;
    std::optional<AppEntry> bound_;
    int unbinds = 0;
};

TEST(PickerSheetOpening, TitlesTheKeyAndFocusesTheSearchField) {
    Sheet s;
    s.show();
    EXPECT_EQ(s.sheet->windowTitle(), "Bind an app to key Q");
    const auto labels = s.sheet->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](const QLabel* label) { return label->text() == "Bind an app to key Q"; }));
    EXPECT_EQ(s.sheet->focusWidget(), s.sheet->findChild<QLineEdit*>("search"));
    EXPECT_EQ(s.sheet->findChild<QLineEdit*>("search")->placeholderText(), "Search apps");
    EXPECT_EQ(s.refresh()->toolTip(), "Rescan installed apps");
}

TEST(PickerSheetOpening, ShowsProgressWithRefreshOffUntilEachScanEndsThenTheList) {
    Sheet s;
    s.scan.hold(true);
    s.show();
    EXPECT_EQ(s.sheet->body(), AppPickerSheet::Body::progress);
    EXPECT_FALSE(s.refresh()->isEnabled());
    s.scan.release();
    ASSERT_TRUE(s.idle());
    EXPECT_EQ(s.sheet->body(), AppPickerSheet::Body::results);
    EXPECT_TRUE(s.refresh()->isEnabled());
    EXPECT_EQ(listedNames(*s.sheet).size(), 5);

    s.scan.setResult({sampleApps()[0]});
    QTest::mouseClick(s.refresh(), Qt::LeftButton);
    EXPECT_EQ(s.sheet->body(), AppPickerSheet::Body::progress);
    EXPECT_FALSE(s.refresh()->isEnabled());
    s.scan.release();
    ASSERT_TRUE(s.idle());
    EXPECT_EQ(listedNames(*s.sheet), QStringList({"Mail"}));
    EXPECT_EQ(s.scan.calls(), 2);
}

TEST(PickerSheetOpening, EmptyCatalogSaysNoAppsWereFound) {
    Sheet s;
    s.scan.setResult({});
    s.show();
    ASSERT_TRUE(s.idle());
    EXPECT_EQ(s.sheet->body(), AppPickerSheet::Body::noApps);
    EXPECT_EQ(s.message(), "No installed apps found");
    s.type("x");
    EXPECT_EQ(s.message(), "No installed apps found");
}

TEST(PickerSheetSearch, NoMatchQuotesTheKeywordAsTyped) {
    Sheet s;
    s.show();
    ASSERT_TRUE(s.idle());
    s.type(" xyz");
    EXPECT_EQ(s.sheet->body(), AppPickerSheet::Body::noMatch);
    EXPECT_EQ(s.message(), QString("No apps matching \u201C xyz\u201D"));
    EXPECT_TRUE(listedNames(*s.sheet).isEmpty());
}

TEST(PickerSheetSearch, AppsWithTheSameNameAreBothListed) {
    Sheet s;
    s.scan.setResult(
        {{"com.one.notes", "/A/Notes.app", "Notes"}, {"com.two.notes", "/B/Notes.app", "Notes"}});
    s.show();
    ASSERT_TRUE(s.idle());
    auto* list = s.sheet->findChild<AppListView*>("results");
    EXPECT_EQ(list->count(), 2);
    ASSERT_TRUE(clickRow(*s.sheet, "com.two.notes"));
    EXPECT_EQ(s.bound_->path, "/B/Notes.app");
}

TEST(PickerSheetChoice, ReturnInTheSearchFieldNeitherUnbindsNorClosesButDownThenReturnPicksTheTopRow) {
    Sheet s(sampleApps()[0]);
    s.show();
    ASSERT_TRUE(s.idle());
    auto* search = s.sheet->findChild<QLineEdit*>("search");
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(s.unbinds, 0);
    EXPECT_TRUE(s.sheet->isVisible());

    s.type("te");
    auto* list = s.sheet->findChild<AppListView*>("results");
    QTest::keyClick(search, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 0);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_TRUE(s.bound_);
    EXPECT_EQ(s.bound_->name, "Terminal");
    EXPECT_FALSE(s.sheet->isVisible());
}

} // namespace
