#pragma once

#include <QColor>
#include <QPalette>

/// The system's semantic colours, taken from the widget's palette so that light and dark
/// themes both read well.
namespace SemanticColors {

/// Body text.
QColor primaryLabel(const QPalette& palette);
/// Less important text: the text colour at half strength.
QColor secondaryLabel(const QPalette& palette);
/// A faint tint of the text colour, for hover and placeholders.
QColor quaternaryLabel(const QPalette& palette);
/// Hairlines between things.
QColor separator(const QPalette& palette);
/// The face of a control, such as a key cap.
QColor controlBackground(const QPalette& palette);
/// The window's own background.
QColor windowBackground(const QPalette& palette);
/// The user's accent colour.
QColor accent(const QPalette& palette);
/// Text of a button that destroys something.
QColor destructive(const QPalette& palette);
/// Whether the palette is a dark theme.
bool isDark(const QPalette& palette);

} // namespace SemanticColors
