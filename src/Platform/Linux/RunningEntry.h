#pragma once

#include "Platform/Linux/DesktopEntryIndex.h"
#include "Platform/WorkspacePort.h"

#include <QString>

#include <cstdint>

/// Which installed application a running program is, as every Linux backend tells it.
namespace RunningEntry {

/// The application of process `pid`, whose windows have this class (an X11 WM_CLASS, a Wayland
/// app_id), told the surest way first: the desktop file it was launched from, the class in an
/// entry's StartupWMClass or name, then the program it runs. Without an entry, it is named
/// after the class or the program.
RunningApplication ofProcess(std::int32_t pid, const QString& windowClass, const QString& instance,
                             const DesktopEntryIndex::Entries& entries);

/// The same from the windows' class alone, for a desktop that names no process; `identifier`
/// stands for the application.
RunningApplication ofClass(std::int32_t identifier, const QString& windowClass,
                           const DesktopEntryIndex::Entries& entries);

} // namespace RunningEntry
