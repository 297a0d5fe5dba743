#include "WlrWords.h"

namespace {

PlatformWords words() {
    PlatformWords words;
    words.triggerKey = QStringLiteral("right Super");
    words.notTrusted = {QStringLiteral("Hotkeys are off: this Wayland compositor lets no program watch the keyboard"),
                        {}};
    words.notPermitted = words.notTrusted;
    words.unsupportedSession = words.notTrusted;
    words.noDisplay = {QStringLiteral("Hotkeys are off: the Wayland display does not answer. Start Kestavon from "
                                      "your Wayland session"),
                       {}};
    words.jumpBindingNeeded = {
        QStringLiteral("Your compositor keeps the keyboard to itself: bind each key in its configuration to run "
                       "kestavon --jump KEY (such as kestavon --jump 1-q for Q)"),
        {}};
    words.allKeysTaken = words.jumpBindingNeeded;
    words.nowListening = QStringLiteral("Hotkeys are ready");
    words.oneKeyTaken = QStringLiteral("%1 is taken by another program: free it in your compositor's configuration");
    words.severalKeysTaken =
        QStringLiteral("%1 are taken by other programs: free them in your compositor's configuration");
    words.setupTip = QStringLiteral("On this compositor, bind each key in its own configuration to run "
                                    "kestavon --jump KEY (1-q for Q, 2-a for A, 0-1 for 1).");
    words.setupTipSymbol = QStringLiteral("info.circle");
    return words;
}

} // namespace

const PlatformWords& wlrWords() {
    static const PlatformWords said = words();
    return said;
}
