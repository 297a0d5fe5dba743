#pragma once

#include "Keyboard/AppEntry.h"

#include <QIcon>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;
class QPalette;

/// The application shown on a bound key cap: its icon while its bundle exists, otherwise a
/// placeholder with the first character of its name. The bundle is looked for at every
/// draw, so a moved application shows the placeholder until its path is refreshed.
class KeyIconView {
public:
    /// The icon's side in points.
    static constexpr double side = 38;

    /// Draws the icon or the placeholder filling `box`.
    static void paint(QPainter& painter, const QRectF& box, const AppEntry& entry, const QPalette& palette);
    /// The placeholder's character (the name's first, unchanged) when nothing exists at the
    /// entry's path; nothing while it exists.
    static std::optional<QString> placeholderText(const AppEntry& entry);
    /// The application's icon as the platform names it (a theme name or an image file), or a
    /// generic application icon when it names none that can be found.
    static QIcon icon(const AppEntry& entry);
};
