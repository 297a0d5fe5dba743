#pragma once

#include <QString>
#include <QStringList>

/// Why the hotkeys are off and the way out, as the window says it.
struct TroubleWords {
    /// The footer's text: the cause and what the user can do.
    QString text;
    /// The address the window's "Open Settings" button opens; empty: the platform has nothing
    /// to open, and the window shows no button.
    QString fixAddress;

    bool operator==(const TroubleWords&) const = default;
};

/// The platform's own words for what the window says about the hotkeys.
struct PlatformWords {
    /// The trigger key in running text: "right Command" on macOS, "right Super" on Linux.
    QString triggerKey;

    /// This process is not trusted to watch the keyboard.
    TroubleWords notTrusted;
    /// The tap could not be installed, one entry per TapFailure (KeyboardTapPort.h).
    TroubleWords notPermitted;
    TroubleWords unsupportedSession;
    TroubleWords noDisplay;
    TroubleWords allKeysTaken;
    /// The desktop needs Kestavon's own set-up first; the window's button makes it.
    TroubleWords setUpNeeded;
    /// The keys must be bound in the compositor's own configuration to `kestavon --jump KEY`.
    TroubleWords jumpBindingNeeded;
    /// Said once the hotkeys work after any of the above.
    QString nowListening;

    /// One key another program holds while the rest work; %1 is the key with the trigger key.
    QString oneKeyTaken;
    /// The same for several keys; %1 lists them.
    QString severalKeysTaken;
    /// Another program holds the trigger key on its own, so no stroke reaches Kestavon: the
    /// cause and how to free it; %1 is the trigger key.
    QString triggerKeyTaken = QStringLiteral(
        "No %1 shortcut reaches Kestavon: another program holds the %1 key by itself (window managers "
        "often open their menu with it). Remove that shortcut in the window manager's keyboard settings, "
        "then start Kestavon again.");

    /// The last line of the Stats tab's instructions: what to set up the first time. Its
    /// symbol is a name SymbolIcon knows.
    QString setupTip;
    QString setupTipSymbol;

    /// "Right Super + E is taken by another program…" for the legends of the keys other
    /// programs hold (in layout order); empty when there are none.
    QString keysTakenText(const QStringList& legends) const;
    /// triggerKeyTaken with the trigger key filled in.
    QString triggerKeyTakenText() const { return triggerKeyTaken.arg(triggerKey); }
};
