#pragma once

// The monitor's header uses Qt's signal keywords: the including file undefines QT_NO_KEYWORDS
// first and includes no GIO header.
#include "Hotkey/HotkeyMonitor.h"
#include "X11Fixture.h"
#include "support/TestSupport.h"

#include <mutex>

/// The hotkey monitor deciding on the X11 tap, as its start installs it, against a bindings
/// file of the test's own that binds right Super + Q; the strokes it runs are only recorded.
class X11TapMonitor : public X11TapFixture {
protected:
    void SetUp() override {
        X11TapFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        TestSupport::writeAll(bindingsPath, binding("1-q"));
        monitor = std::make_unique<HotkeyMonitor>(bindingsPath, std::move(lookup));
        monitor->setStrokeExecution([this](const QString& keyID, const AppEntry&) {
            std::lock_guard lock(mutex);
            strokes << keyID;
        });
        tap = std::make_unique<RecordingTap>([this](std::uint32_t type, const TapEvent& event) {
            return monitor->decide(type, event) == HotkeyMonitor::Decision::swallow;
        });
        ASSERT_TRUE(tap->tap());
        monitor->setTap(tap->tap());
    }

    /// A bindings file binding `key` to a terminal.
    static QByteArray binding(const char* key) {
        return QByteArray(R"([{"key":")") + key +
               R"(","entry":{"bundleId":"org.gnome.Terminal","path":"/usr/share/applications/)"
               R"(org.gnome.Terminal.desktop","name":"Terminal"}}])";
    }

    /// The strokes handed to the execution queue once everything typed so far is decided.
    QStringList executed() {
        EXPECT_TRUE(settle());
        monitor->queue().waitUntilIdle();
        std::lock_guard lock(mutex);
        return strokes;
    }

    // In this order: the tap goes first, then the monitor its callback asks.
    std::mutex mutex;
    QStringList strokes;
    std::unique_ptr<BindingsLookup> lookup = std::make_unique<BindingsLookup>();
    QString bindingsPath = TestSupport::freshFolder() + QStringLiteral("/keyBindings.json");
    std::unique_ptr<HotkeyMonitor> monitor;
    std::unique_ptr<RecordingTap> tap;
};
