#pragma once

#include <QRectF>

#include <atomic>
#include <cstdint>
#include <optional>

/// The few Accessibility calls that switching needs: trust, a one-time trust prompt, the
/// focused window's frame and un-minimising the window a jump shows. It never raises,
/// moves or resizes windows.
namespace WindowAX {

enum class RestoreOutcome {
    /// No matching window, the window is not minimised, or its state cannot be read.
    unchanged,
    /// The window was minimised and is not any more.
    restored,
    /// The window was minimised and clearing the flag was refused.
    failed,
};

/// Set the first time the trust prompt is asked for, so the system shows it at most once per
/// process (shared by the hotkey start and the switch service). Tests may clear it.
extern std::atomic<bool> trustPromptLatch;

/// Asks for trust with the system prompt, the first time only.
void requestTrustOnce();
/// Whether this process is trusted for Accessibility.
bool isTrusted();
/// The frame of the application's focused window, else of its main window; nothing when
/// neither can be read.
std::optional<QRectF> focusedWindowFrame(std::int32_t pid);
/// Un-minimises the application's first window (in its Accessibility order) whose frame
/// matches `frame` within a point.
RestoreOutcome restoreIfMinimized(std::int32_t pid, const QRectF& frame);

} // namespace WindowAX
