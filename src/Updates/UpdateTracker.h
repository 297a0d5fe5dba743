#pragma once

#include "Updates/UpdateCheckState.h"

/// The update controller's own record of the state: every change is made here first and then
/// published.
struct UpdateTracker {
    UpdateCheckState state;

    bool operator==(const UpdateTracker&) const = default;
};
