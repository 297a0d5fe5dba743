#include "SwayWords.h"

namespace {

PlatformWords words() {
    PlatformWords words;
    words.triggerKey = QStringLiteral("right Super");
    words.notTrusted = {QStringLiteral("Hotkeys are off: sway does not let Kestavon watch the keyboard"), {}};
    words.notPermitted = words.notTrusted;
    words.unsupportedSession = words.notTrusted;
    words.noDisplay = {
        QStringLiteral("Hotkeys are off: sway does not answer on its IPC socket (SWAYSOCK). Start "
                       "Kestavon from your sway session"),
        {}};
    words.allKeysTaken = {QStringLiteral("Hotkeys are off: sway holds every Right Super shortcut"), {}};
    words.setUpNeeded = {
        QStringLiteral("Hotkeys are off: sway needs Kestavon's key set-up. Click Set Up (or run "
                       "kestavon --setup-sway), then add the line it shows to your sway configuration"),
        {}};
    words.nowListening = QStringLiteral("Hotkeys are ready");
    words.oneKeyTaken = QStringLiteral("%1 is taken by another program: free it in your sway configuration");
    words.severalKeysTaken =
        QStringLiteral("%1 are taken by other programs: free them in your sway configuration");
    // sway cannot bind the right Super key apart from the left one without Kestavon's set-up.
    words.triggerKeyTaken =
        QStringLiteral("No %1 shortcut reaches Kestavon: sway binds the %1 key by itself. Run "
                       "kestavon --setup-sway and add the line it shows to your sway configuration.");
    words.setupTip =
        QStringLiteral("On sway, run kestavon --setup-sway once and add the line it shows to your sway "
                       "configuration.");
    words.setupTipSymbol = QStringLiteral("info.circle");
    return words;
}

} // namespace

const PlatformWords& swayWords() {
    static const PlatformWords said = words();
    return said;
}
