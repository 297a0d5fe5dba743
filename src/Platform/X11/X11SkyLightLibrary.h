#pragma once

#include "Platform/SkyLightPort.h"

#include <xcb/xcb.h>

#include <mutex>
#include <unordered_map>

class X11Connection;
class X11Displays;

/// EWMH desktops presented as Spaces. All desktops belong to one managed display, the main
/// one (EWMH desktops span every monitor); desktop n is the ordinary Space with id n + 1, so
/// that 0 never names a Space. A window's Space is its `_NET_WM_DESKTOP` + 1, and a window
/// on every desktop is in the current one.
///
/// An instance serves one piece of work. The first Space-of-windows call reads the desktops
/// of all clients in one pipelined pass and answers the later calls of this instance from
/// it, since the inventory asks window by window. The Space list is read afresh every time:
/// switching watches it change.
class X11SkyLightLibrary final : public SkyLightLibrary {
public:
    X11SkyLightLibrary(X11Connection& connection, X11Displays& displays)
        : connection_(connection), displays_(displays) {}

    bool hasSymbol(const char* name) override;
    void close() override {}
    std::int32_t defaultConnection() override { return 1; }
    std::optional<QVariantList> copyManagedDisplaySpaces(std::int32_t connection) override;
    std::optional<QVariantList> copySpacesForWindows(std::int32_t connection, std::uint32_t selectorMask,
                                                     const QVariantList& windowNumbers) override;

private:
    /// The Space id of a desktop index, with "all desktops" meaning the current one.
    static std::optional<std::uint64_t> spaceOf(std::uint32_t desktop, std::optional<std::uint32_t> current);
    void readAllDesktops();

    X11Connection& connection_;
    X11Displays& displays_;
    std::once_flag snapshotOnce_;
    std::optional<std::uint32_t> currentDesktop_;
    std::unordered_map<xcb_window_t, std::uint32_t> desktopOf_;
};
