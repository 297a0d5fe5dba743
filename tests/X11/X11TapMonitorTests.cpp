// Whole key strokes typed on the test display, decided by the real monitor on the X11 tap.

// The monitor's header uses Qt's signal keywords; this file includes no GIO header.
#undef QT_NO_KEYWORDS

#include "Keyboard/KeyBindingStore.h"
#include "X11TapMonitor.h"

TEST_F(X11TapMonitor, TheBindingsFileIsReadAtEachStrokeWhateverItHolds) {
    const struct {
        const char* what;
        QByteArray file;
        bool runs;
    } cases[] = {
        {"bound", binding("1-q"), true},
        {"not JSON", R"([{"key":"1-q","entry":)", false},
        {"empty", "", false},
        {"larger than the store reads",
         binding("1-q") + QByteArray(qsizetype(KeyBindingStore::maxFileBytes), ' '), false},
        {"bound again", binding("1-q"), true},
        {"changed to bind another key", binding("1-w"), false},
    };
    QStringList runs;
    int passed = 0;
    for (const auto& c : cases) {
        TestSupport::writeAll(bindingsPath, c.file);
        injector->chord(XKey::superRight, XKey::q);
        if (c.runs) runs << QStringLiteral("1-q");
        passed += int(!c.runs);
        EXPECT_EQ(executed(), runs) << c.what;
        EXPECT_EQ(windows->presses(XKey::q), passed) << c.what;
    }
}

TEST_F(X11TapMonitor, LeftSuperShiftOrAnUnboundKeyReachTheFocusedClient) {
    injector->chord(XKey::superLeft, XKey::q);
    injector->press(XKey::superRight);
    injector->chord(XKey::shiftLeft, XKey::q);
    injector->type(XKey::w); // unbound
    injector->chord(XKey::superLeft, XKey::q);
    injector->type(XKey::q); // left Super let go again: right Super + Q alone
    injector->release(XKey::superRight);
    EXPECT_EQ(executed(), QStringList{QStringLiteral("1-q")});
    EXPECT_EQ(windows->presses(XKey::q), 3);
    // Passed on as typed, right Super still held.
    const auto& keys = windows->keys();
    const auto w = std::find_if(keys.begin(), keys.end(), [](const auto& k) { return k.code == XKey::w; });
    ASSERT_NE(w, keys.end());
    EXPECT_EQ(w->state & XCB_MOD_MASK_4, XCB_MOD_MASK_4);
}

TEST_F(X11TapMonitor, StrokesAreSwallowedWhateverLockIsOnAndTypingGoesOnAfterThem) {
    for (const std::uint8_t lock : {XKey::capsLock, XKey::numLock}) {
        injector->type(lock); // on
        injector->chord(XKey::superRight, XKey::q);
        injector->type(lock); // off again
    }
    injector->press(XKey::superRight);
    injector->type(XKey::q);
    injector->type(XKey::w);
    injector->type(XKey::q);
    injector->release(XKey::superRight);
    injector->type(XKey::q);
    injector->type(XKey::a);
    EXPECT_EQ(executed(), QStringList(4, QStringLiteral("1-q")));
    EXPECT_EQ(windows->presses(XKey::w), 1);
    EXPECT_EQ(windows->presses(XKey::q), 1); // the one typed without Super
    EXPECT_EQ(windows->presses(XKey::a), 1);
}
