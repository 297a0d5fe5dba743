#include "Platform/PlatformWords.h"

namespace {
// Keeps the footer on one line however many keys are held.
constexpr qsizetype keysNamed = 3;
} // namespace

QString PlatformWords::keysTakenText(const QStringList& legends) const {
    if (legends.isEmpty()) return {};
    QString trigger = triggerKey;
    if (!trigger.isEmpty()) trigger[0] = trigger[0].toUpper();
    const QString first = trigger + QStringLiteral(" + ") + legends.first();
    if (legends.size() == 1) return oneKeyTaken.arg(first);

    // "Right Super + E, R and T", or "Right Super + E, R, T and 4 more keys".
    QStringList named{first};
    named += legends.mid(1, keysNamed - 1);
    const qsizetype rest = legends.size() - named.size();
    const QString last = rest > 0 ? QStringLiteral("%1 more keys").arg(rest) : named.takeLast();
    return severalKeysTaken.arg(named.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last);
}

PlatformWords PlatformWords::macOS() {
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
