#pragma once

#include <QString>

#include <sys/types.h>

#include <cstdint>
#include <optional>

/// What /proc tells about another process. A process that has ended, or whose files cannot be
/// read, gives empty answers.
namespace ProcessInfo {

/// The real user id the process runs as (the first id of the "Uid:" line of its status);
/// nothing when there is no such process to see or its status makes no sense. `proc` is where
/// the process file system is mounted.
std::optional<uid_t> realUser(std::int32_t pid, const QByteArray& proc = "/proc");

/// The desktop entry that GIO launched the process from (GIO_LAUNCHED_DESKTOP_FILE in its
/// environment). Ignored when GIO_LAUNCHED_DESKTOP_FILE_PID names another process: the
/// variable was then inherited from the launched program by one of its children.
std::optional<QString> launchedDesktopFile(std::int32_t pid);
/// The file name of the program the process runs (/proc/<pid>/exe), empty when unreadable.
QString executableName(std::int32_t pid);
/// The kernel's name for the process (/proc/<pid>/comm), cut to 15 bytes by the kernel.
QString commandName(std::int32_t pid);

} // namespace ProcessInfo
