#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

/// The process a client window is of, and whose word that is. The X server knows the process
/// at the other end of a local client's connection, and when it says, that is the window's
/// process, whatever the window's `_NET_WM_PID` claims: a sandboxed program (one in a pid
/// namespace of its own, as Flatpak runs them) writes its pid inside the sandbox there, which
/// here names some other process, often one of the kernel's. Only a client the server cannot
/// tell of (one over TCP, or a server without the X-Resource extension) is taken at its word,
/// with the host it names.
struct X11ClientProcess {
    std::optional<std::int32_t> pid;
    /// Whether `pid` is the server's word; else it is the window's `_NET_WM_PID`.
    bool fromServer = false;
    /// `WM_CLIENT_MACHINE`: the host the client says it runs on.
    std::optional<QByteArray> clientMachine;

    bool operator==(const X11ClientProcess&) const = default;
};
