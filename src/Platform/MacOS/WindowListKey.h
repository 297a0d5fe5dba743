#pragma once

#include <QString>

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
