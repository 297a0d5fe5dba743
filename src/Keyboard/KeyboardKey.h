#pragma once

#include <QString>

/// One key of the on-screen keyboard: its unshifted character, the legend printed on the cap,
/// and where the cap sits.
struct KeyboardKey {
    /// The unshifted character, lower case ("q", "1", "`", "\\").
    QString character;
    /// The character upper-cased; digits and punctuation are unchanged.
    QString legend;
    /// 0 to 3 from the top.
    int row = 0;
    /// The left edge in key units from the keyboard's left edge.
    double column = 0;

    /// The key identifier shared with the hotkey path and the bindings file ("1-q").
    QString id() const { return QString::number(row) + QLatin1Char('-') + character; }

    bool operator==(const KeyboardKey&) const = default;
};
