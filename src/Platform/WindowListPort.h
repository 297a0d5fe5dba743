#pragma once

#include <QString>
#include <QVariantList>

#include <cstdint>
#include <optional>

/// Keys of a window-list entry, and of its bounds dictionary.
namespace WindowListKey {
inline const QString number = QStringLiteral("kCGWindowNumber");
inline const QString ownerPID = QStringLiteral("kCGWindowOwnerPID");
inline const QString ownerName = QStringLiteral("kCGWindowOwnerName");
inline const QString name = QStringLiteral("kCGWindowName");
inline const QString bounds = QStringLiteral("kCGWindowBounds");
inline const QString layer = QStringLiteral("kCGWindowLayer");
inline const QString alpha = QStringLiteral("kCGWindowAlpha");
inline const QString isOnscreen = QStringLiteral("kCGWindowIsOnscreen");
inline const QString boundsX = QStringLiteral("X");
inline const QString boundsY = QStringLiteral("Y");
inline const QString boundsWidth = QStringLiteral("Width");
inline const QString boundsHeight = QStringLiteral("Height");
} // namespace WindowListKey

/// Options of the window-list call.
namespace WindowListOption {
constexpr std::uint32_t onScreenOnly = 1;
constexpr std::uint32_t excludeDesktopElements = 16;
} // namespace WindowListOption

/// The window server's public window list.
class WindowListPort {
public:
    virtual ~WindowListPort() = default;

    /// The windows front to back, each a dictionary under the WindowListKey names (values
    /// that the server does not know are missing); nothing when the call fails.
    virtual std::optional<QVariantList> copyWindowInfo(std::uint32_t options, std::uint32_t relativeToWindow) = 0;
};
