#include "Platform/X11/X11Words.h"

namespace {

PlatformWords linuxWords() {
    // Key grabs are the only way to the keyboard here: the X server has no permission to give,
    // so nothing on Linux has a button to open.
    PlatformWords words;
    words.triggerKey = QStringLiteral("right Super");
    words.notTrusted = {QStringLiteral("Hotkeys are off: this desktop does not let Kestavon watch the keyboard. "
                                       "Log in to an X11 (Xorg) session"),
                        {}};
    words.notPermitted = {QStringLiteral("Hotkeys are off: the X server refused to let Kestavon watch the keyboard. "
                                         "Start Kestavon from your own X11 session"),
                          {}};
    words.unsupportedSession = {QStringLiteral("Hotkeys are off in this Wayland session: they work in an X11 (Xorg) "
                                               "session and in sway. Choose one of them at login"),
                                {}};
    words.noDisplay = {QStringLiteral("Hotkeys are off: there is no X display to connect to. Start Kestavon "
                                      "inside an X11 (Xorg) session"),
                       {}};
    words.allKeysTaken = {QStringLiteral("Hotkeys are off: other programs hold every Right Super shortcut. Free "
                                         "them in the window manager's keyboard settings"),
                          {}};
    words.nowListening = QStringLiteral("Hotkeys are ready");
    words.oneKeyTaken =
        QStringLiteral("%1 is taken by another program: free it in the window manager's keyboard settings");
    words.severalKeysTaken =
        QStringLiteral("%1 are taken by other programs: free them in the window manager's keyboard settings");
    words.setupTip = QStringLiteral("Hotkeys work in an X11 (Xorg) session and in sway; other Wayland sessions are not "
                                    "served yet.");
    words.setupTipSymbol = QStringLiteral("info.circle");
    return words;
}

} // namespace

const PlatformWords& x11Words() {
    static const PlatformWords words = linuxWords();
    return words;
}
