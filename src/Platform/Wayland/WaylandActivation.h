#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

/// Start-up tokens of the compositor's activation protocol (xdg-activation): a program launched
/// with one in XDG_ACTIVATION_TOKEN may take the focus with its first window, where a compositor
/// would otherwise leave it behind the focused one.
namespace WaylandActivation {

/// A fresh token for a program about to start with desktop entry `appId` (its file name without
/// ".desktop"), asked on a connection of its own to the Wayland display; nothing when there is
/// no display, the compositor offers no activation, or gives no token within `wait`.
std::optional<QByteArray> token(const QString& appId,
                                std::chrono::milliseconds wait = std::chrono::milliseconds(300));

} // namespace WaylandActivation
