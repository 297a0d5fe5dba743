#pragma once

#include "App/ContentView.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyboardView.h"
#include "Platform/MacOS/MacWords.h"
#include "Platform/Fake/FakePlatform.h"
#include "Stats/UsageStatsStore.h"
#include "Updates/SparkleUpdateController.h"
#include "support/ScriptedScan.h"
#include "support/TestSupport.h"

#include <QLabel>

#include <memory>

class AppPickerSheet;

namespace AppTestSupport {

/// Mail, Notes, Terminal, TextEdit and an app whose bundle identifier alone contains "te".
QList<AppEntry> sampleApps();

/// One main window with its own hotkey monitor, statistics, updater, bindings file and
/// scripted catalog, on a Fake platform that speaks `words`.
class Window {
public:
    /// Files to put in the data folder before the stores open it: name -> bytes.
    using Files = QList<std::pair<QString, QByteArray>>;

    explicit Window(const PlatformWords& words = MacWords::words(), const Files& files = {});
    ~Window();

    /// Shows the window and waits until it is on screen.
    void show() {
        view->show();
        TestSupport::processEventsUntil([this] { return view->isVisible(); });
    }
    KeyboardView& keyboard() { return *view->findChild<KeyboardView*>("keyboard"); }
    /// Clicks the cap of `keyID` and waits for the picker; null when none came.
    AppPickerSheet* openPicker(const QString& keyID);
    bool waitPickerClosed() {
        return TestSupport::processEventsUntil([this] { return view->picker() == nullptr; });
    }
    bool waitCatalogIdle() {
        return TestSupport::processEventsUntil([this] { return !view->catalog().isLoading(); });
    }
    /// The footer's text as shown.
    QString footer() { return view->findChild<QLabel*>("status")->text(); }
    /// The notice above the hint, as shown; empty while hidden.
    QString notice();
    /// Binds `keyID` to the sample app with this bundle identifier through the picker.
    bool bindInPicker(const QString& keyID, const QString& bundleId);

    ScopedFakePlatform fake;
    QString folder;
    QString bindingsFile;
    HotkeyMonitor monitor;
    UsageStatsStore stats;
    SparkleUpdateController updater;
    ScriptedScan scan{sampleApps()};
    std::unique_ptr<ContentView> view;
};

/// The text of a rich-text label, without its markup.
QString plainText(const QString& richText);
/// Clicks the row of the application with this bundle identifier in the open picker.
bool clickRow(AppPickerSheet& picker, const QString& bundleId);
/// The names the picker lists, in order.
QStringList listedNames(AppPickerSheet& picker);

} // namespace AppTestSupport
