#include "MacWords.h"

PlatformWords MacWords::words() {
    const QString settings = QStringLiteral("x-apple.systempreferences:com.apple.preference.security?");
    // Every way the tap can fail is the one the system shows a Mac: the Input Monitoring pane.
    const TroubleWords tapRefused{
        QStringLiteral("Hotkey listener creation failed (Input Monitoring permission may also be required)"),
        settings + QStringLiteral("Privacy_ListenEvent")};
    PlatformWords words;
    words.triggerKey = QStringLiteral("right Command");
    words.notTrusted = {QStringLiteral("Listening permission not granted: System Settings → Privacy & Security → "
                                       "Accessibility, enable Kestavon"),
                        settings + QStringLiteral("Privacy_Accessibility")};
    words.notPermitted = tapRefused;
    words.unsupportedSession = tapRefused;
    words.noDisplay = tapRefused;
    words.allKeysTaken = tapRefused;
    words.nowListening = QStringLiteral("Listening permission granted — hotkeys are ready");
    words.oneKeyTaken = QStringLiteral("%1 is taken by another program");
    words.severalKeysTaken = QStringLiteral("%1 are taken by other programs");
    words.setupTip =
        QStringLiteral("First time? Allow Kestavon in System Settings > Privacy & Security > Accessibility.");
    words.setupTipSymbol = QStringLiteral("lock.shield");
    return words;
}
