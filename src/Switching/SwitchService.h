#pragma once

#include "Inventory/AppTarget.h"
#include "Switching/PresentOutcome.h"

#include <chrono>

/// Brings a running application to the user: picks its best window from a fresh inventory,
/// makes the window's Space current, activates the application and un-minimises the window.
/// The last three steps may each fail on their own; the jump still counts, with what was
/// skipped listed. It never launches anything itself.
namespace SwitchService {

/// The frontmost application is polled this often, at most `activationPolls` times.
inline constexpr std::chrono::milliseconds activationPollInterval{20};
inline constexpr int activationPolls = 35;

/// Blocks the calling thread (the hotkey execution queue) until every step has run.
PresentOutcome present(const AppTarget& target);

} // namespace SwitchService
