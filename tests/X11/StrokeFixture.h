#pragma once

// Includes the monitor's header, which uses Qt's signal keywords: the including file undefines
// QT_NO_KEYWORDS first and includes no GIO header.
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/X11/X11Platform.h"
#include "Stats/UsageStats.h"
#include "Stats/UsageStatsStore.h"
#include "WorkspaceFixture.h"
#include "XTestInjector.h"
#include "support/TestSupport.h"

#include <QFile>

/// The one platform of the test program, installed on first use and kept to the end.
inline void installPlatform() {
    static std::unique_ptr<X11Platform> platform = [] {
        QString whyNot;
        auto created = X11Platform::create(&whyNot);
        EXPECT_TRUE(created) << whyNot.toStdString();
        if (created) Platform::install(created.get());
        return created;
    }();
}

inline std::int64_t countedJumps() {
    return UsageStats::snapshot(UsageStatsStore::defaultFileURL()).totalSuccess;
}

inline std::int64_t countedJumps(const QString& bundleId) {
    const UsageStats stats = UsageStats::snapshot(UsageStatsStore::defaultFileURL());
    const auto found = stats.perApp.find(bundleId);
    return found == stats.perApp.end() ? 0 : found->second.count;
}

/// The assembled X11 platform with a started hotkey monitor, a bindings store of its own and
/// keys typed through XTEST.
class Strokes : public WorkspaceFixture {
protected:
    void SetUp() override {
        WorkspaceFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        installPlatform();
        ASSERT_TRUE(Platform::isInstalled());
        showDesktop(0);
        injector = XTestInjector::open();
        ASSERT_TRUE(injector) << "the display has no XTEST extension";
        // Each test binds afresh: no key carries over from the one before.
        QFile::remove(KeyBindingStore::defaultFileURL());
        store = std::make_unique<KeyBindingStore>();
        monitor = std::make_unique<HotkeyMonitor>();
        QObject::connect(monitor.get(), &HotkeyMonitor::lastOutcomeChanged, [this] {
            if (monitor->lastOutcome()) outcomes.append(*monitor->lastOutcome());
        });
        monitor->start(false);
        ASSERT_FALSE(monitor->permissionIssue().has_value());
        ASSERT_TRUE(monitor->isStarted());
        jumpsBefore = countedJumps();
    }

    void TearDown() override {
        monitor.reset();
        WorkspaceFixture::TearDown();
    }

    /// Writes an entry that starts xterm with a class of its own, and binds `keyID` to it.
    void bindEntry(const QString& keyID, const QString& id, const QString& name, const QString& wmClass) {
        const QString path = folders->writeUser(id, entryText(name, QStringLiteral("xterm -class ") + wmClass,
                                                              {QStringLiteral("StartupWMClass=") + wmClass}));
        ASSERT_TRUE(store->bind(keyID, {id, path, name}));
    }

    /// Starts the entry's program directly, as if the user had, and waits for its window.
    xcb_window_t run(const QString& wmClass) { return waitForWindowOf(spawnWithClass(wmClass)); }

    void showDesktop(int desktop) {
        runTool(QStringLiteral("wmctrl"), {QStringLiteral("-s"), QString::number(desktop)});
        ASSERT_TRUE(windows->waitUntil([&] { return currentDesktop() == std::uint32_t(desktop); }));
    }

    std::optional<std::uint32_t> currentDesktop() {
        return windows->cardinal(connection->root(), "_NET_CURRENT_DESKTOP");
    }

    /// Right Super held while `key` is typed, all as keyboard input.
    void stroke(std::uint8_t key) {
        injector->press(XKey::superRight);
        injector->type(key);
        injector->release(XKey::superRight);
        injector->sync();
    }

    /// Waits until `count` result texts have reached the main thread.
    QStringList results(qsizetype count) {
        TestSupport::processEventsUntil([&] { return outcomes.size() >= count; }, 20000);
        return outcomes;
    }

    /// The running application of this entry, once it has a window.
    std::optional<RunningApplication> running(const QString& id) {
        for (const RunningApplication& application : workspace->runningApplications())
            if (application.bundleIdentifier == id) return application;
        return std::nullopt;
    }

    std::unique_ptr<XTestInjector> injector;
    std::unique_ptr<KeyBindingStore> store;
    std::unique_ptr<HotkeyMonitor> monitor;
    QStringList outcomes;
    std::int64_t jumpsBefore = 0;
};
