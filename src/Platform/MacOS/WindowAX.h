#pragma once

#include "Platform/WindowOperationsPort.h"

#include <QRectF>

#include <cstdint>
#include <optional>

class MacSystem;

/// The few Accessibility calls that switching needs: trust, the trust prompt, the focused
/// window's frame and un-minimising the window a jump shows. It never raises, moves or
/// resizes windows.
namespace WindowAX {

/// Whether this process is trusted for Accessibility.
bool isTrusted(MacSystem& system);
/// Asks for trust with the system prompt; the system shows it only when not trusted.
void promptForTrust(MacSystem& system);
/// The frame of the application's focused window, else of its main window; nothing when
/// neither can be read.
std::optional<QRectF> focusedWindowFrame(MacSystem& system, std::int32_t pid);
/// Un-minimises the application's first window (in its Accessibility order) whose frame
/// matches `frame` within a point.
RestoreOutcome restoreIfMinimized(MacSystem& system, std::int32_t pid, const QRectF& frame);

} // namespace WindowAX
