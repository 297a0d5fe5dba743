// Num Lock and the Super keys moved to other modifiers; each case sets the keymap back.
#include "X11Fixture.h"

#include <QStandardPaths>

namespace {

struct MappingChange {
    const char* name;
    bool whileRunning;
    bool numLockOn;
    QStringList command;
};

const QStringList numLockOnMod3{"xmodmap", "-e", "clear mod2", "-e", "add mod3 = Num_Lock"};
const MappingChange changes[] = {
    {"NumLockOnMod3BeforeStart", false, true, numLockOnMod3},
    {"NumLockOnMod3WhileRunning", true, true, numLockOnMod3},
    {"SuperOnMod3WhileRunning",
     true,
     false,
     {"xmodmap", "-e", "remove mod4 = Super_L Super_R", "-e", "add mod3 = Super_L Super_R"}},
    {"WinKeysAsControlWhileRunning", true, false, {"setxkbmap", "-option", "altwin:ctrl_win"}},
};

} // namespace

class X11TapKeyboardMapping : public X11TapFixture, public testing::WithParamInterface<MappingChange> {
protected:
    /// Changes the mapping and locks Num Lock if the case asks; false when the tool failed.
    bool change() {
        int status = -1;
        runTool(GetParam().command[0], GetParam().command.mid(1), &status);
        if ((numLockOn = status == 0 && GetParam().numLockOn)) injector->type(XKey::numLock);
        return status == 0;
    }
    void TearDown() override {
        tap.reset();
        if (!injector) return;
        // Num Lock goes off on the mapping that locked it; setxkbmap then builds the keymap
        // again from the session's rules, which undoes xmodmap's changes too.
        if (numLockOn) injector->type(XKey::numLock);
        injector->sync();
        runTool("setxkbmap", {"-option", ""});
    }

    std::unique_ptr<RecordingTap> tap;
    bool numLockOn = false;
};

TEST_P(X11TapKeyboardMapping, RightSuperStrokesAreStillSwallowed) {
    if (QStandardPaths::findExecutable(GetParam().command[0]).isEmpty())
        GTEST_SKIP() << GetParam().command[0].toStdString() << " is not installed (scripts/bootstrap)";
    ASSERT_TRUE(GetParam().whileRunning || change());
    // Swallows Q while Command is held.
    tap = std::make_unique<RecordingTap>([](std::uint32_t type, const TapEvent& event) {
        return type == EventType::keyDown && event.keyCode == 12 && (event.flags & EventFlag::command);
    });
    ASSERT_TRUE(tap->tap());
    ASSERT_TRUE(!GetParam().whileRunning || change());
    // The tap reads this press after the mapping change, so it has grabbed anew by then.
    injector->press(XKey::superRight);
    ASSERT_TRUE(tap->waitForEvents(1));
    injector->type(XKey::q);
    injector->release(XKey::superRight);
    ASSERT_TRUE(settle());
    EXPECT_EQ(windows->presses(XKey::q), 0);
}

INSTANTIATE_TEST_SUITE_P(, X11TapKeyboardMapping, testing::ValuesIn(changes),
                         [](const auto& info) { return info.param.name; });
