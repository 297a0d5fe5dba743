#pragma once

#include <QString>

#include <cstdint>

/// Which Command keys are held, tracked from modifier changes, and whether a key-down is a
/// hotkey stroke: the right Command key alone, with no other modifier.
struct ModifierState {
    bool leftCommandDown = false;
    bool rightCommandDown = false;

    /// True when this key-down is a hotkey stroke. A key-down without the Command bit means
    /// both Command keys are up, whatever was seen before.
    bool handleKeyDown(std::uint64_t flags);
    /// Applies a modifier change of key code 54 (right) or 55 (left); other codes change nothing.
    void handleFlagsChanged(std::int64_t keyCode, std::uint64_t flags);
    /// Whether the Command key of a modifier change is down after it. The Command bit stays
    /// set while the other Command key is held, so where the flags say which key is held,
    /// that decides.
    static bool commandKeyDown(std::int64_t keyCode, std::uint64_t flags);
    /// Both keys up (after events were missed).
    void reset() { leftCommandDown = rightCommandDown = false; }
    /// "rightCmd=true leftCmd=false", for the log.
    QString commandState() const;

    bool operator==(const ModifierState&) const = default;
};
