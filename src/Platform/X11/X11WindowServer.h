#pragma once

#include "Platform/WindowServerPort.h"
#include "Platform/X11/X11Displays.h"

class X11Connection;

/// The window server of an X11 session over one shared connection: the window manager's
/// clients front to back, the RandR monitors, and the EWMH desktops as ordinary Spaces.
///
/// The desktops span every monitor, so they are listed once, as the Spaces of the main
/// display. Desktop n is the Space with id n + 1, so that 0 never names a Space; a window on
/// every desktop (sticky) is in the current one.
class X11WindowServer final : public WindowServerPort {
public:
    explicit X11WindowServer(X11Connection& connection) : connection_(connection), displays_(connection) {}

    /// A client without `_NET_WM_PID` is left out: a window here always has its process, and
    /// nothing could reach that one by process. So is a client whose pid is not one of this
    /// user's processes on this machine (see X11ClientOwner).
    std::optional<std::vector<WindowInfo>> windows() override;
    std::vector<DisplayDescription> displays() override { return displays_.displays(); }
    /// Nothing without `_NET_NUMBER_OF_DESKTOPS`: there is no EWMH manager to speak of.
    std::optional<std::vector<DisplaySpaces>> spaces() override;
    /// Every window's `_NET_WM_DESKTOP` read in one pipelined pass.
    std::optional<std::unordered_map<std::uint32_t, std::uint64_t>>
    spacesOfWindows(const std::vector<std::uint32_t>& windows) override;

    /// The Space id of desktop `desktop`.
    static std::uint64_t spaceOfDesktop(std::uint32_t desktop) { return std::uint64_t(desktop) + 1; }

private:
    X11Connection& connection_;
    X11Displays displays_;
};
