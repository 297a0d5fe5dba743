// The hotkey monitor on the X11 tap: whole key strokes typed on the test display, decided by
// the real monitor against a bindings file.

// The monitor's header uses Qt's signal keywords; this file includes no GIO header.
#undef QT_NO_KEYWORDS

#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "X11TapFixture.h"
#include "support/TestSupport.h"

#include <mutex>

class X11TapMonitor : public X11TapFixture {
protected:
    void SetUp() override {
        X11TapFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        TestSupport::writeAll(bindingsPath, R"([{"key":"1-q","entry":{"bundleId":"org.gnome.Terminal",)"
                                            R"("path":"/usr/share/applications/org.gnome.Terminal.desktop",)"
                                            R"("name":"Terminal"}}])");
        monitor = std::make_unique<HotkeyMonitor>(bindingsPath);
        monitor->setStrokeExecution([this](const QString& keyID, const AppEntry&) {
            std::lock_guard lock(mutex);
            strokes << keyID;
        });
        // As the monitor's start installs it: the port's tap, its callback asking decide().
        tap = startTap([this](std::uint32_t type, const TapEvent& event) {
            return monitor->decide(type, event) == HotkeyMonitor::Decision::swallow;
        });
        ASSERT_TRUE(tap->created());
        monitor->setTap(tap->tap());
    }
    void TearDown() override {
        tap.reset();
        monitor.reset();
    }
    /// The strokes handed to the execution queue once everything typed so far is decided.
    QStringList executed() {
        EXPECT_TRUE(settle());
        monitor->queue().waitUntilIdle();
        std::lock_guard lock(mutex);
        return strokes;
    }

    QString bindingsPath = TestSupport::freshFolder() + QStringLiteral("/keyBindings.json");
    std::unique_ptr<HotkeyMonitor> monitor;
    std::unique_ptr<RecordingTap> tap;
    std::mutex mutex;
    QStringList strokes;
};

TEST_F(X11TapMonitor, TheBindingsFileIsReadAtEachStrokeWhateverItHolds) {
    const auto binding = [](const char* key) {
        return QByteArray(R"({"key":")") + key +
               R"(","entry":{"bundleId":"org.gnome.Terminal","path":"/usr/share/applications/)"
               R"(org.gnome.Terminal.desktop","name":"Terminal"}})";
    };
    const QByteArray bound = '[' + binding("1-q") + ']';
    const struct {
        const char* what;
        QByteArray file;
        bool runs;
    } cases[] = {
        {"bound", bound, true},
        {"not JSON", R"([{"key":"1-q","entry":)", false},
        {"empty", "", false},
        {"larger than the store reads", bound + QByteArray(qsizetype(KeyBindingStore::maxFileBytes), ' '),
         false},
        {"bound again", bound, true},
        {"changed to bind another key", '[' + binding("1-w") + ']', false},
    };
    QStringList runs;
    int passed = 0;
    for (const auto& c : cases) {
        TestSupport::writeAll(bindingsPath, c.file);
        chord(XKey::superRight, XKey::q);
        if (c.runs) runs << QStringLiteral("1-q");
        passed += int(!c.runs);
        EXPECT_EQ(executed(), runs) << c.what;
        EXPECT_EQ(recorder->presses(XKey::q), passed) << c.what;
    }
}

TEST_F(X11TapMonitor, LeftSuperShiftOrAnUnboundKeyReachTheFocusedClient) {
    chord(XKey::superLeft, XKey::q);
    injector->press(XKey::superRight);
    chord(XKey::shiftLeft, XKey::q);
    injector->type(XKey::w); // unbound
    injector->release(XKey::superRight);
    EXPECT_TRUE(executed().isEmpty());
    EXPECT_EQ(recorder->presses(XKey::q), 2);
    // Passed on as typed, right Super still held.
    const auto w = std::find_if(recorder->keys().begin(), recorder->keys().end(),
                                [](const KeyRecorder::Key& k) { return k.press && k.code == XKey::w; });
    ASSERT_NE(w, recorder->keys().end());
    EXPECT_EQ(w->state & XCB_MOD_MASK_4, XCB_MOD_MASK_4);
}

TEST_F(X11TapMonitor, LeftSuperLetGoWhileRightSuperIsHeldLeavesRightSuperAlone) {
    injector->press(XKey::superRight);
    injector->press(XKey::superLeft);
    injector->type(XKey::q); // both held: not a stroke
    injector->release(XKey::superLeft);
    injector->type(XKey::q);
    injector->release(XKey::superRight);
    EXPECT_EQ(executed(), QStringList{QStringLiteral("1-q")});
    EXPECT_EQ(recorder->presses(XKey::q), 1);
}

TEST_F(X11TapMonitor, TypingGoesOnAfterASwallowedStroke) {
    injector->press(XKey::superRight);
    injector->type(XKey::q);
    injector->type(XKey::w);
    injector->type(XKey::q);
    injector->release(XKey::superRight);
    injector->type(XKey::q);
    injector->type(XKey::a);
    EXPECT_EQ(executed(), (QStringList{QStringLiteral("1-q"), QStringLiteral("1-q")}));
    EXPECT_EQ(recorder->presses(XKey::w), 1);
    EXPECT_EQ(recorder->presses(XKey::q), 1); // the one typed without Super
    EXPECT_EQ(recorder->presses(XKey::a), 1);
}
