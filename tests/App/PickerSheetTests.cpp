#include "AppTestSupport.h"

#include "Keyboard/AppPickerSheet.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace AppTestSupport;

namespace {

QString message(AppPickerSheet* picker) {
    return picker->findChild<QLabel*>("message")->text();
}

// A rescan shows the same; the main window's catalog tests click Refresh.
TEST(PickerSheetOpening, ShowsProgressWithRefreshOffUntilTheScanEndsThenTheList) {
    Window window;
    window.show();
    window.scan.hold(true);
    AppPickerSheet* picker = window.openPicker("1-q");
    ASSERT_NE(picker, nullptr);
    auto* refresh = picker->findChild<QToolButton*>("refresh");
    EXPECT_EQ(picker->body(), AppPickerSheet::Body::progress);
    EXPECT_FALSE(refresh->isEnabled());
    window.scan.release();
    ASSERT_TRUE(window.waitCatalogIdle());
    EXPECT_EQ(picker->body(), AppPickerSheet::Body::results);
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_EQ(listedNames(*picker).size(), 5);
}

TEST(PickerSheetMessages, EmptyCatalogSaysNoAppsWhateverIsTypedAndNoMatchQuotesTheKeyword) {
    Window window;
    window.show();
    window.scan.setResult({});
    AppPickerSheet* picker = window.openPicker("1-q");
    ASSERT_TRUE(window.waitCatalogIdle());
    EXPECT_EQ(picker->body(), AppPickerSheet::Body::noApps);
    auto* search = picker->findChild<QLineEdit*>("search");
    QTest::keyClicks(search, "x");
    EXPECT_EQ(message(picker), "No installed apps found");

    window.scan.setResult(sampleApps());
    QTest::mouseClick(picker->findChild<QToolButton*>("refresh"), Qt::LeftButton);
    ASSERT_TRUE(window.waitCatalogIdle());
    search->clear();
    QTest::keyClicks(search, " xyz");
    EXPECT_EQ(picker->body(), AppPickerSheet::Body::noMatch);
    EXPECT_EQ(message(picker), QString("No apps matching \u201C xyz\u201D"));
    EXPECT_TRUE(listedNames(*picker).isEmpty());
}

TEST(PickerSheetSearch, AppsWithTheSameNameAreBothListed) {
    Window window;
    window.show();
    window.scan.setResult(
        {{"com.one.notes", "/A/Notes.app", "Notes"}, {"com.two.notes", "/B/Notes.app", "Notes"}});
    AppPickerSheet* picker = window.openPicker("1-q");
    ASSERT_TRUE(window.waitCatalogIdle());
    EXPECT_EQ(listedNames(*picker), QStringList({"Notes", "Notes"}));
    ASSERT_TRUE(clickRow(*picker, "com.two.notes"));
    EXPECT_EQ(window.view->bindingStore().bindings().value("1-q").path, "/B/Notes.app");
}

} // namespace
