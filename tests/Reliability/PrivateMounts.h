#pragma once

#include <QString>

/// A small tmpfs a test mounts for itself, to fill up. Mounting needs a private mount
/// namespace: the test program runs the current test once more inside one, through
/// unshare(1), as root or as a user with user namespaces. Mounts vanish with that process.
namespace PrivateMounts {

/// True in the process that runs inside the private namespace.
bool inside();

/// Outside: runs the current test inside a private namespace and reports its result as this
/// test's (a failure with its output, or a skip with the reason when no namespace can be had).
void runCurrentTestInside();

/// Mounts a tmpfs of `kibibytes` on `folder`, or unmounts it; failures are test failures.
bool mountTmpfs(const QString& folder, int kibibytes);
bool unmount(const QString& folder);

} // namespace PrivateMounts
