#pragma once

#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/Fake/FakePlatform.h"
#include "Platform/TapEvent.h"
#include "Switching/TrustPrompt.h"
#include "support/TestSupport.h"

#include <QStringList>

#include <gtest/gtest.h>

/// A Fake desktop with one display of two desktops and a full-screen Space, a bindings file
/// of its own and a monitor reading it: strokes go in as key events, and come out as result
/// texts on the main thread.
class FakeDesktopScenario : public ::testing::Test {
protected:
    static constexpr std::uint64_t desktop1 = 11, desktop2 = 12, fullscreen = 13;

    FakeDesktopScenario() {
        // The trust prompt is asked for once per process; each scenario is a fresh launch.
        TrustPrompt::latch = false;
        FakeDesktop& d = fake->desktop;
        d.displays.push_back({1, QStringLiteral("UUID-MAIN"), QRectF(0, 0, 1440, 900), true,
                              QStringLiteral("Built-in Display"),
                              {{desktop1, 0}, {desktop2, 0}, {fullscreen, 4}}, desktop1});
        QObject::connect(&monitor, &HotkeyMonitor::lastOutcomeChanged, [this] {
            if (monitor.lastOutcome()) outcomes.append(*monitor.lastOutcome());
        });
    }

    /// A path that exists, standing for an installed application bundle.
    QString installedBundle(const QString& name) {
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".desktop");
        TestSupport::writeAll(path, "[Desktop Entry]\n");
        return path;
    }

    void bind(const QString& key, const AppEntry& entry) { store.bind(key, entry); }

    /// Right Command + the key with this virtual key code; true when swallowed.
    bool stroke(std::int64_t keyCode) {
        monitor.decide(EventType::flagsChanged, {CommandKey::right, EventFlag::command});
        const bool swallowed =
            monitor.decide(EventType::keyDown, {keyCode, EventFlag::command}) == HotkeyMonitor::Decision::swallow;
        monitor.decide(EventType::flagsChanged, {CommandKey::right, 0});
        return swallowed;
    }

    /// Waits for the queue, then for the texts it reported to reach the main thread.
    QStringList settle(qsizetype expectedTexts) {
        monitor.queue().waitUntilIdle();
        TestSupport::processEventsUntil([&] { return outcomes.size() >= expectedTexts; });
        TestSupport::drainMainThread();
        return outcomes;
    }

    /// Jumps counted in "usageStats.json" since the test began.
    std::int64_t countedJumps() const;

    ScopedFakePlatform fake;
    QString folder = TestSupport::freshFolder();
    KeyBindingStore store{folder + QStringLiteral("/keyBindings.json")};
    HotkeyMonitor monitor{folder + QStringLiteral("/keyBindings.json")};
    QStringList outcomes;
    std::int64_t jumpsBefore = countedJumps();
};
