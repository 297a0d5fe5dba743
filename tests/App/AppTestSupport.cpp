#include "AppTestSupport.h"

#include "Keyboard/AppListView.h"
#include "Keyboard/AppPickerSheet.h"
#include "Keyboard/KeyboardLayout.h"

#include <QTest>
#include <QTextDocument>

namespace AppTestSupport {

QList<AppEntry> sampleApps() {
    return {
        {"com.apple.mail", "/Applications/Mail.app", "Mail"},
        {"com.apple.Notes", "/Applications/Notes.app", "Notes"},
        {"com.apple.Terminal", "/Applications/Utilities/Terminal.app", "Terminal"},
        {"com.apple.TextEdit", "/Applications/TextEdit.app", "TextEdit"},
        {"org.example.tempo", "/Applications/Metronome.app", "Metronome"},
    };
}

namespace {
QString seeded(const Window::Files& files) {
    const QString folder = TestSupport::freshFolder();
    for (const auto& [name, bytes] : files)
        TestSupport::writeAll(folder + '/' + name, bytes);
    return folder;
}
} // namespace

Window::Window(const PlatformWords& words, const Files& files)
    : folder(seeded(files)), bindingsFile(folder + "/keyBindings.json"), monitor(bindingsFile),
      stats(folder + "/usageStats.json") {
    // The view takes its words when it is built.
    fake->platformWords = words;
    ContentView::Services services;
    services.hotkeys = &monitor;
    services.stats = &stats;
    services.updater = &updater;
    services.bindingsFile = bindingsFile;
    services.scan = scan.function();
    view = std::make_unique<ContentView>(services);
}

Window::~Window() {
    view.reset();
    TestSupport::drainMainThread();
}

QString Window::notice() {
    auto* label = view->findChild<QLabel*>("notice");
    return label->isVisible() ? label->text() : QString();
}

bool Window::bindInPicker(const QString& keyID, const QString& bundleId) {
    AppPickerSheet* picker = openPicker(keyID);
    return picker && waitCatalogIdle() && clickRow(*picker, bundleId) && waitPickerClosed();
}

AppPickerSheet* Window::openPicker(const QString& keyID) {
    KeyboardView& keys = keyboard();
    const QRectF cap = keys.capGeometry().capRect(*KeyboardLayout::key(keyID));
    QTest::mouseClick(&keys, Qt::LeftButton, {}, cap.center().toPoint());
    TestSupport::processEventsUntil([this] { return view->picker() && view->picker()->isVisible(); });
    return view->picker();
}

QString plainText(const QString& richText) {
    QTextDocument document;
    document.setHtml(richText);
    return document.toPlainText();
}

bool clickRow(AppPickerSheet& picker, const QString& bundleId) {
    auto* list = picker.findChild<AppListView*>("results");
    const int row = list ? list->rowOf(bundleId) : -1;
    if (row < 0) return false;
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    return true;
}

QStringList listedNames(AppPickerSheet& picker) {
    QStringList names;
    for (const AppEntry& entry : picker.findChild<AppListView*>("results")->entries())
        names.append(entry.name);
    return names;
}

} // namespace AppTestSupport
