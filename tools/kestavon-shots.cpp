// kestavon-shots [folder]: renders the main window's tabs and the picker in a light and a dark
// palette, the symbols, the About tab in every update state and the updater's alerts to PNG
// files (default /tmp/kestavon-shots), on the Fake desktop and the offscreen platform, for a
// look at the real thing. It touches no file of the user's.
#include "App/ContentView.h"
#include "App/SymbolIcon.h"
#include "App/TabBarButton.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/AppListView.h"
#include "Keyboard/AppPickerSheet.h"
#include "Keyboard/KeyBindingStore.h"
#include "Keyboard/KeyboardLayout.h"
#include "Keyboard/KeyboardView.h"
#include "Platform/Fake/FakePlatform.h"
#include "Platform/X11/X11Words.h"
#include "Stats/UsageStatsStore.h"
#include "Updates/AboutView.h"
#include "Updates/SparkleUpdateController.h"
#include "Updates/UpdateAlertView.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>

namespace {

int failures = 0;

/// Runs the event loop until `done` holds (at most five seconds), then what is still queued.
void settle(const std::function<bool()>& done = {}) {
    const QDeadlineTimer deadline(5000);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (done && !done() && !deadline.hasExpired());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void save(const QPixmap& pixmap, const QString& path) {
    const bool ok = pixmap.save(path);
    failures += ok ? 0 : 1;
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
}

void save(QWidget* widget, const QString& path) {
    settle();
    save(widget->grab(), path);
}

/// The catalog's scan: a fixed list, held back while `held` is set so the loading state shows.
struct Scan {
    std::mutex mutex;
    std::condition_variable released;
    bool held = false;
    QList<AppEntry> result;

    void hold(bool on) {
        {
            std::lock_guard lock(mutex);
            held = on;
        }
        released.notify_all();
    }
};

QPalette darkPalette() {
    QPalette p;
    const QColor text(0xee, 0xee, 0xf0), dimmed(0x6e, 0x6e, 0x73);
    p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2e));
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x20));
    p.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x36));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3e));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(0x8e, 0x8e, 0x93));
    for (const auto role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text})
        p.setColor(QPalette::Disabled, role, dimmed);
    return p;
}

void shootWindow(const QString& out, const QString& theme) {
    ScopedFakePlatform fake;
    fake->platformWords = x11Words();
    const QTemporaryDir folder;
    const QString bindingsFile = folder.path() + "/keyBindings.json";
    HotkeyMonitor monitor(bindingsFile);
    UsageStatsStore stats(folder.path() + "/usageStats.json");
    SparkleUpdateController updater;
    const auto scan = std::make_shared<Scan>();

    const QList<std::tuple<QString, QString, QString>> installed{
        {"org.gnome.Terminal", "Terminal", "utilities-terminal"},
        {"org.gnome.TextEditor", "Text Editor", "accessories-text-editor"},
        {"org.gnome.Calculator", "Calculator", "accessories-calculator"},
        {"org.gnome.Characters", "Characters", "accessories-character-map"},
        {"org.gnome.Dictionary", "Dictionary", "accessories-dictionary"},
        {"org.gnome.Yelp", "Help", "help-browser"},
        {"xterm", "XTerm", "xterm-color"},
        {"gvim", "GVim", "gvim"},
        {"org.example.NoIcon", "Plain Tool", ""},
    };
    for (const auto& [id, name, icon] : installed) {
        const QString path = folder.path() + "/" + id + ".desktop";
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write("[Desktop Entry]\n");
        if (!icon.isEmpty()) fake->fakeBundles.setIconName(path, icon);
        scan->result.append({id, path, name});
    }
    const QList<AppEntry>& entries = scan->result;
    {
        KeyBindingStore seed(bindingsFile);
        seed.bind("1-q", entries[0]);
        seed.bind("1-e", entries[1]);
        seed.bind("0-1", entries[2]);
        seed.bind("2-a", entries[6]);
        seed.bind("3-c", entries[8]);
        seed.bind("3-n", {"org.gnome.Notes", "/gone/org.gnome.Notes.desktop", "Notes"});
    }

    ContentView::Services services;
    services.hotkeys = &monitor;
    services.stats = &stats;
    services.updater = &updater;
    services.bindingsFile = bindingsFile;
    services.scan = [scan] {
        std::unique_lock lock(scan->mutex);
        scan->released.wait(lock, [&] { return !scan->held; });
        return scan->result;
    };
    ContentView view(services);
    view.show();
    settle([&] { return view.isVisible(); });
    const auto tab = [&](const QString& raw) {
        QTest::mouseClick(view.findChild<TabBarButton*>("tab-" + raw), Qt::LeftButton);
    };
    const auto idle = [&] { settle([&] { return !view.catalog().isLoading(); }); };

    monitor.report("Jumped to Terminal");
    auto* keys = view.findChild<KeyboardView*>("keyboard");
    const auto centre = [&](const char* id) {
        return keys->capGeometry().capRect(*KeyboardLayout::key(id)).center().toPoint();
    };
    QTest::mouseMove(keys, QPoint(1, 1));
    QTest::mouseMove(keys, centre("1-w"));
    save(&view, out + "/keys-" + theme + ".png");

    QTest::mouseClick(keys, Qt::LeftButton, {}, centre("1-q"));
    settle([&] { return view.picker() && view.picker()->isVisible(); });
    AppPickerSheet* picker = view.picker();
    if (picker == nullptr) {
        std::printf("FAILED no picker opened\n");
        ++failures;
        return;
    }
    auto* search = picker->findChild<QLineEdit*>("search");
    idle();
    save(picker, out + "/picker-" + theme + ".png");
    QTest::keyClicks(search, "te");
    save(picker, out + "/picker-search-" + theme + ".png");
    search->setText("xyz");
    save(picker, out + "/picker-nomatch-" + theme + ".png");
    search->clear();
    scan->hold(true);
    QTest::mouseClick(picker->findChild<QToolButton*>("refresh"), Qt::LeftButton);
    save(picker, out + "/picker-loading-" + theme + ".png");
    scan->hold(false);
    idle();
    picker->reject();
    settle([&] { return view.picker() == nullptr; });

    tab("stats");
    save(&view, out + "/stats-empty-" + theme + ".png");
    const QList<std::pair<QString, int>> jumps{
        {"Terminal", 41},  {"Text Editor", 17},
        {"Calculator", 9}, {"A very long application name that cannot fit on one line", 1200},
        {"GVim", 3},       {"XTerm", 2},
        {"Help", 1}};
    for (const auto& [name, count] : jumps) {
        for (int i = 0; i < count; ++i)
            stats.recordSuccess(name, "id." + name);
    }
    save(&view, out + "/stats-" + theme + ".png");

    tab("about");
    save(&view, out + "/about-" + theme + ".png");

    // The footer when the hotkeys are off: a Wayland session.
    tab("keys");
    fake->desktop.tapFailure = TapFailure::unsupportedSession;
    monitor.start(false);
    save(&view, out + "/keys-wayland-" + theme + ".png");
}

// The window when things stand in the way: keys and the trigger key held by other programs,
// data files that cannot be read, and what binding a held key says.
void shootTrouble(const QString& out, const QString& theme) {
    ScopedFakePlatform fake;
    fake->platformWords = x11Words();
    fake->desktop.keysTaken = {14, 2}; // E and D, as window managers often bind them
    fake->desktop.triggerKeyTaken = true;
    const QTemporaryDir folder;
    const QString bindingsFile = folder.path() + "/keyBindings.json";
    QFile bindings(bindingsFile);
    if (bindings.open(QIODevice::WriteOnly))
        bindings.write(R"([{"key":"1-q","entry":{"bundleId":"xterm","path":"\/x","name":"XTerm"}},])");
    bindings.close();
    QFile counts(folder.path() + "/usageStats.json");
    if (counts.open(QIODevice::WriteOnly)) counts.write(R"({"totalSuccess":41,"perApp":{)");
    counts.close();
    HotkeyMonitor monitor(bindingsFile);
    UsageStatsStore stats(folder.path() + "/usageStats.json");
    SparkleUpdateController updater;
    const QList<AppEntry> apps{{"org.gnome.Terminal", folder.path() + "/t.desktop", "Terminal"},
                               {"org.gnome.Nautilus", folder.path() + "/n.desktop", "Files"}};

    ContentView::Services services;
    services.hotkeys = &monitor;
    services.stats = &stats;
    services.updater = &updater;
    services.bindingsFile = bindingsFile;
    services.scan = [apps] { return apps; };
    ContentView view(services);
    view.show();
    settle([&] { return view.isVisible(); });
    monitor.start(false);
    save(&view, out + "/trouble-keys-" + theme + ".png");

    auto* keys = view.findChild<KeyboardView*>("keyboard");
    const auto pick = [&](const char* id) {
        QTest::mouseClick(keys, Qt::LeftButton, {},
                          keys->capGeometry().capRect(*KeyboardLayout::key(id)).center().toPoint());
        settle([&] { return view.picker() && view.picker()->isVisible() && !view.catalog().isLoading(); });
        return view.picker();
    };
    if (AppPickerSheet* picker = pick("1-e")) {
        auto* list = picker->findChild<AppListView*>("results");
        const int row = list->rowOf("org.gnome.Nautilus");
        if (row >= 0)
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(row)).center());
        settle([&] { return view.picker() == nullptr; });
    }
    save(&view, out + "/trouble-bound-taken-" + theme + ".png");
    if (AppPickerSheet* picker = pick("1-e")) {
        save(picker, out + "/picker-bound-" + theme + ".png");
        picker->reject();
        settle([&] { return view.picker() == nullptr; });
    }
    QTest::mouseClick(view.findChild<TabBarButton*>("tab-stats"), Qt::LeftButton);
    save(&view, out + "/trouble-stats-" + theme + ".png");
}

// Every symbol at the sizes the window uses and large, to judge the drawings.
void shootSymbols(const QString& out) {
    const QStringList names{"keyboard",        "chart.bar",          "info.circle",
                            "arrow.clockwise", "arrow.right.circle", "lock.shield"};
    const QList<int> sides{14, 16, 22, 64};
    QPixmap sheet(40 + 100 * names.size(), 40 + 80 * sides.size());
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < names.size(); ++i) {
        for (int j = 0; j < sides.size(); ++j)
            SymbolIcon::paint(painter, names[i], QRectF(40 + 100 * i, 40 + 80 * j, sides[j], sides[j]),
                              Qt::black);
    }
    painter.end();
    save(sheet, out + "/symbols.png");
}

void shootAbout(const QString& out) {
    ScopedFakePlatform fake;
    FakeUpdater& updater = fake->fakeUpdater;
    SparkleUpdateController controller;
    controller.start();
    AboutView view(controller);
    view.resize(1024, 560);
    view.show();
    const auto shoot = [&](const char* name) { save(&view, out + "/about-" + name + ".png"); };

    shoot("idle");
    controller.checkForUpdates();
    shoot("checking");
    updater.willDownloadUpdate();
    shoot("downloading");
    updater.didDownloadUpdate();
    controller.checkForUpdates();
    updater.didNotFindUpdate();
    shoot("up-to-date");
    updater.failedToDownloadUpdate(QStringLiteral(
        "The update feed could not be loaded: the server answered HTTP 404 (Not Found). A longer message "
        "wraps onto a second line and stays centred under the buttons."));
    shoot("failed");
    view.resize(640, 420);
    shoot("failed-narrow");

    // The appcast updater's own windows, over the tab.
    const auto shootBox = [&](const char* name) {
        settle();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr || !box->isVisible()) continue;
            save(box->grab(), out + "/alert-" + name + ".png");
            box->reject();
        }
    };
    UpdateAlertView alerts(&view);
    AppcastItem release;
    release.version = QStringLiteral("2");
    release.displayVersion = QStringLiteral("0.2.0");
    alerts.showUpdateFound(release, [](UpdateUserDriver::Choice) {});
    shootBox("offer");
    alerts.showUpdaterError(QStringLiteral("The update feed could not be loaded: Connection refused"));
    shootBox("error");
}

} // namespace

int main(int argc, char** argv) {
    // A home of its own: the stores and the log write nowhere the user keeps anything.
    const QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The offscreen platform knows no icon folders of its own; give it the system's.
    QIcon::setThemeSearchPaths({QStringLiteral("/usr/share/icons")});
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/kestavon-shots");
    QDir().mkpath(out);

    shootSymbols(out);
    shootAbout(out);
    shootWindow(out, QStringLiteral("light"));
    shootTrouble(out, QStringLiteral("light"));
    QApplication::setPalette(darkPalette());
    shootWindow(out, QStringLiteral("dark"));
    shootTrouble(out, QStringLiteral("dark"));
    return failures == 0 ? 0 : 1;
}
