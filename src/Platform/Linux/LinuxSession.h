#pragma once

#include <QString>

/// Which desktop session Kestavon runs in, from its environment, and so which backend serves it.
struct LinuxSession {
    enum class Kind {
        /// An X11 session (or none that says otherwise, with an X display).
        x11,
        /// A sway session: its IPC socket is named.
        sway,
        /// A Wayland session that no backend serves; windows may still be listed through
        /// its X server, but no hotkeys work.
        unservedWayland,
        /// Nothing to show windows on.
        none,
    };

    QString display;        ///< DISPLAY
    QString waylandDisplay; ///< WAYLAND_DISPLAY
    QString sessionType;    ///< XDG_SESSION_TYPE
    QString swaySocket;     ///< SWAYSOCK

    /// The session of this process.
    static LinuxSession current();

    bool isWayland() const;
    /// The backend to try first; `swayAnswers` says whether sway's socket answers, asked only
    /// when the socket is named. Other Wayland compositors are told apart here too, each by
    /// its own sign, before a session counts as unserved.
    template <typename SwayAnswers> Kind kind(SwayAnswers swayAnswers) const {
        if (!swaySocket.isEmpty() && swayAnswers()) return Kind::sway;
        if (isWayland()) return Kind::unservedWayland;
        return display.isEmpty() ? Kind::none : Kind::x11;
    }
};
