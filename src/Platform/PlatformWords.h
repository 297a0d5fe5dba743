#pragma once

#include <QString>

/// The platform's own words for what the window says about the hotkeys.
struct PlatformWords {
    /// The trigger key in running text: "right Command" on macOS, "right Super" on Linux.
    QString triggerKey;
};
