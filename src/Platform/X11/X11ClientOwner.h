#pragma once

#include "Platform/X11/X11ClientProcess.h"

#include <QByteArray>

#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

/// Tells whether a client window's process (see X11ClientProcess) is one of this user's. Only
/// such a process says, by its program and its environment, which application a window is
/// of. Any other window is taken as one naming no process, so it is no running application
/// and no jump goes to it: a client of another account on this display (its process would
/// be described by what another user runs, and it may name anything in its class), and a
/// client of another machine (its pid names nothing here, or one of ours by chance). A pid
/// that names no process at all is no better. Made for one read of many windows: each pid's
/// owner is looked up once.
class X11ClientOwner final {
public:
    /// Looks processes up as `user` in `proc`, the process file system.
    explicit X11ClientOwner(uid_t user = ::getuid(), QByteArray proc = "/proc");

    /// Whether the process is one of ours: a pid the server gave is of this machine whatever
    /// host the client names; a pid the window claims is judged with the host it names.
    bool isOurs(const X11ClientProcess& process);
    /// Whether `pid`, read from a window whose `WM_CLIENT_MACHINE` is `clientMachine`
    /// (nothing, or empty, when the client did not say), is one of ours.
    bool isOurs(std::int32_t pid, const std::optional<QByteArray>& clientMachine);

    /// Whether a client's `WM_CLIENT_MACHINE` names the host called `host`: the same name,
    /// letter case aside, also when only one of the two carries the domain.
    static bool isHost(const QByteArray& clientMachine, const QByteArray& host);

private:
    const uid_t user_;
    const QByteArray proc_;
    QByteArray host_;
    std::vector<std::pair<std::int32_t, bool>> known_;
};
