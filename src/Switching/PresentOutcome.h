#pragma once

#include "Switching/Degradation.h"

#include <utility>
#include <vector>

/// What bringing a running application forward came to.
struct PresentOutcome {
    enum class Kind {
        /// Every step succeeded.
        presented,
        /// The application has no window in the inventory; nothing was changed.
        noWindow,
        /// A window was chosen and the remaining steps ran; some failed.
        degraded,
    };
    Kind kind = Kind::noWindow;
    /// For `degraded`: never empty, in the order the failures arose.
    std::vector<Degradation> degradations;

    static PresentOutcome presented() { return {Kind::presented, {}}; }
    static PresentOutcome noWindow() { return {Kind::noWindow, {}}; }
    static PresentOutcome degraded(std::vector<Degradation> list) {
        return {Kind::degraded, std::move(list)};
    }

    bool operator==(const PresentOutcome&) const = default;
};
