#pragma once

#include "Platform/SpaceSwitcherPort.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

class X11Connection;

/// Makes an EWMH desktop current: asks the window manager for the target desktop at once
/// (`_NET_CURRENT_DESKTOP`) and waits for the root window's property to say it is shown.
/// EWMH desktops span every monitor, so the display named does not change which one is meant.
class X11SpaceSwitcher final : public SpaceSwitcherPort {
public:
    /// How long the manager may take before the switch counts as refused.
    static constexpr std::chrono::milliseconds confirmationLimit{1000};

    X11SpaceSwitcher();
    ~X11SpaceSwitcher() override;

    bool makeCurrent(std::uint64_t space, const QString& displayIdentifier) override;

    /// The root's current desktop and number of desktops, as the server last said.
    struct Desktops {
        std::optional<std::uint32_t> current;
        std::optional<std::uint32_t> count;
    };

private:
    /// The private connection that hears the root's property changes, opened at first use.
    bool listening();

    std::mutex mutex_;
    std::unique_ptr<X11Connection> connection_;
    /// The root's desktops as last read on the connection, while it has heard no change.
    std::optional<Desktops> known_;
};
