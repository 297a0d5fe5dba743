#pragma once

#include "App/ConfigTab.h"
#include "Keyboard/AppCatalogModel.h"
#include "Keyboard/KeyboardKey.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class AppPickerSheet;
class HotkeyMonitor;
class KeyBindingStore;
class KeyboardView;
class QLabel;
class QPushButton;
class QStackedWidget;
class SparkleUpdateController;
class StatsView;
class TabBarButton;
class UsageStatsStore;

/// The main window's content: the tab bar (Keys, Stats, About), the selected tab, a notice of
/// what stands in the way, a hint line, and a footer with the newest result and, while the
/// hotkeys are off for a cause the platform's settings fix, a button to those settings. It owns
/// the window's binding store and app catalog, opens the picker when a key cap is clicked, and
/// turns the picker's choice into a binding.
class ContentView : public QWidget {
    Q_OBJECT

public:
    /// The shared objects the window works with; empty members take the process-wide ones.
    struct Services {
        HotkeyMonitor* hotkeys = nullptr;
        UsageStatsStore* stats = nullptr;
        /// Needed by the About tab; without one the window keeps its own.
        SparkleUpdateController* updater = nullptr;
        /// The bindings file; by default the one the hotkey path reads.
        std::optional<QString> bindingsFile;
        /// The catalog's scan; by default the installed-app scan.
        AppCatalogModel::ScanFunction scan;
    };

    /// The width of the tab content area, in points.
    static constexpr int keyboardWidth = 1000;

    /// With the process-wide monitor, statistics and default files.
    explicit ContentView(QWidget* parent = nullptr);
    explicit ContentView(Services services, QWidget* parent = nullptr);

    const KeyBindingStore& bindingStore() const { return *bindings_; }
    const AppCatalogModel& catalog() const { return *catalog_; }
    ConfigTab selectedTab() const { return selectedTab_; }
    /// The key whose picker is open, if any.
    const std::optional<KeyboardKey>& pendingKey() const { return pendingKey_; }
    /// The open picker, if any.
    AppPickerSheet* picker() const;
    /// The footer's status text: the newest of the last binding made here and the last jump's
    /// result, else the keys other programs hold, else the default.
    QString statusText() const;
    /// What stands in the way on the selected tab (the trigger key held by another program, a
    /// data file that could not be read), one paragraph each; empty when nothing does.
    QString noticeText() const;

    /// The text of the hint on the Keys tab, with the platform's trigger key.
    static QString keysHint();
    /// The footer's text before anything has happened.
    static QString defaultStatus();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* buildTabBar();
    QWidget* buildFooter();
    void selectTab(ConfigTab tab);
    /// The page of a tab, made on first use.
    QWidget* page(ConfigTab tab);
    void openPicker(const KeyboardKey& key);
    void bind(const KeyboardKey& key, const AppEntry& entry);
    void unbind(const KeyboardKey& key);
    void catalogChanged();
    void showHint();
    void showFooter();
    void showNotice();
    void showTakenKeys();
    /// The notice of one tab.
    QString noticeFor(ConfigTab tab) const;
    void openSettings();
    /// The settings that fix why the hotkeys are off; empty when there are none.
    QString fixAddress() const;

    KeyBindingStore* bindings_ = nullptr;
    AppCatalogModel* catalog_ = nullptr;
    HotkeyMonitor* hotkeys_ = nullptr;
    UsageStatsStore* stats_ = nullptr;
    SparkleUpdateController* updater_ = nullptr;

    std::optional<KeyboardKey> pendingKey_;
    std::optional<QString> bindingStatus_;
    /// Whether bindingStatus_ came after the monitor's last result.
    bool bindingIsNewest_ = false;
    ConfigTab selectedTab_ = ConfigTab::keys;
    qsizetype catalogCount_ = 0;
    bool shown_ = false;

    QList<TabBarButton*> tabButtons_;
    QStackedWidget* tabContent_ = nullptr;
    KeyboardView* keyboard_ = nullptr;
    QWidget* statsPage_ = nullptr;
    QWidget* aboutPage_ = nullptr;
    QLabel* hint_ = nullptr;
    QLabel* notice_ = nullptr;
    QPushButton* settingsButton_ = nullptr;
    QLabel* status_ = nullptr;
    QPointer<AppPickerSheet> picker_;
};
