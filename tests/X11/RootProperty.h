#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <optional>

/// Watches one CARDINAL property of the root window (_NET_CURRENT_DESKTOP,
/// _NET_SHOWING_DESKTOP) on a connection of its own, so a test can wait for the window
/// manager to act.
class RootProperty {
public:
    /// Null when the display cannot be reached.
    static std::unique_ptr<RootProperty> open(const char* name);
    ~RootProperty();

    RootProperty(const RootProperty&) = delete;
    RootProperty& operator=(const RootProperty&) = delete;

    /// The value now; nothing when the property is missing.
    std::optional<std::uint32_t> value();
    /// Waits, by the property's change events, until it holds `expected`.
    bool waitFor(std::uint32_t expected, int timeoutMs = 5000);

private:
    RootProperty(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t atom)
        : connection_(connection), root_(root), atom_(atom) {}

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t atom_;
};
