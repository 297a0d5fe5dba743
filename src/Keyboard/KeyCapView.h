#pragma once

#include "Keyboard/AppEntry.h"
#include "Keyboard/KeyboardKey.h"

#include <QPainterPath>
#include <QRectF>

#include <optional>

class QPainter;
class QPalette;

/// One key cap of the on-screen keyboard: its legend, or the bound application's icon with
/// a small legend in the corner; tinted while the pointer is over it, and marked in its top
/// leading corner when the desktop refuses its hotkey.
class KeyCapView {
public:
    /// The cap's rounded outline: what is drawn, and what the pointer hits.
    static QPainterPath outline(const QRectF& cap);
    /// Draws the cap, with its shadow, filling `cap`.
    static void paint(QPainter& painter, const QRectF& cap, const KeyboardKey& key,
                      const std::optional<AppEntry>& entry, bool isHovered, const QPalette& palette,
                      bool isTaken = false);
    /// Where the mark of a taken key is drawn.
    static QRectF takenMark(const QRectF& cap);
};
