#pragma once

#include <atomic>

/// The system's prompt to trust this process, shown at most once per process: the hotkey
/// start and the first jump may both want it.
namespace TrustPrompt {

/// Set the first time the prompt is asked for. Tests may clear it.
extern std::atomic<bool> latch;

/// Asks the platform to show its trust prompt, the first time only.
void requestOnce();

} // namespace TrustPrompt
