// A bindings file that stalls, under the real X11 tap: the grabbed key and the typing after it
// reach the focused window, and strokes work again once the file answers.

// The monitor's header uses Qt's signal keywords; this file includes no GIO header.
#undef QT_NO_KEYWORDS

#include "X11TapMonitor.h"

#include <future>

namespace {

class X11StalledRead : public X11TapMonitor {
protected:
    X11StalledRead() {
        // A file system whose server hangs until the test lets it answer.
        lookup =
            std::make_unique<BindingsLookup>([answers = answers](const QString& path, const QString& keyID) {
                answers.wait();
                return KeyBindingStore::lookup(path, keyID);
            });
    }

    // Reads wait until the gate opens, or goes with the fixture.
    std::promise<void> gate;
    std::shared_future<void> answers = gate.get_future().share();
};

} // namespace

TEST_F(X11StalledRead, TheStrokeAndTheTypingAfterItReachTheWindowAndStrokesWorkOnceTheFileAnswers) {
    injector->chord(XKey::superRight, XKey::q);
    injector->type(XKey::w);
    EXPECT_TRUE(windows->waitForPresses(XKey::q, 1));
    EXPECT_TRUE(windows->waitForPresses(XKey::w, 1));
    // The read still hangs: the next stroke passes without waiting for it again.
    injector->chord(XKey::superRight, XKey::q);
    EXPECT_TRUE(windows->waitForPresses(XKey::q, 2));

    gate.set_value();
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return !monitor->bindingsLookup().isReading(); }));
    injector->chord(XKey::superRight, XKey::q);
    EXPECT_EQ(executed(), QStringList{QStringLiteral("1-q")});
    EXPECT_EQ(windows->presses(XKey::q), 2);
}
