#pragma once

#include <QString>

/// Which desktop session Kestavon runs in, from its environment, and so which backend serves it.
struct LinuxSession {
    enum class Kind {
        /// An X11 session (or none that says otherwise, with an X display).
        x11,
        /// A sway session: its IPC socket is named.
        sway,
        /// Another wlroots compositor: its Wayland display offers the toplevel list
        /// (zwlr_foreign_toplevel_manager_v1).
        wlroots,
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
    /// when the socket is named; `toplevelsOffered` whether the Wayland display offers the
    /// toplevel list, asked only when a Wayland display is named.
    template <typename SwayAnswers, typename ToplevelsOffered>
    Kind kind(SwayAnswers swayAnswers, ToplevelsOffered toplevelsOffered) const {
        if (!swaySocket.isEmpty() && swayAnswers()) return Kind::sway;
        if (!waylandDisplay.isEmpty() && toplevelsOffered()) return Kind::wlroots;
        if (isWayland()) return Kind::unservedWayland;
        return display.isEmpty() ? Kind::none : Kind::x11;
    }
};
