#include "AppTestSupport.h"

#include "App/SemanticColors.h"
#include "App/TabBarButton.h"
#include "Keyboard/AppListView.h"
#include "Keyboard/AppPickerSheet.h"
#include "Keyboard/KeyBindingStore.h"
#include "Keyboard/KeyCapView.h"
#include "Keyboard/KeyboardLayout.h"
#include "Keyboard/KeyboardView.h"
#include "Platform/MacOS/MacWords.h"
#include "Platform/X11/X11Words.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>

using namespace AppTestSupport;

namespace {

const AppEntry terminal = sampleApps()[2];
const AppEntry notes = sampleApps()[1];

void clickTab(Window& window, const QString& raw) {
    QTest::mouseClick(window.view->findChild<TabBarButton*>("tab-" + raw), Qt::LeftButton);
}

QString hint(Window& window) {
    return plainText(window.view->findChild<QLabel*>("hint")->text());
}

TEST(MainWindowOpening, StartsOnKeysWithTheHintAndFooterAndOtherTabsBlankTheHintWithoutResizing) {
    Window window;
    window.show();
    EXPECT_EQ(window.view->selectedTab(), ConfigTab::keys);
    EXPECT_TRUE(window.view->findChild<QLabel*>("hint")->text().contains(">right Command</span>"));
    EXPECT_EQ(window.footer(), "Click a key to assign an app to it");
    EXPECT_FALSE(window.view->findChild<QPushButton*>("openSettings")->isVisible());
    EXPECT_GE(window.view->width(), 1024);

    const QSize size = window.view->size();
    for (const auto& [raw, tab] :
         {std::pair{"stats", ConfigTab::stats}, std::pair{"about", ConfigTab::about}}) {
        clickTab(window, raw);
        EXPECT_EQ(window.view->selectedTab(), tab);
        EXPECT_TRUE(window.view->findChild<TabBarButton*>(QStringLiteral("tab-") + raw)->isSelected());
        EXPECT_FALSE(window.view->findChild<TabBarButton*>("tab-keys")->isSelected());
        EXPECT_EQ(hint(window), "");
        TestSupport::drainMainThread();
        EXPECT_EQ(window.view->size(), size);
    }
    clickTab(window, "keys");
    EXPECT_FALSE(hint(window).isEmpty());
}

TEST(MainWindowOpening, LoadsTheBindingsFileOnceWhenFirstShown) {
    Window window;
    KeyBindingStore writer(window.bindingsFile);
    writer.bind("1-q", terminal);
    EXPECT_TRUE(window.keyboard().bindings().isEmpty()); // nothing read before showing
    window.show();
    EXPECT_EQ(window.keyboard().bindings().value("1-q"), terminal);

    writer.bind("2-a", notes);
    window.view->hide();
    window.show();
    EXPECT_FALSE(window.view->bindingStore().bindings().contains("2-a"));
}

// Whichever came last, a binding made here or a jump's result, is what the footer says.
TEST(MainWindowFooter, ShowsTheNewestOfTheEditorsActionAndTheJumpsResult) {
    Window window;
    window.show();
    const QString failed = "Launch failed: Mail could not be opened";
    const struct {
        const char* step;
        std::function<void()> act;
        QString footer;
    } steps[] = {
        {"jump fails", [&] { window.monitor.report(failed); }, failed},
        {"bind", [&] { window.bindInPicker("1-q", terminal.bundleId); }, "Bound Q \u2192 Terminal"},
        {"the same failure again", [&] { window.monitor.report(failed); }, failed},
        {"unbind",
         [&] {
             QTest::mouseClick(window.openPicker("1-q")->findChild<QPushButton*>("unbind"), Qt::LeftButton);
         },
         "Unbound Q"},
        {"jump succeeds", [&] { window.monitor.report("Jumped to Terminal"); }, "Jumped to Terminal"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.act();
        EXPECT_TRUE(TestSupport::processEventsUntil([&] { return window.footer() == s.footer; }))
            << window.footer().toStdString();
    }
}

// A free key's picker closes on Escape or Cancel with no change, and the next one starts afresh
// without a new scan and binds the row clicked; a bound key's shows its app, keeps it on Return,
// rebinds on Down then Return, and unbinds.
TEST(MainWindowBinding, APickerBindsAFreeKeyKeepsRebindsOrUnbindsABoundOneAndClosingChangesNothing) {
    Window window;
    window.show();
    AppPickerSheet* picker = window.openPicker("1-q");
    ASSERT_TRUE(window.waitCatalogIdle());
    QTest::keyClicks(picker->findChild<QLineEdit*>("search"), "no");
    QTest::keyClick(picker->findChild<QLineEdit*>("search"), Qt::Key_Escape);
    ASSERT_TRUE(window.waitPickerClosed());
    QTest::mouseClick(window.openPicker("1-w")->findChild<QPushButton*>("cancel"), Qt::LeftButton);
    ASSERT_TRUE(window.waitPickerClosed());
    EXPECT_FALSE(window.view->pendingKey().has_value());
    EXPECT_FALSE(QFile::exists(window.bindingsFile));
    EXPECT_EQ(window.footer(), "Click a key to assign an app to it");

    picker = window.openPicker("1-q");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(window.view->pendingKey()->id(), "1-q");
    EXPECT_EQ(picker->keyword(), "");
    EXPECT_EQ(picker->body(), AppPickerSheet::Body::results);
    EXPECT_EQ(window.scan.calls(), 1);
    EXPECT_FALSE(picker->boundEntry().has_value());
    EXPECT_FALSE(picker->findChild<QPushButton*>("unbind")->isEnabled());
    EXPECT_EQ(picker->findChild<QLabel*>("boundNow"), nullptr);
    QTest::keyClicks(picker->findChild<QLineEdit*>("search"), "no");
    ASSERT_TRUE(clickRow(*picker, notes.bundleId));
    ASSERT_TRUE(window.waitPickerClosed());
    EXPECT_FALSE(window.view->pendingKey().has_value());
    EXPECT_EQ(KeyBindingStore::snapshot(window.bindingsFile).value("1-q"), notes);
    EXPECT_EQ(window.keyboard().bindings().value("1-q"), notes);

    picker = window.openPicker("1-q");
    EXPECT_EQ(picker->windowTitle(), "Bind an app to key Q");
    EXPECT_EQ(picker->boundEntry(), notes);
    EXPECT_EQ(picker->findChild<QLabel*>("boundNow")->text(), "Now bound to Notes");
    auto* search = picker->findChild<QLineEdit*>("search");
    EXPECT_EQ(picker->focusWidget(), search);
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(window.view->bindingStore().bindings().value("1-q"), notes);
    QTest::keyClicks(search, "te");
    QTest::keyClick(search, Qt::Key_Down);
    QTest::keyClick(picker->findChild<AppListView*>("results"), Qt::Key_Return);
    ASSERT_TRUE(window.waitPickerClosed());
    EXPECT_EQ(window.view->bindingStore().bindings().value("1-q"), terminal);

    auto* unbind = window.openPicker("1-q")->findChild<QPushButton*>("unbind");
    ASSERT_TRUE(unbind->isEnabled());
    QTest::mouseClick(unbind, Qt::LeftButton);
    ASSERT_TRUE(window.waitPickerClosed());
    EXPECT_TRUE(KeyBindingStore::snapshot(window.bindingsFile).isEmpty());
    EXPECT_TRUE(window.keyboard().bindings().isEmpty());
}

// Why the hotkeys are off, as the footer says it, and where its button leads (none: no button).
TEST(MainWindowHotkeyTrouble, TheFooterNamesTheCauseAndOffersAButtonOnlyWhereItFixesIt) {
    const QString mac = "x-apple.systempreferences:com.apple.preference.security?";
    const struct {
        bool onLinux;
        bool trusted;
        std::optional<TapFailure> failure;
        std::vector<std::int64_t> keysTaken;
        QString footer;
        QString button;
    } cases[] = {
        {false, false, {}, {},
         "Listening permission not granted: System Settings → Privacy & Security → Accessibility, enable Kestavon",
         mac + "Privacy_Accessibility"},
        {false, true, TapFailure::notPermitted, {},
         "Hotkey listener creation failed (Input Monitoring permission may also be required)",
         mac + "Privacy_ListenEvent"},
        {true, true, TapFailure::unsupportedSession, {},
         "Hotkeys are off in this Wayland session: they work in an X11 (Xorg) session and in sway. Choose one of "
         "them at login",
         ""},
        {true, true, TapFailure::noDisplay, {}, x11Words().noDisplay.text, ""},
        {true, true, TapFailure::keysTaken, {}, x11Words().allKeysTaken.text, ""},
        {true, true, {}, {32, 14, 16, 999, 15, 17}, // 999: no key of the layout
         "Right Super + E, R, T and 2 more keys are taken by other programs: free them in the window manager's "
         "keyboard settings",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.footer.toStdString());
        Window window(c.onLinux ? x11Words() : MacWords::words());
        window.fake->desktop.trusted = c.trusted;
        window.fake->desktop.tapFailure = c.failure;
        window.fake->desktop.keysTaken = c.keysTaken;
        window.show();
        window.monitor.start(false);
        EXPECT_TRUE(TestSupport::processEventsUntil([&] { return window.footer() == c.footer; }))
            << window.footer().toStdString();
        auto* settings = window.view->findChild<QPushButton*>("openSettings");
        EXPECT_EQ(settings->isVisible(), !c.button.isEmpty());
        if (c.button.isEmpty()) continue;
        QTest::mouseClick(settings, Qt::LeftButton);
        EXPECT_EQ(window.fake->desktop.openedURLs, std::vector<QString>{c.button});
    }
}

// A desktop that needs Kestavon's own set-up (sway) offers it in the footer, for the keys bound,
// and hears of every binding made afterwards.
TEST(MainWindowHotkeyTrouble, TheSetUpButtonMakesTheSetUpForTheBoundKeys) {
    Window window(x11Words());
    KeyBindingStore(window.bindingsFile).bind("1-q", {terminal.bundleId, terminal.path, terminal.name});
    window.fake->desktop.tapFailure = TapFailure::setUpNeeded;
    window.show();
    window.monitor.start(false);
    auto* button = window.view->findChild<QPushButton*>("openSettings");
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return button->isVisible(); }));
    EXPECT_EQ(button->text(), "Set Up");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(window.fake->desktop.setUps, (std::vector<std::vector<std::int64_t>>{{12}}));
    EXPECT_TRUE(window.footer().startsWith("Set up")) << window.footer().toStdString();
    EXPECT_TRUE(window.fake->desktop.openedURLs.empty());

    ASSERT_TRUE(window.bindInPicker("1-w", terminal.bundleId));
    EXPECT_EQ(window.fake->desktop.keysBound.back(), (std::vector<std::int64_t>{12, 13}));
}

TEST(MainWindowCatalogWatch, ScansRefreshStoredPathsOnlyWhenTheNumberOfAppsChanged) {
    Window window;
    KeyBindingStore(window.bindingsFile).bind("1-q", {terminal.bundleId, "/Old/Terminal.app", "Old name"});
    window.show();
    window.openPicker("1-q");
    ASSERT_TRUE(window.waitCatalogIdle());
    const AppEntry refreshed{terminal.bundleId, terminal.path, "Old name"};
    EXPECT_EQ(window.view->bindingStore().bindings().value("1-q"), refreshed);
    EXPECT_EQ(KeyBindingStore::snapshot(window.bindingsFile).value("1-q"), refreshed);

    const auto rescan = [&] {
        QTest::mouseClick(window.view->picker()->findChild<QToolButton*>("refresh"), Qt::LeftButton);
        return window.waitCatalogIdle();
    };
    // Same number of apps, Terminal moved again: not looked at.
    QList<AppEntry> apps = sampleApps();
    apps[2].path = "/Elsewhere/Terminal.app";
    window.scan.setResult(apps);
    ASSERT_TRUE(rescan());
    EXPECT_EQ(window.scan.calls(), 2);
    EXPECT_EQ(window.view->bindingStore().bindings().value("1-q").path, terminal.path);
    // One app fewer: looked at again.
    apps.removeLast();
    window.scan.setResult(apps);
    ASSERT_TRUE(rescan());
    EXPECT_EQ(window.view->bindingStore().bindings().value("1-q").path, "/Elsewhere/Terminal.app");
}

} // namespace

// A key another program holds is marked on its cap with the reason in its tooltip, and binding
// it says so; every cap's tooltip names the key and its application.
TEST(MainWindowTakenKeys, TakenCapsAreMarkedWithTheReasonAndBindingOneSaysSo) {
    Window window(x11Words());
    window.fake->desktop.keysTaken = {14}; // E
    window.show();
    window.monitor.start(false);
    const QString reason =
        "Right Super + E is taken by another program: free it in the window manager's keyboard settings";
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return window.footer() == reason; }));
    KeyboardView& keys = window.keyboard();
    EXPECT_EQ(keys.takenKeys(), (QHash<QString, QString>{{"1-e", reason}}));
    const QPoint onE = keys.capGeometry().capRect(*KeyboardLayout::key("1-e")).center().toPoint();
    QHelpEvent help(QEvent::ToolTip, onE, keys.mapToGlobal(onE));
    QApplication::sendEvent(&keys, &help);
    EXPECT_EQ(QToolTip::text(), "Key E: no app bound\n" + reason);

    // The mark shows on E's cap and not on its neighbour's.
    const QImage shot = keys.grab().toImage();
    const auto markColour = [&](const char* id) {
        const QRectF cap = keys.capGeometry().capRect(*KeyboardLayout::key(id));
        const QRectF mark = KeyCapView::takenMark(cap);
        // Beside the exclamation mark, inside the badge.
        return shot.pixelColor(QPointF(mark.left() + 3, mark.center().y()).toPoint());
    };
    const QColor red = SemanticColors::destructive(keys.palette());
    EXPECT_EQ(markColour("1-e").rgb(), red.rgb());
    EXPECT_NE(markColour("1-w").rgb(), red.rgb());

    ASSERT_TRUE(window.bindInPicker("1-e", terminal.bundleId));
    EXPECT_EQ(window.footer(), "Bound E \u2192 Terminal. " + reason);
    EXPECT_EQ(keys.toolTipFor(*KeyboardLayout::key("1-e")), "Key E: Terminal\n" + reason);
    EXPECT_EQ(keys.toolTipFor(*KeyboardLayout::key("1-w")), "Key W: no app bound");
}

TEST(MainWindowTakenKeys, TheTriggerKeyHeldByAnotherProgramIsSaidOnTheKeysTabWithTheWayOut) {
    Window window(x11Words());
    window.fake->desktop.triggerKeyTaken = true;
    window.show();
    EXPECT_EQ(window.notice(), "");
    window.monitor.start(false);
    EXPECT_TRUE(window.monitor.triggerKeyTaken());
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return !window.notice().isEmpty(); }));
    EXPECT_TRUE(window.notice().startsWith(
        "No right Super shortcut reaches Kestavon: another program holds the right Super key by itself"));
    EXPECT_TRUE(window.notice().contains("window manager's keyboard settings"));
}
