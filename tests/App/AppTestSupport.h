#pragma once

#include "App/ContentView.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/AppCatalogModel.h"
#include "Platform/Fake/FakePlatform.h"
#include "Stats/UsageStatsStore.h"
#include "Updates/SparkleUpdateController.h"

#include <QList>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <semaphore>

class AppPickerSheet;
class KeyboardView;

namespace AppTestSupport {

/// Terminal, TextEdit, Notes, Mail and an app whose bundle identifier alone contains "te".
QList<AppEntry> sampleApps();

/// A catalog scan the test controls: counted, and held until released when `held` is set.
/// Its state is shared with the scans it hands out, so a scan the pool starts only after the
/// test has ended still finds it.
class ScriptedScan {
public:
    struct State {
        std::atomic<int> calls{0};
        std::atomic<bool> held{false};
        std::counting_semaphore<1024> gate{0};
        std::mutex mutex;
        /// What the next scans return.
        QList<AppEntry> result = sampleApps();
    };

    ~ScriptedScan();
    AppCatalogModel::ScanFunction function();
    void release() { state_->gate.release(); }
    void hold(bool held) { state_->held = held; }
    int calls() const { return state_->calls; }
    /// Changes what the next scans return.
    void setResult(const QList<AppEntry>& result);

private:
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

/// One main window with its own hotkey monitor, statistics, updater, bindings file and
/// scripted catalog, on a Fake platform that speaks `words`.
class Window {
public:
    explicit Window(const PlatformWords& words = PlatformWords::macOS());
    ~Window();

    /// Shows the window and waits until it is on screen.
    void show();
    KeyboardView& keyboard();
    /// Clicks the cap of `keyID` and waits for the picker; null when none came.
    AppPickerSheet* openPicker(const QString& keyID);
    /// Waits until the picker has gone.
    bool waitPickerClosed();
    /// Waits until the catalog has finished scanning.
    bool waitCatalogIdle();
    /// The footer's text as shown.
    QString footer();

    ScopedFakePlatform fake;
    QString folder;
    QString bindingsFile;
    HotkeyMonitor monitor;
    UsageStatsStore stats;
    SparkleUpdateController updater;
    ScriptedScan scan;
    std::unique_ptr<ContentView> view;
};

/// The text of a rich-text label, without its markup.
QString plainText(const QString& richText);
/// Clicks the row of the application with this bundle identifier in the open picker.
bool clickRow(AppPickerSheet& picker, const QString& bundleId);
/// The names listed by the picker, in order.
QStringList listedNames(AppPickerSheet& picker);

} // namespace AppTestSupport
