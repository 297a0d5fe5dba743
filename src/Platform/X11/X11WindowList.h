#pragma once

#include "Platform/WindowListPort.h"

class X11Connection;

/// The window list over the window manager's client list: front to back, each client with
/// its pid, class, title, client area, visibility, type and opacity, read in one pipelined
/// pass. A client without `_NET_WM_PID` gets no pid key (nothing can activate or inspect it
/// by process), so the enumerator leaves it out.
class X11WindowList final : public WindowListPort {
public:
    explicit X11WindowList(X11Connection& connection) : connection_(connection) {}

    std::optional<QVariantList> copyWindowInfo(std::uint32_t options,
                                               std::uint32_t relativeToWindow) override;

private:
    X11Connection& connection_;
};
