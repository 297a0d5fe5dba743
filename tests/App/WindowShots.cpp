// Renders the main window's tabs and the picker, in a light and a dark palette, to PNG files
// for a look at the real thing. Usage: window_shots [output folder]
#include "AppTestSupport.h"

#include "App/SymbolIcon.h"
#include "App/TabBarButton.h"
#include "Keyboard/AppPickerSheet.h"
#include "Keyboard/KeyBindingStore.h"
#include "Keyboard/KeyboardLayout.h"
#include "Keyboard/KeyboardView.h"
#include "Platform/X11/X11Words.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <functional>

using namespace AppTestSupport;

namespace {

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2e));
    p.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xf0));
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x20));
    p.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x36));
    p.setColor(QPalette::Text, QColor(0xee, 0xee, 0xf0));
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3e));
    p.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xf0));
    p.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(0x8e, 0x8e, 0x93));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x6e, 0x6e, 0x73));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x6e, 0x6e, 0x73));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6e, 0x6e, 0x73));
    return p;
}

void save(QWidget* widget, const QString& path) {
    TestSupport::drainMainThread();
    const bool ok = widget->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
}

void shoot(const QString& out, const QString& theme) {
    Window window(x11Words());
    const QString apps = TestSupport::freshFolder();
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
    QList<AppEntry> entries;
    for (const auto& [id, name, icon] : installed) {
        const QString path = apps + "/" + id + ".desktop";
        TestSupport::writeAll(path, "[Desktop Entry]\n");
        if (!icon.isEmpty()) window.fake->fakeBundles.setIconName(path, icon);
        entries.append({id, path, name});
    }
    window.scan.setResult(entries);
    {
        KeyBindingStore seed(window.bindingsFile);
        seed.bind("1-q", entries[0]);
        seed.bind("1-e", entries[1]);
        seed.bind("0-1", entries[2]);
        seed.bind("2-a", entries[6]);
        seed.bind("3-c", entries[8]);
        seed.bind("3-n", {"org.gnome.Notes", "/gone/org.gnome.Notes.desktop", "Notes"});
    }
    window.show();
    window.monitor.report("Jumped to Terminal");
    KeyboardView& keys = window.keyboard();
    QTest::mouseMove(&keys, QPoint(1, 1));
    QTest::mouseMove(&keys, keys.capGeometry().capRect(*KeyboardLayout::key("1-w")).center().toPoint());
    save(window.view.get(), out + "/keys-" + theme + ".png");

    AppPickerSheet* picker = window.openPicker("1-q");
    window.waitCatalogIdle();
    save(picker, out + "/picker-" + theme + ".png");
    QTest::keyClicks(picker->findChild<QLineEdit*>("search"), "te");
    save(picker, out + "/picker-search-" + theme + ".png");
    picker->findChild<QLineEdit*>("search")->setText("xyz");
    save(picker, out + "/picker-nomatch-" + theme + ".png");
    picker->findChild<QLineEdit*>("search")->clear();
    window.scan.hold(true);
    QTest::mouseClick(picker->findChild<QToolButton*>("refresh"), Qt::LeftButton);
    save(picker, out + "/picker-loading-" + theme + ".png");
    window.scan.release();
    window.waitCatalogIdle();
    picker->reject();
    window.waitPickerClosed();

    QTest::mouseClick(window.view->findChild<TabBarButton*>("tab-stats"), Qt::LeftButton);
    save(window.view.get(), out + "/stats-empty-" + theme + ".png");
    const QList<std::pair<QString, int>> jumps{
        {"Terminal", 41},  {"Text Editor", 17},
        {"Calculator", 9}, {"A very long application name that cannot fit on one line", 1200},
        {"GVim", 3},       {"XTerm", 2},
        {"Help", 1}};
    for (const auto& [name, count] : jumps) {
        for (int i = 0; i < count; ++i)
            window.stats.recordSuccess(name, "id." + name);
    }
    TestSupport::drainMainThread();
    save(window.view.get(), out + "/stats-" + theme + ".png");

    QTest::mouseClick(window.view->findChild<TabBarButton*>("tab-about"), Qt::LeftButton);
    save(window.view.get(), out + "/about-" + theme + ".png");

}

// The footer when the hotkeys are off, or some keys are held, on Linux.
void shootTrouble(const QString& out) {
    const std::pair<QString, std::function<void(FakeDesktop&)>> cases[] = {
        {"wayland", [](FakeDesktop& d) { d.tapFailure = TapFailure::unsupportedSession; }},
        {"keys-taken", [](FakeDesktop& d) { d.keysTaken = {14, 15, 17, 16, 32}; }},
    };
    for (const auto& [name, script] : cases) {
        Window window(x11Words());
        script(window.fake->desktop);
        window.show();
        window.monitor.start(false);
        TestSupport::drainMainThread();
        save(window.view.get(), out + "/keys-" + name + ".png");
    }
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
        for (int j = 0; j < sides.size(); ++j) {
            const int side = sides[j];
            SymbolIcon::paint(painter, names[i], QRectF(40 + 100 * i, 40 + 80 * j, side, side), Qt::black);
        }
    }
    painter.end();
    const QString path = out + "/symbols.png";
    std::printf("%s %s\n", sheet.save(path) ? "wrote" : "FAILED", qPrintable(path));
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir root;
    qputenv("HOME", root.path().toUtf8());
    qputenv("XDG_DATA_HOME", (root.path() + "/data").toUtf8());
    qputenv("KESTAVON_TEST_ROOT", root.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The offscreen platform knows no icon folders of its own; give it the system's.
    QIcon::setThemeSearchPaths({QStringLiteral("/usr/share/icons")});
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/kestavon-shots");
    QDir().mkpath(out);
    shootSymbols(out);
    shoot(out, QStringLiteral("light"));
    shootTrouble(out);
    QApplication::setPalette(darkPalette());
    shoot(out, QStringLiteral("dark"));
    return 0;
}
