#pragma once

#include <QString>

#include <cstdint>
#include <optional>

/// What /proc tells about another process of this user. A process that has ended, or whose
/// files cannot be read, gives empty answers.
namespace ProcessInfo {

/// The desktop entry that GIO launched the process from (GIO_LAUNCHED_DESKTOP_FILE in its
/// environment). Ignored when GIO_LAUNCHED_DESKTOP_FILE_PID names another process: the
/// variable was then inherited from the launched program by one of its children.
std::optional<QString> launchedDesktopFile(std::int32_t pid);
/// The file name of the program the process runs (/proc/<pid>/exe), empty when unreadable.
QString executableName(std::int32_t pid);
/// The kernel's name for the process (/proc/<pid>/comm), cut to 15 bytes by the kernel.
QString commandName(std::int32_t pid);

} // namespace ProcessInfo
