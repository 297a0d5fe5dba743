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

// The body follows the scan: progress with Refresh off while it runs, then the list or why there
// is none. A rescan shows the same; the main window's catalog tests click Refresh.
TEST(PickerSheetBody, ShowsProgressUntilTheScanEndsThenTheListOrWhyThereIsNone) {
    Window window;
    window.show();
    window.scan.setResult({});
    window.scan.hold(true);
    AppPickerSheet* picker = window.openPicker("1-q");
    ASSERT_NE(picker, nullptr);
    auto* refresh = picker->findChild<QToolButton*>("refresh");
    EXPECT_EQ(picker->body(), AppPickerSheet::Body::progress);
    EXPECT_FALSE(refresh->isEnabled());
    window.scan.hold(false);
    window.scan.release();
    ASSERT_TRUE(window.waitCatalogIdle());
    EXPECT_TRUE(refresh->isEnabled());
    // An empty catalog says so whatever is typed.
    EXPECT_EQ(picker->body(), AppPickerSheet::Body::noApps);
    auto* search = picker->findChild<QLineEdit*>("search");
    QTest::keyClicks(search, "x");
    EXPECT_EQ(message(picker), "No installed apps found");

    window.scan.setResult(sampleApps());
    QTest::mouseClick(refresh, Qt::LeftButton);
    ASSERT_TRUE(window.waitCatalogIdle());
    search->clear();
    EXPECT_EQ(picker->body(), AppPickerSheet::Body::results);
    EXPECT_EQ(listedNames(*picker).size(), 5);
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
