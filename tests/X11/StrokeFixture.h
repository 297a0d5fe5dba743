#pragma once

// The monitor's header uses Qt's signal keywords; files that include this include no GIO header.
#undef QT_NO_KEYWORDS

#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/X11/X11Platform.h"
#include "Stats/UsageStats.h"
#include "Stats/UsageStatsStore.h"
#include "WorkspaceFixture.h"
#include "support/TestSupport.h"

#include <QFile>

/// The entry id and window class of test app `letter`.
inline QString idOf(char letter) {
    return QStringLiteral("kestavon-stroke-%1.desktop").arg(QChar(letter).toLower());
}
inline QString classOf(char letter) {
    return QStringLiteral("KestavonStroke") + QLatin1Char(letter);
}

/// Successful jumps counted in all.
inline std::int64_t countedJumps() {
    return UsageStats::snapshot(UsageStatsStore::defaultFileURL()).totalSuccess;
}

/// The assembled X11 platform with a started hotkey monitor, a bindings store of its own and
/// keys typed through XTEST.
class Strokes : public WorkspaceFixture {
protected:
    void SetUp() override {
        WorkspaceFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // The one platform of the program, installed on first use and kept to the end.
        static const std::unique_ptr<X11Platform> platform = [] {
            QString whyNot;
            auto created = X11Platform::create(false, &whyNot);
            EXPECT_TRUE(created) << whyNot.toStdString();
            if (created) Platform::install(created.get());
            return created;
        }();
        ASSERT_TRUE(platform);
        ASSERT_TRUE(windows->showDesktop(0));
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

    /// Writes the entry of app `letter`, "Stroke <letter>", which starts xterm with a class of
    /// its own, and binds `keyID` to it.
    void bind(const QString& keyID, char letter) {
        const QString name = QStringLiteral("Stroke ") + QLatin1Char(letter);
        const QString path = writeUser(idOf(letter), entryText(name, "xterm -class " + classOf(letter),
                                                               {"StartupWMClass=" + classOf(letter)}));
        ASSERT_TRUE(store->bind(keyID, {idOf(letter), path, name}));
    }

    /// Starts app `letter` directly, as if the user had, and waits for its window.
    xcb_window_t run(char letter) { return waitForWindowOf(spawn({"xterm", "-class", classOf(letter)})); }

    /// Right Super held while each key is typed, all as keyboard input.
    void stroke(std::initializer_list<std::uint8_t> keys) {
        injector->press(XKey::superRight);
        for (const std::uint8_t key : keys)
            injector->type(key);
        injector->release(XKey::superRight);
        injector->sync();
    }

    /// Waits until `count` result texts have reached the main thread.
    QStringList results(qsizetype count) {
        TestSupport::processEventsUntil([&] { return outcomes.size() >= count; }, 20000);
        return outcomes;
    }

    std::unique_ptr<KeyBindingStore> store;
    std::unique_ptr<HotkeyMonitor> monitor;
    QStringList outcomes;
    std::int64_t jumpsBefore = 0;
};

