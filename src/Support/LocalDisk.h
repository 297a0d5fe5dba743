#pragma once

#include <QString>

/// Where a file lies: on a disk of this machine, or behind something that can hang (a network
/// share, a user-space file system).
namespace LocalDisk {

/// Whether the folder holding `filePath` is on a file system of this machine that answers
/// as fast as its disk. False for network and user-space file systems, for kinds this list
/// does not know, and when the folder cannot be asked. May block as long as the file system
/// does: ask on a thread that may wait.
bool holdsFolderOf(const QString& filePath);

} // namespace LocalDisk
