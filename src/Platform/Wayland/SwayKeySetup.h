#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class SwayIpc;

/// How Kestavon's keys reach it on sway, which cannot tell the right Super key from the left
/// one: an XKB option of Kestavon's own turns the right Super key into Hyper_R on Mod3, and a
/// sway configuration snippet of Kestavon's own binds Mod3 + each bound key (by key code) to a
/// `nop kestavon <key>` command, whose binding event Kestavon hears. Keys without a binding are
/// left unbound, so right Super + such a key still reaches the focused window.
///
/// Only Kestavon's own files are written, each in one step: the XKB rules and symbols under
/// $XDG_CONFIG_HOME/xkb, and the snippet in Kestavon's configuration folder. The user adds one
/// `include` line to the sway configuration.
namespace SwayKeySetup {

/// The XKB option, and the modifier sway binds with.
inline constexpr char xkbOption[] = "kestavon:hyper_rsuper";
inline constexpr char modifier[] = "Mod3";

struct Paths {
    QString rules;   ///< <xkb>/rules/evdev
    QString symbols; ///< <xkb>/symbols/kestavon
    QString snippet; ///< <config>/kestavon/sway.conf
};
/// Where the files go for this user ($XDG_CONFIG_HOME, or ~/.config).
Paths paths();

/// The texts of the three files.
QByteArray rulesText();
QByteArray symbolsText();
/// The snippet for the bound keys (tap key codes; keys that cannot be bound are left out) with
/// the keyboard's XKB options (Kestavon's own is added once, the user's kept in their order).
QByteArray snippetText(const std::vector<std::int64_t>& boundKeys, const QStringList& userOptions);
/// The line the user adds at the end of the sway configuration.
QString includeLine(const Paths& where);

/// The keyboard XKB options the user set: every `xkb_options` value in sway's configuration
/// text, then XKB_DEFAULT_OPTIONS, each option once, Kestavon's own left out.
QStringList userOptions(const QString& swayConfig, const QString& defaultOptions);
/// The key a `nop kestavon <key>` binding command names, as a tap key code; nothing for any
/// other command.
std::optional<std::int64_t> keyOfCommand(const QString& command);

/// Whether the set-up is in effect: Kestavon's files are there and sway has read the snippet
/// (however its configuration includes it: the snippet's own binding mode is among sway's).
bool isInEffect(SwayIpc& ipc, const Paths& where);

struct Result {
    /// What went wrong, in plain words; empty on success.
    QString error;
    /// What the user does next (the include line), or that nothing is left to do.
    QString nextStep;
};
/// Writes the three files for the bound keys. XKB files of the user's own at those paths are
/// never replaced: that is an error, with the way out.
Result write(SwayIpc& ipc, const Paths& where, const std::vector<std::int64_t>& boundKeys);
/// Rewrites the snippet for the keys bound now and has sway read its configuration again;
/// nothing is written while the set-up was never made. The error, when there is one.
std::optional<QString> rebind(SwayIpc& ipc, const Paths& where, const std::vector<std::int64_t>& boundKeys);

} // namespace SwayKeySetup
