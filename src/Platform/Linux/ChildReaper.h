#pragma once

#include <sys/types.h>

#include <functional>

/// Collects the exit status of programs this process launched, so that no zombie stays
/// behind when one of them quits. Needs no main loop and no SIGCHLD handler.
namespace ChildReaper {

/// Reaps `pid`, a child of this process, when it ends, then calls `ended` (when given) with
/// its wait status, on a thread of its own.
void adopt(pid_t pid, std::function<void(int status)> ended = {});
/// Waits until the adopted child `pid` has ended and been reaped; false when `timeoutMs`
/// passed first.
bool waitUntilReaped(pid_t pid, int timeoutMs);

} // namespace ChildReaper
