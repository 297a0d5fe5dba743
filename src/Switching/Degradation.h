#pragma once

/// A step of a jump that failed while the jump as a whole went ahead.
enum class Degradation {
    /// The window's Space was not made current.
    spaceSwitchSkipped,
    /// The window was minimised and setting it back failed.
    minimizedNotRestored,
    /// The window's process is gone, or it did not come to the front in time.
    activationFailed,
};
