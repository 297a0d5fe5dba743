#pragma once

#include <QRectF>

#include <cmath>
#include <cstdint>
#include <optional>

/// A window a jump shows: its number, its process and its frame as the window list gave them.
struct WindowTarget {
    std::uint32_t number = 0;
    std::int32_t pid = 0;
    QRectF frame;
};

/// Whether two frames are the same window's: within a point on each of x, y, width and
/// height. Frames read at different moments or through different interfaces differ by rounding.
inline bool framesMatch(const QRectF& a, const QRectF& b) {
    constexpr double tolerance = 1.0;
    return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance &&
           std::abs(std::abs(a.width()) - std::abs(b.width())) <= tolerance &&
           std::abs(std::abs(a.height()) - std::abs(b.height())) <= tolerance;
}

/// What un-minimising a window came to.
enum class RestoreOutcome {
    /// No such window, the window is not minimised, or its state cannot be read.
    unchanged,
    /// The window was minimised and is not any more.
    restored,
    /// The window was minimised and the request to restore it was refused.
    failed,
};

/// Operations on other applications' windows, and the trust they need.
class WindowOperationsPort {
public:
    virtual ~WindowOperationsPort() = default;

    /// Whether this process may operate other applications' windows.
    virtual bool isTrusted() = 0;
    /// Asks the system to show the user how to trust this process, when it is not trusted.
    virtual void promptForTrust() = 0;
    /// The frame of the application's focused window, else of its main window; nothing when
    /// neither can be read.
    virtual std::optional<QRectF> focusedWindowFrame(std::int32_t pid) = 0;
    /// Brings the window back from the minimised state; leaves a shown window alone.
    virtual RestoreOutcome restoreIfMinimized(const WindowTarget& window) = 0;
};
