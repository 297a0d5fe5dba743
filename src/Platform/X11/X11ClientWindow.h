#pragma once

#include "Platform/X11/X11ClientProcess.h"

#include <xcb/xcb.h>

#include <QByteArray>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>

/// What one read of the X server says about a managed client window. Each field is filled
/// only when it was asked for and the server knew it.
struct X11ClientWindow {
    /// `_NET_WM_DESKTOP` of a window shown on every desktop.
    static constexpr std::uint32_t allDesktops = 0xFFFFFFFF;

    xcb_window_t id = XCB_WINDOW_NONE;
    /// Its process, as the server tells it or else as the window claims it.
    X11ClientProcess process;
    /// The class part of `WM_CLASS`, else its instance part.
    std::optional<QString> ownerName;
    /// `_NET_WM_NAME`, else `WM_NAME`.
    std::optional<QString> title;
    /// The client area (without the manager's decoration) in root coordinates.
    std::optional<QRect> frame;
    /// Mapped with every ancestor mapped.
    bool viewable = false;
    /// `_NET_WM_STATE_HIDDEN`: minimised (or otherwise hidden by the manager).
    bool hidden = false;
    bool sticky = false;
    std::optional<std::uint32_t> desktop;
    /// The window-list layer of its `_NET_WM_WINDOW_TYPE`: 0 for ordinary windows.
    std::int32_t layer = 0;
    /// `_NET_WM_WINDOW_OPACITY` as a fraction; opaque when the property is missing.
    double opacity = 1.0;
};
