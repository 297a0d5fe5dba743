#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <optional>
#include <vector>

/// One screen object: its device description (the display number under "NSScreenNumber")
/// and its localised name.
struct Screen {
    QVariantMap deviceDescription;
    QString localizedName;
};

/// The active displays, in the window server's global coordinates (points, origin at the top
/// left of the main display, y downwards).
class DisplayPort {
public:
    virtual ~DisplayPort() = default;

    /// The active display ids in the server's order; nothing when the call fails.
    virtual std::optional<std::vector<std::uint32_t>> activeDisplayList() = 0;
    /// The display's bounds.
    virtual QRectF displayBounds(std::uint32_t display) = 0;
    /// Whether the display is the main one.
    virtual bool displayIsMain(std::uint32_t display) = 0;
    /// The text form of the display's UUID; nothing when it cannot be made.
    virtual std::optional<QString> displayUUIDString(std::uint32_t display) = 0;
    /// The screen objects.
    virtual QList<Screen> screens() = 0;
};
