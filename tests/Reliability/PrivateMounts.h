#pragma once

#include <QString>

/// File systems a test mounts for itself (a small tmpfs to fill up, one to make read-only).
/// Mounting needs a private mount namespace: the test program runs the current test once
/// more inside one, through unshare(1), as root or as a user with user namespaces. Mounts
/// then vanish with that process, whatever happens to it.
namespace PrivateMounts {

/// True in the process that runs inside the private namespace.
bool inside();

/// Outside: runs the current test inside a private namespace and reports its result as this
/// test's (a failure with its output, or a skip with the reason when no namespace can be had).
void runCurrentTestInside();

/// Mounts a tmpfs of `kibibytes` on `folder`. Failures are reported as test failures.
bool mountTmpfs(const QString& folder, int kibibytes);
/// Makes the file system mounted on `folder` read-only, or writable again.
bool remount(const QString& folder, bool readOnly);
bool unmount(const QString& folder);

} // namespace PrivateMounts
