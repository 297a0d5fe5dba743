#pragma once

#include "Platform/Platform.h"

#include <QString>

#include <memory>

/// The one place where Kestavon chooses its Linux backend at start-up, by the session it runs
/// in (LinuxSession): sway through its IPC socket when it answers, another wlroots compositor
/// through its toplevel list, else X11 — whose hotkeys are off, said plainly, in a Wayland
/// session no backend serves.
namespace LinuxPlatformChoice {

/// The platform for this session; null, with the reason, when none can run here.
std::unique_ptr<Platform> create(QString* whyNot);

} // namespace LinuxPlatformChoice
